#pragma once

#include "results/grid_model.h"
#include "results/table_layout.h"

#include <string>
#include <vector>

namespace kolmaris::test_support {

using Cells = std::vector<std::vector<std::string>>;

// Every cell of the grid, row by row.
inline Cells cellsOf(const GridModel& grid) {
    Cells cells(static_cast<std::size_t>(grid.rows()));
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            cells[static_cast<std::size_t>(r)].push_back(grid.cell(r, c));
        }
    }
    return cells;
}

// The rows of the results standing, without the header rows and the free rows below.
inline Cells resultRowsOf(const GridModel& grid) {
    Cells cells = cellsOf(grid);
    const auto first = cells.begin() + std::min<std::ptrdiff_t>(headerRows, grid.rows());
    Cells rows(first, first + standingResults(grid));
    return rows;
}

} // namespace kolmaris::test_support
