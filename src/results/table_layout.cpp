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

std::string resultCellText(const ResultValues& values, int number, int col,
                           const NumberFormat& format) {
    const double cells[tableCols] = {static_cast<double>(number),
                                     values.velocity,
                                     values.lossPerMetre,
                                     values.lossTotal,
                                     values.reynolds,
                                     values.lambda};
    if (col < 0 || col >= tableCols) {
        throw GridSelectionRefused("no result column " + std::to_string(col));
    }
    return formatFixed(cells[col], columnDecimals[col], format);
}

std::string resultCount(int count) {
    return std::to_string(count) + (count == 1 ? " Ergebnis" : " Ergebnisse");
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
