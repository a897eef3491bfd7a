#include "results/grid_model.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace kolmaris {
namespace {

// Logs each notification with the shape the model shows at that moment.
struct LoggingObserver : GridObserver {
    explicit LoggingObserver(const GridModel& model) : model(model) {}
    void gridShapeAboutToChange(int newRows, int newCols) override {
        log.push_back("about " + shape() + " to " + std::to_string(newRows) + "x" +
                      std::to_string(newCols));
    }
    void gridShapeChanged() override { log.push_back("changed " + shape()); }
    void gridCellChanged(int row, int col) override {
        log.push_back("cell " + model.cell(row, col));
    }
    void gridCurrentCellChanged(int row, int col) override {
        log.push_back("current " + std::to_string(row) + "," + std::to_string(col));
    }
    std::string shape() const {
        return std::to_string(model.rows()) + "x" + std::to_string(model.cols());
    }
    const GridModel& model;
    std::vector<std::string> log;
};

TEST(GridModel, GrowingKeepsCellsAndShrinkingDropsThem) {
    GridModel grid; // 2x2, current cell (1, 1)
    grid.setText("kept");
    grid.setRows(5);
    grid.setCols(4);
    grid.setRow(4);
    grid.setText("cut");
    grid.setRows(3);
    EXPECT_EQ(grid.row(), 2) << "the current cell must stay inside";
    grid.setRows(5);
    EXPECT_EQ(grid.cell(1, 1), "kept");
    EXPECT_EQ(grid.cell(4, 1), "") << "a cut-off cell must not come back";
    EXPECT_THROW(grid.setRows(-1), GridShapeRefused);
}

TEST(GridModel, ReportsEachRealChangeWithTheShapeAViewNeeds) {
    GridModel grid;
    LoggingObserver observer(grid);
    grid.setObserver(&observer);
    grid.setRows(4);
    grid.setRows(4);
    grid.setRow(3);
    grid.setText("x");
    grid.setText("x");
    grid.setCols(1);
    const std::vector<std::string> expected = {
        "about 2x2 to 4x2", "changed 4x2", "current 3,1", "cell x",
        "about 4x2 to 4x1", "changed 4x1", "current 3,0",
    };
    EXPECT_EQ(observer.log, expected);
}

class RefusedSelection : public testing::TestWithParam<std::pair<bool, int>> {};

TEST_P(RefusedSelection, ThrowsAndChangesNothing) {
    GridModel grid; // 2x2, current cell (1, 1)
    grid.setText("kept");
    LoggingObserver observer(grid);
    grid.setObserver(&observer);
    const auto [isRow, index] = GetParam();
    EXPECT_THROW(isRow ? grid.setRow(index) : grid.setCol(index), GridSelectionRefused);
    EXPECT_EQ(observer.shape(), "2x2");
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.col(), 1);
    EXPECT_EQ(grid.text(), "kept");
    EXPECT_TRUE(observer.log.empty());
}

std::string selectionName(const testing::TestParamInfo<RefusedSelection::ParamType>& info) {
    const auto [isRow, index] = info.param;
    return std::string(isRow ? "Row" : "Column") + (index < 0 ? "Minus" : "") +
           std::to_string(std::abs(index));
}

INSTANTIATE_TEST_SUITE_P(OutsideTheGrid, RefusedSelection,
                         testing::Values(std::pair{true, -1}, std::pair{true, 2},
                                         std::pair{false, -1}, std::pair{false, 2}),
                         selectionName);

} // namespace
} // namespace kolmaris
