#include "results/results_table.h"

#include "results/table_layout.h"

#include <limits>
#include <string>

namespace kolmaris {

namespace {

constexpr int initialRows = 4;

// First free result row: the scan stops two rows short of the last result row, so the grid,
// sized two rows past where it stopped, never has room for more than maxResults results.
constexpr std::int16_t prepareFirstRow = headerRows;
constexpr std::int16_t preparePassLimit = maxResults - 2;
// The full-table warning comes when the free row turned up on the last pass: three results
// short of the most the table holds.
constexpr std::int16_t fullTablePass = preparePassLimit;

// Starts at the units row, whose column 1 is never empty, so the row found is a result row.
constexpr std::int16_t writeFirstRow = 1;
constexpr std::int16_t writePassLimit = 100;

void writeHeaderRows(GridModel& grid) {
    for (int row = 0; row < headerRows; ++row) {
        for (int col = 0; col < tableCols; ++col) {
            grid.setRow(row);
            grid.setCol(col);
            grid.setText(headerText(row, col));
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

int writeResultRow(GridModel& grid, const ResultValues& values, const NumberFormat& format) {
    std::int16_t row = writeFirstRow;
    std::int16_t pass = 1;
    scanForFreeRow(grid, row, pass, writePassLimit);

    const std::int16_t number = checkedAdd(row, -1);
    grid.setCol(0);
    grid.setRow(row);
    grid.setText(resultCellText(values, number, 0, format));
    for (int col = 1; col < tableCols; ++col) {
        grid.setCol(col);
        grid.setText(resultCellText(values, number, col, format));
    }
    return number;
}

} // namespace kolmaris
