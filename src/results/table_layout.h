#pragma once

#include "results/grid_model.h"
#include "results/number_format.h"
#include "results/result_row.h"

#include <string>

namespace kolmaris {

// The results table's shape in one place: the table itself, the grid widget, the workbooks and
// the tests all take it from here.

inline constexpr int tableCols = 6;
inline constexpr int headerRows = 2;
// The most results the table holds, in the rows below the header rows.
inline constexpr int maxResults = 28;

// Decimals of each column's number pattern: "0", "0.00" three times, "0", "0.00000".
inline constexpr int columnDecimals[tableCols] = {0, 2, 2, 2, 0, 5};

// The column whose empty text marks a free row: "0.00" always yields digits in a used one.
inline constexpr int scanCol = 1;

// A header cell as the table writes it, leading blanks included (row 0 titles, row 1 units).
const char* headerText(int row, int col);

// The text a result row shows in column `col`: its number (column 0) or one of its values, with
// the column's pattern. The grid, the announcement and the report all show these texts.
std::string resultCellText(const ResultValues& values, int number, int col,
                           const NumberFormat& format);

// "1 Ergebnis", "3 Ergebnisse".
std::string resultCount(int count);

// The results standing: the rows from 2 on, up to the first one whose column-1 text is empty.
int standingResults(const GridModel& table);

} // namespace kolmaris
