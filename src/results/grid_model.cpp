#include "results/grid_model.h"

#include <algorithm>
#include <utility>

namespace kolmaris {

namespace {

std::string outside(const char* what, int index, int count) {
    return std::string(what) + " " + std::to_string(index) + " outside 0.." +
           std::to_string(count - 1);
}

} // namespace

GridModel::GridModel() : cells_(rows_, std::vector<std::string>(cols_)) {}

void GridModel::setRows(int rows) {
    if (rows < 0) {
        throw GridShapeRefused("row count " + std::to_string(rows));
    }
    reshape(rows, cols_);
}

void GridModel::setCols(int cols) {
    if (cols < 0) {
        throw GridShapeRefused("column count " + std::to_string(cols));
    }
    reshape(rows_, cols);
}

void GridModel::reshape(int rows, int cols) {
    if (rows == rows_ && cols == cols_) {
        return;
    }
    // Allocate everything before the observer hears of the change, so that a failed
    // allocation leaves both the model and the view as they were.
    std::vector<std::vector<std::string>> next(rows, std::vector<std::string>(cols));
    if (observer_) {
        observer_->gridShapeAboutToChange(rows, cols);
    }
    const int keptRows = std::min(rows, rows_);
    const int keptCols = std::min(cols, cols_);
    for (int r = 0; r < keptRows; ++r) {
        std::move(cells_[r].begin(), cells_[r].begin() + keptCols, next[r].begin());
    }
    cells_ = std::move(next);
    rows_ = rows;
    cols_ = cols;
    const int oldRow = row_;
    const int oldCol = col_;
    row_ = std::max(0, std::min(row_, rows_ - 1));
    col_ = std::max(0, std::min(col_, cols_ - 1));
    if (observer_) {
        observer_->gridShapeChanged();
        if (row_ != oldRow || col_ != oldCol) {
            observer_->gridCurrentCellChanged(row_, col_);
        }
    }
}

void GridModel::setRow(int row) {
    moveCurrent(row_, row, rows_, "row");
}

void GridModel::setCol(int col) {
    moveCurrent(col_, col, cols_, "column");
}

void GridModel::moveCurrent(int& current, int to, int count, const char* what) {
    if (to < 0 || to >= count) {
        throw GridSelectionRefused(outside(what, to, count));
    }
    if (to == current) {
        return;
    }
    current = to;
    if (observer_) {
        observer_->gridCurrentCellChanged(row_, col_);
    }
}

void GridModel::setText(const std::string& text) {
    cell(row_, col_); // refuses when the grid has no cells
    std::string& target = cells_[row_][col_];
    if (target == text) {
        return;
    }
    target = text;
    if (observer_) {
        observer_->gridCellChanged(row_, col_);
    }
}

const std::string& GridModel::cell(int row, int col) const {
    if (row < 0 || row >= rows_) {
        throw GridSelectionRefused(outside("row", row, rows_));
    }
    if (col < 0 || col >= cols_) {
        throw GridSelectionRefused(outside("column", col, cols_));
    }
    return cells_[row][col];
}

} // namespace kolmaris
