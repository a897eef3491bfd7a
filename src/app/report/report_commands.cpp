#include "app/report/report_commands.h"

#include "app/platform/file_dialogs.h"
#include "app/report/report.h"

#include <QAction>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QWidget>

#include <memory>

namespace kolmaris {

namespace {

ReportContext contextOf(const ReportSource& source) {
    return {source.numbers, QDateTime::currentDateTime()};
}

void saveCommand(QWidget& parent, MessageSink& messages, FileDialogs& files,
                 const ReportSource& source) {
    const QString path = files.reportFileName(&parent, QStringLiteral("Kolmaris-Bericht.pdf"));
    if (path.isEmpty()) {
        return;
    }
    try {
        saveReportPdf(QFile::encodeName(path).toStdString(), source.results(), contextOf(source));
    } catch (const ReportError& error) {
        messages.showMessage(error.what(), WarningStyle, "Fehler");
    }
}

// Qt's print dialog: the printers there are, and always printing into a PDF file.
void printCommand(QWidget& parent, MessageSink& messages, const ReportSource& source) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("Druckverlustberechnung"));
    // The range the dialog offers is the report's own pages.
    const ReportContext context = contextOf(source);
    const std::vector<ResultValues> results = source.results();
    const int pages = reportPageCount(printer, results, context);
    QPrintDialog dialog(&printer, &parent);
    dialog.setWindowTitle(QStringLiteral("Bericht drucken"));
    dialog.setMinMax(1, pages);
    printer.setFromTo(1, pages);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    try {
        printReport(printer, results, context);
    } catch (const ReportError& error) {
        messages.showMessage(error.what(), WarningStyle, "Fehler");
    }
}

} // namespace

void addReportActions(QWidget& grid, MessageSink& messages, FileDialogs& files,
                      ReportSource source) {
    auto shared = std::make_shared<ReportSource>(std::move(source));
    auto* separator = new QAction(&grid);
    separator->setSeparator(true);
    auto* save = new QAction(QStringLiteral("Als PDF speichern…"), &grid);
    save->setObjectName(QStringLiteral("saveReport"));
    QObject::connect(save, &QAction::triggered, &grid, [&grid, &messages, &files, shared] {
        saveCommand(grid, messages, files, *shared);
    });
    auto* print = new QAction(QStringLiteral("Drucken…"), &grid);
    print->setObjectName(QStringLiteral("printReport"));
    QObject::connect(print, &QAction::triggered, &grid,
                     [&grid, &messages, shared] { printCommand(grid, messages, *shared); });
    grid.addActions({separator, save, print});
}

} // namespace kolmaris
