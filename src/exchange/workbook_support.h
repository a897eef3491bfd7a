#pragma once

#include "exchange/workbook.h"
#include "results/table_layout.h"

#include <string>
#include <vector>

// What the workbook reader and writer share beyond the table's own layout.
namespace kolmaris::exchange_detail {

// Columns H onward of the results sheet: what each result was calculated from. Column G
// stays empty between the table and them.
enum InputColumn { Diameter, FlowRate, Length, Temperature, MediumName, MaterialName, Notes };
inline constexpr int inputCols = 7;
inline constexpr int firstInputCol = tableCols + 1;
// The columns the reader looks at; any further ones are the user's.
inline constexpr int sheetCols = firstInputCol + inputCols;
// The four inputs are numbers, the rest texts.
inline constexpr int numericInputs = 4;

// The title and unit of an input column, in the table's two-row style.
const char* inputHeaderText(int row, int inputCol);

// "C5" for row index 4, column index 2.
std::string cellName(int row, int col);

[[noreturn]] void fail(WorkbookError::Kind kind, const std::string& headline,
                       const std::string& reason);

} // namespace kolmaris::exchange_detail
