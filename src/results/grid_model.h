#pragma once

#include "calc/errors.h"

#include <string>
#include <vector>

namespace kolmaris {

// Selecting a row or column outside the grid. Nothing changes when it is raised.
class GridSelectionRefused : public KolmarisError {
public:
    using KolmarisError::KolmarisError;
};

// Setting a negative row or column count. Nothing changes when it is raised.
class GridShapeRefused : public KolmarisError {
public:
    using KolmarisError::KolmarisError;
};

// Told about every change of a GridModel, so that a view can show the one model directly.
// Shape changes come in pairs: the "about to" call sees the old shape, the other the new one.
// Calls that would change nothing (same count, same text) are not reported.
class GridObserver {
public:
    virtual ~GridObserver() = default;
    virtual void gridShapeAboutToChange(int newRows, int newCols) = 0;
    virtual void gridShapeChanged() = 0;
    virtual void gridCellChanged(int row, int col) = 0;
    // The current cell moved, by a selection or because a shrink cut it off. Optional: most
    // views do not show the current cell.
    virtual void gridCurrentCellChanged(int /*row*/, int /*col*/) {}
};

// The results grid: a rectangle of texts with a current cell, driven through the six
// operations the results table needs (Rows, Cols, Row, Col, Text get and put). A cell never
// written holds the empty string; growing keeps every cell, shrinking drops the cut-off ones
// and pulls the current cell back inside.
class GridModel {
public:
    // The grid as placed in the window: 2 rows, 2 columns, current cell (1, 1).
    GridModel();

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    void setRows(int rows); // throws GridShapeRefused for negative counts
    void setCols(int cols);

    int row() const { return row_; }
    int col() const { return col_; }
    void setRow(int row); // throws GridSelectionRefused outside 0 .. rows()-1
    void setCol(int col); // throws GridSelectionRefused outside 0 .. cols()-1

    // The current cell's text. Both throw GridSelectionRefused while the grid has no cells.
    const std::string& text() const { return cell(row_, col_); }
    void setText(const std::string& text);

    // Direct read access for views. Throws GridSelectionRefused outside the grid.
    const std::string& cell(int row, int col) const;

    // At most one observer: the view. Pass nullptr to detach.
    void setObserver(GridObserver* observer) { observer_ = observer; }

private:
    void reshape(int rows, int cols);
    // Sets the current row or column (`current`) to `to`, one of `count`; tells the observer.
    void moveCurrent(int& current, int to, int count, const char* what);

    int rows_ = 2;
    int cols_ = 2;
    int row_ = 1;
    int col_ = 1;
    std::vector<std::vector<std::string>> cells_; // [row][col]
    GridObserver* observer_ = nullptr;
};

} // namespace kolmaris
