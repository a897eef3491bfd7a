#pragma once

#include "results/grid_model.h"

#include <QAbstractTableModel>

#include <functional>
#include <string>

namespace kolmaris {

// Shows a GridModel to Qt views without copying it. Row 0 and column 0 of the grid are its
// fixed cells; they appear as the horizontal and vertical header (and the corner), so they stay
// in place while the other cells scroll.
class GridItemModel : public QAbstractTableModel, public GridObserver {
    Q_OBJECT

public:
    // The grid's fixed cells: its first row and its first column.
    static constexpr int fixedRows = 1;
    static constexpr int fixedCols = 1;

    // Reads `grid` only; whoever may write it tells this model of every change.
    explicit GridItemModel(const GridModel& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // What a result row's tooltip says, asked with the grid index of any row below the header
    // rows; empty for a row that holds no result.
    void setRowDescription(std::function<std::string(int gridRow)> describe);

    // The cell where the fixed row and the fixed column meet.
    QString cornerText() const;
    Qt::Alignment cornerAlignment() const;

    void gridShapeAboutToChange(int newRows, int newCols) override;
    void gridShapeChanged() override;
    void gridCellChanged(int row, int col) override;

    // A cell's alignment, by where it stands in the table: numbers right, header texts left.
    static Qt::Alignment alignmentOf(int gridRow, int gridCol);

signals:
    void cornerChanged();

private:
    QVariant cellData(int gridRow, int gridCol, int role) const;
    QVariant accessibleHeaderText(int section, Qt::Orientation orientation) const;
    // Tells views of the rows or columns that come or go as the shown count becomes newCount.
    void reshapeShown(Qt::Orientation orientation, int newCount);

    const GridModel& grid_;
    std::function<std::string(int gridRow)> describeRow_;
    // The shape as last announced to views; between an "about to" and a "changed" call it may
    // differ from the grid's own.
    int shownRows_;
    int shownCols_;
};

} // namespace kolmaris
