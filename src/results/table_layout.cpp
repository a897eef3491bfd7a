#include "results/table_layout.h"

namespace kolmaris {

namespace {

// The blanks lead the texts on purpose: they place the headers over the values.
const char* const headerTexts[headerRows][tableCols] = {
    {"        Nr.", "   Geschw.", "     DV/m", "  DV Total", "   Reynold", "    Lamda"},
    {"", "      [m/s]", "   [Pascal]", "   [Pascal]", "        [-]", "        [-]"},
};

} // namespace

const char* headerText(int row, int col) {
    if (row < 0 || row >= headerRows || col < 0 || col >= tableCols) {
        throw GridSelectionRefused("no header cell at " + std::to_string(row) + ", " +
                                   std::to_string(col));
    }
    return headerTexts[row][col];
}

bool isSetUp(const GridModel& table) {
    return table.cols() == tableCols && table.rows() >= headerRows;
}

int standingResults(const GridModel& table) {
    if (table.cols() <= scanCol) {
        return 0;
    }
    int row = headerRows;
    while (row < table.rows() && !table.cell(row, scanCol).empty()) {
        ++row;
    }
    return row - headerRows;
}

} // namespace kolmaris
