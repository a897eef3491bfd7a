// The report onto paper and into PDF files.
#include "app/report/report.h"

#include "app/identity.h"
#include "app/report/report_content.h"
#include "files/file_replacement.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

namespace kolmaris {

namespace {

const QString title = QStringLiteral("Druckverlustberechnung");

QString creator() {
    return QString::fromUtf8(identity::applicationName) + QLatin1Char(' ') +
           QString::fromUtf8(identity::applicationVersion);
}

// Put in place as every file of the program is, under the report's headline.
void writeReportFile(const std::string& path, const QByteArray& bytes) {
    try {
        replaceFileWith(path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    } catch (const FileError& error) {
        throw ReportError(reportSaveHeadline + std::string(crlf) + error.what());
    }
}

// A4 portrait with the report's margins, on whatever device.
void setReportLayout(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 15, 15, 12), QPageLayout::Millimeter));
}

} // namespace

int reportPageCount(QPagedPaintDevice& device, const std::vector<ResultValues>& results,
                    const ReportContext& context) {
    setReportLayout(device);
    return report_detail::pageCount(device, report_detail::contentOf(results, context),
                                    context.numbers.locale);
}

void paintReport(QPagedPaintDevice& device, const std::vector<ResultValues>& results,
                 const ReportContext& context, int firstPage, int lastPage) {
    const auto content = report_detail::contentOf(results, context);
    setReportLayout(device);
    QPainter painter;
    if (!painter.begin(&device)) {
        throw ReportError("Die Seiten lassen sich nicht anlegen.");
    }
    report_detail::paintContent(device, painter, content, context.numbers.locale, firstPage,
                                lastPage);
    if (!painter.end()) {
        throw ReportError("Die Seiten lassen sich nicht fertigstellen.");
    }
}

QByteArray reportPdf(const std::vector<ResultValues>& results, const ReportContext& context) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(title);
        writer.setCreator(creator());
        paintReport(writer, results, context);
    }
    return buffer.data();
}

void saveReportPdf(const std::string& path, const std::vector<ResultValues>& results,
                   const ReportContext& context) {
    QByteArray bytes;
    try {
        bytes = reportPdf(results, context);
    } catch (const ReportError& error) {
        throw ReportError(reportSaveHeadline + std::string(crlf) + error.what());
    }
    writeReportFile(path, bytes);
}

void printReport(QPrinter& printer, const std::vector<ResultValues>& results,
                 const ReportContext& context) {
    printer.setDocName(title);
    printer.setCreator(creator());
    const bool range = printer.printRange() == QPrinter::PageRange;
    try {
        paintReport(printer, results, context, range ? printer.fromPage() : 0,
                    range ? printer.toPage() : 0);
    } catch (const ReportError& error) {
        throw ReportError("Der Bericht kann nicht gedruckt werden." + std::string(crlf) +
                          error.what());
    }
}

} // namespace kolmaris
