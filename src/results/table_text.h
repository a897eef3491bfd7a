#pragma once

#include "results/grid_model.h"

#include <functional>
#include <string>

namespace kolmaris {

// The cells of a rectangle of the grid as tab-separated lines, the form a spreadsheet pastes
// into cells. `included` says which cells of the rectangle to take; the others stay empty, so
// every line has the same number of fields. The free rows below the results are left out, unless
// the rectangle starts there. Blanks around a text are dropped: they only place
// the texts on screen and would keep a spreadsheet from reading a number.
std::string cellsAsTabSeparatedText(const GridModel& grid, int firstRow, int firstCol, int lastRow,
                                    int lastCol,
                                    const std::function<bool(int row, int col)>& included);

// The whole table, header rows included, without the empty rows below the last result.
std::string tableAsTabSeparatedText(const GridModel& grid);

} // namespace kolmaris
