#pragma once

#include "calc/errors.h"
#include "results/grid_model.h"
#include "results/number_format.h"
#include "results/result_row.h"
#include "results/table_layout.h"

#include <string>
#include <utility>
#include <vector>

namespace kolmaris {

// A workbook could not be written or read, or its results do not fit. what() is a German
// message for the user, its lines joined by CR LF; kind() tells the cases apart.
class WorkbookError : public KolmarisError {
public:
    enum class Kind {
        CannotWrite,    // the file system refused the workbook; an older file is unchanged
        TableUnusable,  // the table holds something that is not a result in its own format
        CannotOpen,     // the file to read is missing, unreadable or not a regular file
        Damaged,        // not a workbook, or a broken or oversized one
        ForeignLayout,  // a workbook, but not a results table
        TooManyResults, // more results than the table can still take
    };
    WorkbookError(Kind kind, const std::string& message) : KolmarisError(message), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

// The first line of every message about a workbook that was not saved.
inline const char* const workbookSaveHeadline = "Die Tabelle kann nicht gespeichert werden.";

// Writes the results, numbered 1 to n in their order, to an .xlsx workbook at `path`: the title
// and units rows as text, every result as numbers formatted "0", "0.00" and "0.00000" with the
// values the table shows for them; from column H on each result's inputs as exact numbers and
// texts, and its notes with `format`'s separator. The workbook is written next to the target
// under a temporary name and renamed over it only when complete, so a failure leaves an older
// file as it was. Throws WorkbookError (CannotWrite, TableUnusable for a value that is no
// number or more results than the table holds).
void writeResultsWorkbook(const std::vector<ResultValues>& results, const NumberFormat& format,
                          const std::string& path);

// A sheet row the reader did not take, or took without its inputs.
struct LeftOutRow {
    enum class Reason {
        NoResultNumber, // a sum or a remark: column A holds no result number
        Inputs,         // the result was read, its inputs were incomplete or unknown
        Fittings,       // the result was read, its fittings' text did not read
        Mismatch,       // the result was read, its inputs give other values or none
    };
    LeftOutRow() = default;
    LeftOutRow(int row, Reason reason, std::string detail = {})
        : row(row), reason(reason), detail(std::move(detail)) {}

    int row = 0; // as the spreadsheet numbers it, from 1
    Reason reason = Reason::NoResultNumber;
    // For Inputs: which cells, and why ("J5 leer", "L5 unbekannt"); for Fittings: why, in German.
    std::string detail;

    bool operator==(const LeftOutRow& other) const {
        return row == other.row && reason == other.reason && detail == other.detail;
    }
};

// The results of a workbook in sheet order, and what of the sheet was left out.
struct WorkbookResults {
    std::vector<ResultValues> results;
    std::vector<LeftOutRow> leftOut; // in sheet order
};

// Reads the result rows of a workbook in the table's layout: one written by
// writeResultsWorkbook or saved again by a spreadsheet, with their inputs where the workbook
// has them and they give the values read once more (then the row is what they give, see
// confirmedByInputs). Columns the table does not know, such as a user's remarks, are ignored;
// rows that hold no result (a sum), and inputs that are no longer whole or do not agree with
// their values, are left out and listed. Throws
// WorkbookError (CannotOpen, Damaged, ForeignLayout, TooManyResults when it holds more than
// maxResults).
WorkbookResults readResultsWorkbook(const std::string& path);

// The same for a workbook already in memory.
WorkbookResults readResultsWorkbookBytes(const std::string& bytes);

// What the user is told of a workbook that holds no result rows.
inline const char* const noResultsText = "Die Datei enthält keine Ergebnisse.";

// What was left out, in German for the user, its lines joined by CR LF and only the first few
// rows named; empty when nothing was.
std::string leftOutText(const std::vector<LeftOutRow>& leftOut);

} // namespace kolmaris
