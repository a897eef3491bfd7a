// The report onto paper and into PDF files.
#include "app/report/report.h"

#include "app/report/report_content.h"
#include "app/window/identity.h"
#include "exchange/file_replacement.h"
#include "exchange/workbook.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace kolmaris {

namespace {

using namespace exchange_detail;

const QString title = QStringLiteral("Druckverlustberechnung");

QString creator() {
    return QString::fromUtf8(identity::applicationName) + QLatin1Char(' ') +
           QString::fromUtf8(identity::applicationVersion);
}

// The workbook's way of putting a finished file in place, with the report's headline.
void writeReportFile(const std::string& path, const QByteArray& bytes) {
    try {
        replaceFile(path, [&bytes](const std::string& temporary) {
            writeBytes(temporary, bytes.constData(), static_cast<std::size_t>(bytes.size()));
        });
    } catch (const WorkbookError& error) {
        std::string message = error.what();
        const std::string headline = saveHeadline;
        if (message.compare(0, headline.size(), headline) == 0) {
            message.replace(0, headline.size(), reportSaveHeadline);
        }
        throw ReportError(message);
    }
}

} // namespace

NumberFormat reportNumberFormat(const QLocale& locale) {
    const QString point = locale.decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() < 0x80) {
        return NumberFormat{static_cast<char>(point.at(0).unicode())};
    }
    return NumberFormat{'.'};
}

void paintReport(QPagedPaintDevice& device, const GridModel& table,
                 const std::vector<ResultValues>& results, const ReportContext& context,
                 int firstPage, int lastPage) {
    const auto content = report_detail::contentOf(table, results, context);
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 15, 15, 12), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) {
        throw ReportError("Die Seiten lassen sich nicht anlegen.");
    }
    report_detail::paintContent(device, painter, content, context.locale, firstPage, lastPage);
    if (!painter.end()) {
        throw ReportError("Die Seiten lassen sich nicht fertigstellen.");
    }
}

QByteArray reportPdf(const GridModel& table, const std::vector<ResultValues>& results,
                     const ReportContext& context) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(creator());
        paintReport(writer, table, results, context);
    }
    return buffer.data();
}

void saveReportPdf(const std::string& path, const GridModel& table,
                   const std::vector<ResultValues>& results, const ReportContext& context) {
    QByteArray bytes;
    try {
        bytes = reportPdf(table, results, context);
    } catch (const ReportError& error) {
        throw ReportError(reportSaveHeadline + std::string(crlf) + error.what());
    }
    writeReportFile(path, bytes);
}

void printReport(QPrinter& printer, const GridModel& table,
                 const std::vector<ResultValues>& results, const ReportContext& context) {
    printer.setDocName(title);
    printer.setCreator(creator());
    const bool range = printer.printRange() == QPrinter::PageRange;
    try {
        paintReport(printer, table, results, context, range ? printer.fromPage() : 0,
                    range ? printer.toPage() : 0);
    } catch (const ReportError& error) {
        throw ReportError("Der Bericht kann nicht gedruckt werden." + std::string(crlf) +
                          error.what());
    }
}

} // namespace kolmaris
