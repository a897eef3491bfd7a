#include "grid_cells.h"
#include "number_formats.h"
#include "recording_sink.h"
#include "results/results_table.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kolmaris {
namespace {

using test_support::RecordingSink;

using test_support::Cells;
using test_support::cellsOf;
using test_support::german;

// Distinct values per result, so that a row written twice or into the wrong place shows.
ResultValues recordFor(int k) {
    ResultValues record;
    record.velocity = k + 0.25;
    record.lossPerMetre = 10.0 * k;
    record.lossTotal = 100.0 * k + 0.5;
    record.reynolds = 1000.0 * k;
    record.lambda = 0.00001 * k;
    return record;
}

std::vector<std::string> expectedRow(int k) {
    const std::string n = std::to_string(k);
    return {n, n + ",25", n + "0,00", n + "00,50", n + "000", (k < 10 ? "0,0000" : "0,000") + n};
}

class ResultsTable : public testing::Test {
protected:
    void SetUp() override { initResultsTable(grid); }

    // n runs of "Berechnen" that complete.
    void standResults(int n) {
        for (int k = 1; k <= n; ++k) {
            prepareResultsTable(grid, sink);
            writeResultRow(grid, recordFor(k), german);
        }
        sink.messages.clear();
    }

    GridModel grid;
    RecordingSink sink;
};

TEST_F(ResultsTable, StartsWithTheExactHeaderRowsAndTwoEmptyRows) {
    const Cells expected = {
        {"        Nr.", "   Geschw.", "     DV/m", "  DV Total", "   Reynold", "    Lamda"},
        {"", "      [m/s]", "   [Pascal]", "   [Pascal]", "        [-]", "        [-]"},
        {"", "", "", "", "", ""},
        {"", "", "", "", "", ""},
    };
    EXPECT_EQ(cellsOf(grid), expected);
}

TEST_F(ResultsTable, FullTableMessageIsExact) {
    standResults(25);
    prepareResultsTable(grid, sink);
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].prompt,
              "Tabelle ist voll!\r\nBitte in Excel abspeichern,\r\noder Programm neu starten");
    EXPECT_EQ(sink.messages[0].style, 64);
    EXPECT_EQ(sink.messages[0].title, "Information");
    prepareResultsTable(grid, sink); // an early-ended run prepares twice: the message comes twice
    EXPECT_EQ(sink.messages.size(), 2u);
}

TEST_F(ResultsTable, WritesTheFormattedValuesUnderEitherSeparator) {
    ResultValues record;
    record.velocity = 1.2345;
    record.lossPerMetre = -0.004;
    record.lossTotal = 1234.5678;
    record.reynolds = 15432.7;
    record.lambda = 0.0234567;
    prepareResultsTable(grid, sink);
    writeResultRow(grid, record, german);
    prepareResultsTable(grid, sink);
    writeResultRow(grid, record, NumberFormat{'.'});
    const Cells cells = cellsOf(grid);
    EXPECT_EQ(cells[2],
              (std::vector<std::string>{"1", "1,23", "-0,00", "1234,57", "15433", "0,02346"}));
    EXPECT_EQ(cells[3],
              (std::vector<std::string>{"2", "1.23", "-0.00", "1234.57", "15433", "0.02346"}));
}

TEST_F(ResultsTable, ARowOfBlanksCountsAsUsed) {
    grid.setRow(2);
    grid.setCol(1);
    grid.setText(" ");
    prepareResultsTable(grid, sink);
    EXPECT_EQ(grid.rows(), 5);
    writeResultRow(grid, recordFor(2), german);
    EXPECT_EQ(grid.cell(3, 0), "2");
    EXPECT_EQ(grid.cell(2, 1), " ");
}

// Each step of the accumulation: n results stand, then one "Berechnen" completes.
struct Accumulation {
    int standing;
    bool message;
    int rowsSet;    // two past the free row found, as long as one is found
    int rowWritten; // 0: the write is refused
};

class AccumulatingResults : public ResultsTable,
                            public testing::WithParamInterface<Accumulation> {};

TEST_P(AccumulatingResults, FindsRowShowsMessageSizesAndWrites) {
    const Accumulation a = GetParam();
    standResults(a.standing);
    const Cells before = cellsOf(grid);

    prepareResultsTable(grid, sink);
    EXPECT_EQ(sink.messages.size(), a.message ? 1u : 0u);
    EXPECT_EQ(grid.rows(), a.rowsSet);
    const Cells prepared = cellsOf(grid);
    Cells kept = prepared;
    kept.resize(before.size());
    EXPECT_EQ(kept, before) << "preparing must leave every result and header as it was";

    if (a.rowWritten == 0) {
        EXPECT_THROW(writeResultRow(grid, recordFor(a.standing + 1), german), GridSelectionRefused);
        EXPECT_EQ(cellsOf(grid), prepared);
        return;
    }
    writeResultRow(grid, recordFor(a.standing + 1), german);
    Cells expected = prepared;
    expected[a.rowWritten] = expectedRow(a.standing + 1);
    EXPECT_EQ(cellsOf(grid), expected);
}

std::vector<Accumulation> accumulationTable() {
    std::vector<Accumulation> table;
    for (int n = 0; n <= 24; ++n) {
        table.push_back({n, false, n + 4, n + 2});
    }
    table.push_back({25, true, 29, 27});
    table.push_back({26, false, 30, 28});
    table.push_back({27, false, 30, 29});
    table.push_back({28, false, 30, 0});
    return table;
}

INSTANTIATE_TEST_SUITE_P(ZeroTo28Standing, AccumulatingResults,
                         testing::ValuesIn(accumulationTable()),
                         [](const testing::TestParamInfo<Accumulation>& info) {
                             return "standing" + std::to_string(info.param.standing);
                         });

// A view that copies cells only when told, as a real one does: if a notification is missing
// or comes with the wrong shape, the copy drifts away from the model.
struct MirrorView : GridObserver {
    explicit MirrorView(const GridModel& model) : model(model), cells(cellsOf(model)) {}
    void gridShapeAboutToChange(int newRows, int newCols) override {
        EXPECT_EQ(model.rows(), static_cast<int>(cells.size()));
        newRows_ = newRows;
        newCols_ = newCols;
    }
    void gridShapeChanged() override {
        cells.resize(newRows_);
        for (auto& row : cells) {
            row.resize(newCols_);
        }
    }
    void gridCellChanged(int row, int col) override { cells[row][col] = model.cell(row, col); }

    const GridModel& model;
    Cells cells;
    int newRows_ = 0;
    int newCols_ = 0;
};

TEST(ResultsTableView, FollowsTheModelThroughAFullTable) {
    GridModel grid;
    MirrorView view(grid);
    grid.setObserver(&view);
    RecordingSink sink;
    initResultsTable(grid);
    for (int k = 1; k <= 28; ++k) {
        prepareResultsTable(grid, sink);
        writeResultRow(grid, recordFor(k), german);
        ASSERT_EQ(view.cells, cellsOf(grid)) << "after result " << k;
    }
    EXPECT_THROW(writeResultRow(grid, recordFor(29), german), GridSelectionRefused);
    EXPECT_EQ(view.cells, cellsOf(grid));
}

TEST(CheckedAdd, RefusesToLeaveTheSixteenBitRange) {
    EXPECT_EQ(checkedAdd(32766, 1), 32767);
    EXPECT_EQ(checkedAdd(-32767, -1), -32768);
    EXPECT_THROW(checkedAdd(32767, 1), CounterOverflow);
    EXPECT_THROW(checkedAdd(-32768, -1), CounterOverflow);
}

} // namespace
} // namespace kolmaris
