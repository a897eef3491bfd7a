#pragma once

#include "calc/errors.h"
#include "results/grid_model.h"
#include "results/number_format.h"
#include "results/result_row.h"
#include "results/table_layout.h"

#include <string>
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

// Writes the table as it stands to an .xlsx workbook at `path`: the title and units rows as
// text, every result row as numbers formatted "0", "0.00" and "0.00000", with the values the
// table shows (its texts read with `format`'s separator); from column H on each result's
// inputs as exact numbers and texts, and its notes. The workbook is written next to the
// target under a temporary name and renamed over it only when complete, so a failure leaves an
// older file as it was. Throws WorkbookError (CannotWrite, TableUnusable); the table is only
// read.
void writeResultsWorkbook(const GridModel& table, const ResultOrigins& origins,
                          const NumberFormat& format, const std::string& path);

// Reads the result rows, in sheet order, of a workbook in the table's layout: one written by
// writeResultsWorkbook or saved again by a spreadsheet, with their inputs where the workbook
// has them. Columns the table does not know, such as a user's remarks, are ignored. Throws
// WorkbookError (CannotOpen, Damaged, ForeignLayout, TooManyResults when it holds more than
// maxResults).
std::vector<ResultValues> readResultsWorkbook(const std::string& path);

// The same for a workbook already in memory.
std::vector<ResultValues> readResultsWorkbookBytes(const std::string& bytes);

} // namespace kolmaris
