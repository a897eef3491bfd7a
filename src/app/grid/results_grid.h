#pragma once

#include "app/grid/grid_item_model.h"
#include "results/grid_model.h"

#include <QTableView>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kolmaris {

// Attaches an observer to the grid's owner, or detaches it (nullptr): the grid is written only
// by its owner, which tells the view of every change.
using GridObservation = std::function<void(GridObserver*)>;

// The results grid of the main window.
class ResultsGridView : public QTableView {
    Q_OBJECT

public:
    // Shows `grid`; `observe` attaches the view to its owner now and detaches it when the view
    // dies, so the owner must outlive the view.
    ResultsGridView(const GridModel& grid, GridObservation observe, QWidget* parent);
    ~ResultsGridView() override;

    GridItemModel* itemModel() const { return model_; }

    // Sets the widget's place and the least column width, so that all six columns fit the
    // width even while the vertical scroll bar shows.
    void place(const QRect& geometry);

    // The width a cell needs to show `text` whole: the text and the cell's padding.
    int widthFor(const QString& text) const;

    // Scrolls the result with this number into view.
    void showResult(int resultNumber);

    // The selected cells as tab-separated text, or the whole table when nothing is selected.
    QString copyText() const;
    // Puts copyText() on the clipboard: Ctrl+C, and "Kopieren" in the context menu.
    void copyToClipboard() const;

    // The grid row a context-menu command concerns: while the menu is open, the row under the
    // mouse that opened it, or the current row when the keyboard opened it; otherwise the
    // current row. -1 for none.
    int commandRow() const;
    // The grid rows that hold a selected cell, top first.
    std::vector<int> selectedRows() const;

signals:
    // Right before the context menu shows, with commandRow(), so that its entries can follow.
    void contextMenuOpening(int gridRow);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Widens every column, the fixed one too, to its widest text: no digit is ever cut off.
    void fitColumns();
    // One command writes many cells: the columns are fitted once, when the event loop next
    // runs or when a result is brought into view, whichever comes first.
    void scheduleFit();
    void fitIfScheduled();
    // widthFor a cell's text, measured again only when the text has changed since.
    int measuredWidth(int row, int col);

    struct MeasuredText {
        std::string text;
        int width = 0;
        bool measured = false;
    };

    // The grid row of the cell under `event`'s position, row number included; -1 for none.
    int rowUnder(const QContextMenuEvent& event) const;
    int currentGridRow() const;

    const GridModel& grid_;
    GridObservation observe_;
    std::optional<int> menuRow_; // while the context menu is open
    GridItemModel* model_;
    int leastColumnWidth_ = 0;
    bool fitScheduled_ = false;
    std::vector<MeasuredText> measured_; // [row * cols + col]
    QWidget* corner_ = nullptr;
};

} // namespace kolmaris
