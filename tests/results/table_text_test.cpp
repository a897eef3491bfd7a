#include "results/results_table.h"
#include "results/table_text.h"

#include <gtest/gtest.h>

namespace kolmaris {
namespace {

GridModel tableWithTwoResults() {
    GridModel grid;
    initResultsTable(grid);
    ResultValues r;
    r.velocity = 0.848;
    r.lossPerMetre = 172.8;
    r.lossTotal = 1728.0;
    r.reynolds = 42004.2;
    r.lambda = 0.02400276;
    writeResultRow(grid, r, NumberFormat{','});
    grid.setRows(5);
    r.velocity = -1.5;
    writeResultRow(grid, r, NumberFormat{','});
    return grid;
}

TEST(TableText, WholeTableStopsAtTheLastResultAndDropsTheLayoutBlanks) {
    const GridModel grid = tableWithTwoResults();
    EXPECT_EQ(tableAsTabSeparatedText(grid), "Nr.\tGeschw.\tDV/m\tDV Total\tReynold\tLamda\n"
                                             "\t[m/s]\t[Pascal]\t[Pascal]\t[-]\t[-]\n"
                                             "1\t0,85\t172,80\t1728,00\t42004\t0,02400\n"
                                             "2\t-1,50\t172,80\t1728,00\t42004\t0,02400\n");
}

TEST(TableText, ASelectionKeepsItsShapeWithEmptyFieldsForUnselectedCells) {
    const GridModel grid = tableWithTwoResults();
    // Velocity of result 1 and Reynolds number of result 2: a rectangle of two by four.
    const auto selected = [](int row, int col) {
        return (row == 2 && col == 1) || (row == 3 && col == 4);
    };
    EXPECT_EQ(cellsAsTabSeparatedText(grid, 2, 1, 3, 4, selected), "0,85\t\t\t\n\t\t\t42004\n");
    // A rectangle reaching past the results is cut to them, unless it starts below them.
    EXPECT_EQ(cellsAsTabSeparatedText(grid, 3, 4, 99, 99, [](int, int) { return true; }),
              "42004\t0,02400\n");
    EXPECT_EQ(cellsAsTabSeparatedText(grid, 4, 4, 99, 99, [](int, int) { return true; }), "\t\n");
}

TEST(TableText, AnEmptyTableStillCopiesItsHeader) {
    GridModel grid;
    initResultsTable(grid);
    EXPECT_EQ(tableAsTabSeparatedText(grid), "Nr.\tGeschw.\tDV/m\tDV Total\tReynold\tLamda\n"
                                             "\t[m/s]\t[Pascal]\t[Pascal]\t[-]\t[-]\n");
}

} // namespace
} // namespace kolmaris
