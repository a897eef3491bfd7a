#include "results/table_text.h"

#include "results/table_layout.h"

#include <algorithm>

namespace kolmaris {

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

} // namespace

std::string cellsAsTabSeparatedText(const GridModel& grid, int firstRow, int firstCol, int lastRow,
                                    int lastCol,
                                    const std::function<bool(int row, int col)>& included) {
    firstRow = std::max(firstRow, 0);
    firstCol = std::max(firstCol, 0);
    // The free rows below the results hold nothing to copy; results stand without gaps below
    // the header rows.
    lastRow = std::min(
        {lastRow, grid.rows() - 1, std::max(headerRows + standingResults(grid) - 1, firstRow)});
    lastCol = std::min(lastCol, grid.cols() - 1);
    std::string text;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int col = firstCol; col <= lastCol; ++col) {
            if (col > firstCol) {
                text += '\t';
            }
            if (included(row, col)) {
                text += trimmed(grid.cell(row, col));
            }
        }
        text += '\n';
    }
    return text;
}

std::string tableAsTabSeparatedText(const GridModel& grid) {
    return cellsAsTabSeparatedText(grid, 0, 0, grid.rows() - 1, grid.cols() - 1,
                                   [](int, int) { return true; });
}

} // namespace kolmaris
