#include "results_table.h"

#include <limits>
#include <string>

namespace kolmaris {

namespace {

constexpr int tableCols = 6;
constexpr int initialRows = 4;

// The column the scans look at: its cells are never empty in a used row, because "0.00"
// always yields digits.
constexpr int scanCol = 1;

// First free result row: at most 26 passes, so it stops at row 27 even when the table is full.
constexpr std::int16_t prepareFirstRow = 2;
constexpr std::int16_t preparePassLimit = 26;
// The full-table warning comes when the free row turned up on exactly this pass (25 results).
constexpr std::int16_t fullTablePass = 26;

// Starts at the units row, whose column 1 is never empty, so the row found is a result row.
constexpr std::int16_t writeFirstRow = 1;
constexpr std::int16_t writePassLimit = 100;

// The blanks lead the texts on purpose: they place the headers over the values.
const char* const headerTexts[2][tableCols] = {
    {"        Nr.", "   Geschw.", "     DV/m", "  DV Total", "   Reynold", "    Lamda"},
    {"", "      [m/s]", "   [Pascal]", "   [Pascal]", "        [-]", "        [-]"},
};

void writeHeaderRows(GridModel& grid) {
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < tableCols; ++col) {
            grid.setRow(row);
            grid.setCol(col);
            grid.setText(headerTexts[row][col]);
        }
    }
}

// Walks down column 1 from `row` until an exactly empty cell, for at most `passLimit` passes.
// Leaves row and pass where the scan stopped.
void scanForFreeRow(GridModel& grid, std::int16_t& row, std::int16_t& pass,
                    std::int16_t passLimit) {
    while (pass <= passLimit) {
        grid.setCol(scanCol);
        grid.setRow(row);
        if (grid.text().empty()) {
            return;
        }
        row = checkedAdd(row, 1);
        pass = checkedAdd(pass, 1);
    }
}

} // namespace

std::int16_t checkedAdd(std::int16_t a, std::int16_t b) {
    const int sum = int{a} + int{b};
    if (sum < std::numeric_limits<std::int16_t>::min() ||
        sum > std::numeric_limits<std::int16_t>::max()) {
        throw CounterOverflow("counter overflow: " + std::to_string(a) + " + " + std::to_string(b));
    }
    return static_cast<std::int16_t>(sum);
}

void initResultsTable(GridModel& grid) {
    grid.setRows(initialRows);
    grid.setCols(tableCols);
    writeHeaderRows(grid);
}

void prepareResultsTable(GridModel& grid, MessageSink& messages) {
    std::int16_t row = prepareFirstRow;
    std::int16_t pass = 1;
    scanForFreeRow(grid, row, pass, preparePassLimit);
    if (pass == fullTablePass) {
        messages.showMessage(std::string("Tabelle ist voll!") + crlf +
                                 "Bitte in Excel abspeichern," + crlf + "oder Programm neu starten",
                             InformationStyle, "Information");
    }
    grid.setRows(checkedAdd(row, 2));
    grid.setCols(tableCols);
    writeHeaderRows(grid);
}

void writeResultRow(GridModel& grid, const CalculationRecord& record, const NumberFormat& format) {
    std::int16_t row = writeFirstRow;
    std::int16_t pass = 1;
    scanForFreeRow(grid, row, pass, writePassLimit);

    grid.setCol(0);
    grid.setRow(row);
    grid.setText(formatFixed(checkedAdd(row, -1), 0, format));
    grid.setCol(1);
    grid.setText(formatFixed(record.velocity, 2, format));
    grid.setCol(2);
    grid.setText(formatFixed(record.lossPerMetre, 2, format));
    grid.setCol(3);
    grid.setText(formatFixed(record.lossTotal, 2, format));
    grid.setCol(4);
    grid.setText(formatFixed(record.reynolds, 0, format));
    grid.setCol(5);
    grid.setText(formatFixed(record.lambda, 5, format));
}

} // namespace kolmaris
