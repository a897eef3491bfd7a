#pragma once

#include "grid_model.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>

#include <functional>
#include <string>

namespace kolmaris {

// Shows a GridModel to Qt views without copying it. Row 0 and column 0 of the grid are its
// fixed cells; they appear as the horizontal and vertical header (and the corner), so they stay
// in place while the other cells scroll.
class GridTableModel : public QAbstractTableModel, public GridObserver {
    Q_OBJECT

public:
    explicit GridTableModel(GridModel& grid, QObject* parent = nullptr);
    ~GridTableModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // What a result row's tooltip says, asked with the row's grid index for rows in use.
    void setRowDescription(std::function<std::string(int gridRow)> describe);

    // The cell where the fixed row and the fixed column meet.
    QString cornerText() const;
    Qt::Alignment cornerAlignment() const;

    void gridShapeAboutToChange(int newRows, int newCols) override;
    void gridShapeChanged() override;
    void gridCellChanged(int row, int col) override;

signals:
    void cornerChanged();

private:
    QVariant cellData(int gridRow, int gridCol, int role) const;
    QVariant accessibleHeaderText(int section, Qt::Orientation orientation) const;

    GridModel& grid_;
    std::function<std::string(int gridRow)> describeRow_;
    // The shape as last announced to views; between an "about to" and a "changed" call it may
    // differ from the grid's own.
    int shownRows_;
    int shownCols_;
};

// The fixed row or column: flat cells in the button-face colour.
class FixedCellsHeader : public QHeaderView {
    Q_OBJECT

public:
    FixedCellsHeader(Qt::Orientation orientation, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// The results grid of the main window.
class ResultsGridView : public QTableView {
    Q_OBJECT

public:
    ResultsGridView(GridModel& grid, QWidget* parent);

    GridTableModel* gridModel() const { return model_; }

    // Sets the widget's place and the least column width, so that all six columns fit the
    // width even while the vertical scroll bar shows.
    void place(const QRect& geometry);

    // The width a cell needs to show `text` whole: the text and the cell's padding.
    int widthFor(const QString& text) const;

    // Scrolls the result with this number into view.
    void showResult(int resultNumber);

    static constexpr int visibleColumns = 6;

    // The selected cells as tab-separated text, or the whole table when nothing is selected.
    QString copyText() const;
    // Puts copyText() on the clipboard: Ctrl+C, and "Kopieren" in the context menu.
    void copyToClipboard() const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Widens every column, the fixed one too, to its widest text: no digit is ever cut off.
    void fitColumns();

    GridModel& grid_;
    GridTableModel* model_;
    int leastColumnWidth_ = 0;
    QWidget* corner_ = nullptr;
};

// Paints one fixed cell; shared by the headers and the corner.
void paintFixedCell(QPainter* painter, const QWidget* widget, const QRect& rect,
                    const QString& text, Qt::Alignment alignment);

} // namespace kolmaris
