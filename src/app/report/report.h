#pragma once

#include "app/platform/number_text.h"
#include "calc/errors.h"
#include "results/result_row.h"

#include <QByteArray>
#include <QDateTime>

#include <string>
#include <vector>

class QPagedPaintDevice;
class QPrinter;

namespace kolmaris {

// The report could not be made, saved or printed. what() is a German message for the user,
// its lines joined by CR LF.
class ReportError : public KolmarisError {
public:
    using KolmarisError::KolmarisError;
};

// The first line of every message about a report that was not saved.
inline const char* const reportSaveHeadline = "Der Bericht kann nicht gespeichert werden.";

// What the report takes besides the results: the user's number settings (the table's texts,
// the chart's labels and every number the report writes itself) and the moment it was made.
struct ReportContext {
    NumberSettings numbers;
    QDateTime createdAt;
};

// The report of the table on A4 portrait pages, from the standing results in table order with
// their origins (`results`): the results table with exactly the texts the grid shows for them,
// header rows included. The same pages whatever the device.
//
// Paints onto a fresh device, pages `firstPage` to `lastPage` (counted from 1; 0 for all).
// Throws ReportError when the device takes no painting.
void paintReport(QPagedPaintDevice& device, const std::vector<ResultValues>& results,
                 const ReportContext& context, int firstPage = 0, int lastPage = 0);

// How many pages paintReport paints on `device` for all of them; the device's page layout
// is set as for painting.
int reportPageCount(QPagedPaintDevice& device, const std::vector<ResultValues>& results,
                    const ReportContext& context);

// The report as a PDF with title and creator set and its fonts embedded.
QByteArray reportPdf(const std::vector<ResultValues>& results, const ReportContext& context);

// Writes reportPdf to `path` under a temporary name and renames it over the target only when
// complete, as workbooks are written; a failure leaves an older file as it was and no
// temporary file behind. Throws ReportError.
void saveReportPdf(const std::string& path, const std::vector<ResultValues>& results,
                   const ReportContext& context);

// Prints the report on `printer` as A4 portrait, in the page range the print dialog chose.
// Throws ReportError.
void printReport(QPrinter& printer, const std::vector<ResultValues>& results,
                 const ReportContext& context);

} // namespace kolmaris
