#pragma once

#include "grid_model.h"
#include "workbook.h"

#include <string>
#include <vector>

// What the workbook code needs to know about the results table, in one place.
namespace kolmaris::exchange_detail {

inline constexpr int tableCols = 6;
inline constexpr int headerRows = 2;

// Decimals of each column's number pattern: "0", "0.00" three times, "0", "0.00000".
inline constexpr int columnDecimals[tableCols] = {0, 2, 2, 2, 0, 5};

// A header cell as the table itself writes it, leading blanks included.
const std::string& headerText(int row, int col);

// Whether the grid has the table's columns and header rows at all.
bool isSetUp(const GridModel& table);

// The results standing: the rows from 2 on, up to the first one whose column-1 text is empty.
int standingResults(const GridModel& table);

// "C5" for row index 4, column index 2.
std::string cellName(int row, int col);

// "1 Ergebnis", "3 Ergebnisse".
std::string resultCount(int count);

// The reader's second half on its own: the results of a sheet part and its shared-strings part
// (empty when there is none), for fuzzing the XML without a zip around it.
std::vector<ResultValues> readResultsSheet(const std::string& sheet,
                                           const std::string& sharedStrings);

[[noreturn]] void fail(WorkbookError::Kind kind, const std::string& headline,
                       const std::string& reason);

} // namespace kolmaris::exchange_detail
