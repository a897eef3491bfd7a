#include "table_layout.h"

#include "message_sink.h"
#include "results_table.h"

#include <array>

namespace kolmaris::exchange_detail {

const std::string& headerText(int row, int col) {
    // Taken from a freshly set-up table, so the texts cannot drift from what the table shows.
    static const std::array<std::array<std::string, tableCols>, headerRows> texts = [] {
        GridModel grid;
        initResultsTable(grid);
        std::array<std::array<std::string, tableCols>, headerRows> out;
        for (int r = 0; r < headerRows; ++r) {
            for (int c = 0; c < tableCols; ++c) {
                out[r][c] = grid.cell(r, c);
            }
        }
        return out;
    }();
    return texts.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(col));
}

bool isSetUp(const GridModel& table) {
    return table.cols() == tableCols && table.rows() >= headerRows;
}

int standingResults(const GridModel& table) {
    int row = headerRows;
    while (row < table.rows() && !table.cell(row, 1).empty()) {
        ++row;
    }
    return row - headerRows;
}

std::string cellName(int row, int col) {
    std::string letters;
    for (int n = col + 1; n > 0; n = (n - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return letters + std::to_string(row + 1);
}

std::string resultCount(int count) {
    return std::to_string(count) + (count == 1 ? " Ergebnis" : " Ergebnisse");
}

void fail(WorkbookError::Kind kind, const std::string& headline, const std::string& reason) {
    throw WorkbookError(kind, headline + crlf + reason);
}

} // namespace kolmaris::exchange_detail
