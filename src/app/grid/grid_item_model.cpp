#include "app/grid/grid_item_model.h"

#include "results/table_layout.h"

#include <algorithm>
#include <utility>

namespace kolmaris {

Qt::Alignment GridItemModel::alignmentOf(int gridRow, int gridCol) {
    // Each of the table's columns holds numbers, which stand right; its header rows hold the
    // titles and units, placed by their leading blanks from the left.
    const bool numberCell = gridRow >= headerRows && gridCol < tableCols;
    return (numberCell ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

GridItemModel::GridItemModel(const GridModel& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), shownRows_(grid.rows()), shownCols_(grid.cols()) {}

int GridItemModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(shownRows_ - fixedRows, 0);
}

int GridItemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max(shownCols_ - fixedCols, 0);
}

QVariant GridItemModel::cellData(int gridRow, int gridCol, int role) const {
    if (gridRow < 0 || gridCol < 0 || gridRow >= grid_.rows() || gridCol >= grid_.cols()) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdString(grid_.cell(gridRow, gridCol));
    case Qt::TextAlignmentRole:
        return static_cast<int>(alignmentOf(gridRow, gridCol));
    case Qt::ToolTipRole:
    case Qt::AccessibleDescriptionRole:
        // Every cell of a result row shows what the row came from; a screen reader hears it
        // once, on the row's number, not again at every step along the row.
        if (role == Qt::AccessibleDescriptionRole && gridCol != 0) {
            return {};
        }
        if (describeRow_ && gridRow >= headerRows) {
            const std::string description = describeRow_(gridRow);
            if (!description.empty()) {
                return QString::fromStdString(description);
            }
        }
        return {};
    default:
        return {};
    }
}

void GridItemModel::setRowDescription(std::function<std::string(int gridRow)> describe) {
    describeRow_ = std::move(describe);
}

QVariant GridItemModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    return cellData(index.row() + fixedRows, index.column() + fixedCols, role);
}

QVariant GridItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::AccessibleTextRole) {
        return accessibleHeaderText(section, orientation);
    }
    if (orientation == Qt::Horizontal) {
        return cellData(0, section + fixedCols, role);
    }
    return cellData(section + fixedRows, 0, role);
}

QVariant GridItemModel::accessibleHeaderText(int section, Qt::Orientation orientation) const {
    // What a screen reader says, without the blanks that place the texts in their cells; a
    // column is named by its title and by its unit, which stands in the first row below it.
    const bool column = orientation == Qt::Horizontal;
    const int gridRow = column ? 0 : section + fixedRows;
    const int gridCol = column ? section + fixedCols : 0;
    const QVariant text = cellData(gridRow, gridCol, Qt::DisplayRole);
    if (!text.isValid()) {
        return {};
    }
    QString spoken = text.toString().trimmed();
    const QString unit =
        column ? cellData(1, gridCol, Qt::DisplayRole).toString().trimmed() : QString();
    if (!unit.isEmpty()) {
        spoken += QLatin1Char(' ') + unit;
    }
    return spoken;
}

QString GridItemModel::cornerText() const {
    return cellData(0, 0, Qt::DisplayRole).toString();
}

Qt::Alignment GridItemModel::cornerAlignment() const {
    return alignmentOf(0, 0);
}

void GridItemModel::gridShapeAboutToChange(int newRows, int newCols) {
    // Shrinking is announced while the grid still holds the cells that go away.
    if (newRows < shownRows_) {
        reshapeShown(Qt::Vertical, newRows);
    }
    if (newCols < shownCols_) {
        reshapeShown(Qt::Horizontal, newCols);
    }
}

void GridItemModel::gridShapeChanged() {
    // Growing is announced once the new cells exist.
    if (grid_.rows() > shownRows_) {
        reshapeShown(Qt::Vertical, grid_.rows());
    }
    if (grid_.cols() > shownCols_) {
        reshapeShown(Qt::Horizontal, grid_.cols());
    }
}

void GridItemModel::reshapeShown(Qt::Orientation orientation, int newCount) {
    const bool rows = orientation == Qt::Vertical;
    int& shown = rows ? shownRows_ : shownCols_;
    const int fixed = rows ? fixedRows : fixedCols;
    const int first = std::max(std::min(shown, newCount) - fixed, 0);
    const int last = std::max(std::max(shown, newCount) - fixed, 0) - 1;
    if (first > last) { // only fixed cells come or go: the headers follow the grid by themselves
        shown = newCount;
        return;
    }
    const bool growing = newCount > shown;
    if (rows) {
        growing ? beginInsertRows({}, first, last) : beginRemoveRows({}, first, last);
    } else {
        growing ? beginInsertColumns({}, first, last) : beginRemoveColumns({}, first, last);
    }
    shown = newCount;
    if (rows) {
        growing ? endInsertRows() : endRemoveRows();
    } else {
        growing ? endInsertColumns() : endRemoveColumns();
    }
}

void GridItemModel::gridCellChanged(int row, int col) {
    if (row < fixedRows && col < fixedCols) {
        emit cornerChanged();
    } else if (row < fixedRows) {
        emit headerDataChanged(Qt::Horizontal, col - fixedCols, col - fixedCols);
    } else if (col < fixedCols) {
        emit headerDataChanged(Qt::Vertical, row - fixedRows, row - fixedRows);
    } else {
        const QModelIndex changed = index(row - fixedRows, col - fixedCols);
        emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::TextAlignmentRole});
    }
}

} // namespace kolmaris
