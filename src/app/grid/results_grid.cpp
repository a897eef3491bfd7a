#include "app/grid/results_grid.h"

#include "app/grid/grid_colours.h"
#include "results/table_layout.h"
#include "results/table_text.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>

#include <QAbstractButton>
#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyleOption>
#include <QStyledItemDelegate>

#include <algorithm>
#include <utility>

namespace kolmaris {

namespace {

constexpr int fixedRows = GridItemModel::fixedRows;
constexpr int fixedCols = GridItemModel::fixedCols;
constexpr int visibleColumns = 6;
constexpr int textMargin = 3;
// Around a text: its margins, the raised edge of a fixed cell, and the line between cells.
constexpr int cellPadding = 2 * (textMargin + 1) + 1;

// The style's own focus rectangle, as item views draw it around their current item.
void drawFocusMark(QPainter* painter, const QWidget* widget, const QStyleOption& from,
                   const QRect& rect, const QColor& background) {
    QStyleOptionFocusRect focus;
    focus.QStyleOption::operator=(from);
    focus.rect = rect;
    // Some styles draw the mark only after a focus change by keyboard; the grid always shows it.
    focus.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
    focus.backgroundColor = background;
    QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
}

void drawText(QPainter* painter, const QRect& rect, const QString& text, Qt::Alignment alignment,
              const QColor& colour) {
    painter->save();
    painter->setPen(colour);
    painter->setClipRect(rect);
    painter->drawText(rect.adjusted(textMargin, 0, -textMargin, 0),
                      static_cast<int>(alignment) | Qt::TextSingleLine, text);
    painter->restore();
}

// Ordinary cells: base colour and the grid's lines, texts clipped rather than
// elided; the current cell carries the style's focus mark while the grid has the focus.
class GridCellDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group =
            option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        painter->fillRect(option.rect, option.palette.brush(group, selected ? QPalette::Highlight
                                                                            : QPalette::Base));
        const QString text = index.data(Qt::DisplayRole).toString();
        const auto alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
        drawText(
            painter, option.rect.adjusted(0, 0, -1, -1), text, alignment,
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        painter->save();
        painter->setPen(gridColoursFor(option.palette, group).lines);
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
        if (option.state & QStyle::State_HasFocus) {
            drawFocusMark(
                painter, option.widget, option, option.rect.adjusted(0, 0, -1, -1),
                option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base));
        }
    }
};

// The fixed row or column: flat cells in the button-face colour.
class FixedCellsHeader : public QHeaderView {
public:
    FixedCellsHeader(Qt::Orientation orientation, QWidget* parent);

    // The grid sets both fixed headers' thickness (the row height, the widest number), so
    // measuring their texts through the style on every layout would only be thrown away.
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

// --- painting fixed cells ---------------------------------------------------------------------

void paintFixedCell(QPainter* painter, const QWidget* widget, const QRect& rect,
                    const QString& text, Qt::Alignment alignment) {
    // Fixed cells never look disabled, not even the corner, which takes no clicks.
    const QPalette& palette = widget->palette();
    constexpr QPalette::ColorGroup group = QPalette::Active;
    painter->fillRect(rect, palette.brush(group, QPalette::Button));
    // A raised edge tells the fixed cells from the ones that scroll.
    painter->save();
    painter->setPen(palette.color(group, QPalette::Light));
    painter->drawLine(rect.topLeft(), rect.topRight());
    painter->drawLine(rect.topLeft(), rect.bottomLeft());
    painter->setPen(palette.color(group, QPalette::Dark));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->restore();
    drawText(painter, rect.adjusted(1, 1, -1, -1), text, alignment,
             palette.color(group, QPalette::ButtonText));
}

// --- FixedCellsHeader -------------------------------------------------------------------------

FixedCellsHeader::FixedCellsHeader(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setMinimumSectionSize(1);
}

QSize FixedCellsHeader::sizeHint() const {
    return orientation() == Qt::Horizontal ? QSize(length(), minimumHeight())
                                           : QSize(minimumWidth(), length());
}

void FixedCellsHeader::paintEvent(QPaintEvent* event) {
    QHeaderView::paintEvent(event);
    // Past the last fixed cell the grid's background shows, as it does behind the other cells.
    const int end = length() - offset();
    QRect beyond = viewport()->rect();
    if (orientation() == Qt::Horizontal) {
        beyond.setLeft(end);
    } else {
        beyond.setTop(end);
    }
    if (beyond.isValid()) {
        QPainter painter(viewport());
        painter.fillRect(beyond, gridColoursFor(palette()).background);
    }
}

void FixedCellsHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid() || model() == nullptr) {
        return;
    }
    const QString text = model()->headerData(logicalIndex, orientation()).toString();
    const auto alignment = Qt::Alignment(
        model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole).toInt());
    paintFixedCell(painter, this, rect, text, alignment);
}

} // namespace

// --- ResultsGridView --------------------------------------------------------------------------

ResultsGridView::ResultsGridView(const GridModel& grid, GridObservation observe, QWidget* parent)
    : QTableView(parent), grid_(grid), observe_(std::move(observe)),
      model_(new GridItemModel(grid, this)) {
    // Where the face is missing, fall back to a proportional sans face: left to itself, the
    // font matcher may pick a monospaced one that overflows the columns.
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Liberation Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    setFont(font);

    setHorizontalHeader(new FixedCellsHeader(Qt::Horizontal, this));
    setVerticalHeader(new FixedCellsHeader(Qt::Vertical, this));
    setModel(model_);
    setItemDelegate(new GridCellDelegate(this));

    setShowGrid(false); // the cells draw their own lines
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Several cells at once, so that they can be copied into a spreadsheet together.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false); // Tab leaves the grid for the next control
    setCornerButtonEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    // paintEvent fills the background, in the colour of the palette of the moment.
    viewport()->setAutoFillBackground(false);

    const int rowHeight = fontMetrics().height() + 4;
    verticalHeader()->setDefaultSectionSize(rowHeight);
    horizontalHeader()->setFixedHeight(rowHeight);

    corner_ = findChild<QAbstractButton*>();
    if (corner_ != nullptr) {
        corner_->installEventFilter(this);
    }
    auto* copy = new QAction(QStringLiteral("Kopieren"), this);
    copy->setObjectName(QStringLiteral("copyCells"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &ResultsGridView::copyToClipboard);
    addAction(copy);

    connect(model_, &GridItemModel::cornerChanged, this, [this] {
        if (corner_ != nullptr) {
            corner_->update();
        }
    });
    // Widths follow every write, whichever command made it.
    connect(model_, &QAbstractItemModel::dataChanged, this, &ResultsGridView::scheduleFit);
    connect(model_, &QAbstractItemModel::headerDataChanged, this, &ResultsGridView::scheduleFit);
    connect(model_, &GridItemModel::cornerChanged, this, &ResultsGridView::scheduleFit);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &ResultsGridView::scheduleFit);
    connect(model_, &QAbstractItemModel::columnsInserted, this, &ResultsGridView::scheduleFit);
    observe_(model_);
}

ResultsGridView::~ResultsGridView() {
    observe_(nullptr);
}

void ResultsGridView::place(const QRect& geometry) {
    setGeometry(geometry);
    const int frame = 2 * frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    leastColumnWidth_ = (geometry.width() - frame - scrollBar) / visibleColumns;
    horizontalHeader()->setDefaultSectionSize(leastColumnWidth_);
    fitColumns();
}

int ResultsGridView::widthFor(const QString& text) const {
    return fontMetrics().horizontalAdvance(text) + cellPadding;
}

int ResultsGridView::measuredWidth(int row, int col) {
    const auto at = static_cast<std::size_t>(row) * static_cast<std::size_t>(grid_.cols()) +
                    static_cast<std::size_t>(col);
    if (measured_.size() <= at) {
        measured_.resize(at + 1);
    }
    MeasuredText& known = measured_[at];
    const std::string& text = grid_.cell(row, col);
    if (!known.measured || known.text != text) {
        known = {text, widthFor(QString::fromStdString(text)), true};
    }
    return known.width;
}

void ResultsGridView::scheduleFit() {
    if (fitScheduled_) {
        return;
    }
    fitScheduled_ = true;
    QMetaObject::invokeMethod(this, &ResultsGridView::fitIfScheduled, Qt::QueuedConnection);
}

void ResultsGridView::fitIfScheduled() {
    if (fitScheduled_) {
        fitColumns();
    }
}

void ResultsGridView::fitColumns() {
    fitScheduled_ = false;
    for (int col = 0; col < grid_.cols(); ++col) {
        int width = leastColumnWidth_;
        for (int row = 0; row < grid_.rows(); ++row) {
            width = std::max(width, measuredWidth(row, col));
        }
        if (col < fixedCols) {
            if (verticalHeader()->maximumWidth() != width) {
                verticalHeader()->setFixedWidth(width);
            }
        } else if (columnWidth(col - fixedCols) != width) {
            setColumnWidth(col - fixedCols, width);
        }
    }
}

void ResultsGridView::showResult(int resultNumber) {
    const int viewRow = resultNumber + headerRows - 1 - fixedRows;
    if (viewRow < 0 || viewRow >= model_->rowCount()) {
        return;
    }
    // The widths decide whether the horizontal scroll bar takes room from the rows.
    fitIfScheduled();
    // Rows just added reach the scroll bars only with the next layout; without it the bars
    // would stop short of them.
    executeDelayedItemsLayout();
    updateGeometries();
    // Down to the row, but not sideways: the columns the user scrolled to stay in view.
    const int leftmost = std::max(columnAt(0), 0);
    scrollTo(model_->index(viewRow, leftmost), QAbstractItemView::EnsureVisible);
}

QString ResultsGridView::copyText() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    // Everything selected (Ctrl+A) means the whole table, as nothing selected does: with both
    // header rows and the numbers, which the selection itself cannot hold.
    const bool everything = selected.size() == model_->rowCount() * model_->columnCount();
    if (selected.isEmpty() || everything) {
        return QString::fromStdString(tableAsTabSeparatedText(grid_));
    }
    // View cells sit one row and one column after their grid cells: the fixed ones are headers.
    int top = grid_.rows(), left = grid_.cols(), bottom = -1, right = -1;
    for (const QModelIndex& index : selected) {
        top = std::min(top, index.row() + fixedRows);
        bottom = std::max(bottom, index.row() + fixedRows);
        left = std::min(left, index.column() + fixedCols);
        right = std::max(right, index.column() + fixedCols);
    }
    const QItemSelectionModel* selection = selectionModel();
    const auto included = [this, selection](int row, int col) {
        return selection->isSelected(model_->index(row - fixedRows, col - fixedCols));
    };
    return QString::fromStdString(
        cellsAsTabSeparatedText(grid_, top, left, bottom, right, included));
}

void ResultsGridView::copyToClipboard() const {
    QGuiApplication::clipboard()->setText(copyText());
}

void ResultsGridView::keyPressEvent(QKeyEvent* event) {
    // The view's own copy would take only the current cell.
    if (event->matches(QKeySequence::Copy)) {
        copyToClipboard();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void ResultsGridView::contextMenuEvent(QContextMenuEvent* event) {
    // The commands of the menu concern the row it was opened on, by mouse or keyboard.
    menuRow_ = event->reason() == QContextMenuEvent::Mouse ? rowUnder(*event) : currentGridRow();
    emit contextMenuOpening(*menuRow_);
    QMenu menu(this);
    menu.addActions(actions());
    menu.exec(event->globalPos());
    menuRow_.reset();
}

int ResultsGridView::rowUnder(const QContextMenuEvent& event) const {
    // The request may come from the cells or, passed on, from the row numbers beside them.
    const QPoint inCells = viewport()->mapFromGlobal(event.globalPos());
    if (viewport()->rect().contains(inCells)) {
        const int row = rowAt(inCells.y());
        return row < 0 ? -1 : row + fixedRows;
    }
    const QHeaderView* numbers = verticalHeader();
    const QPoint inNumbers = numbers->mapFromGlobal(event.globalPos());
    if (numbers->isVisible() && numbers->rect().contains(inNumbers)) {
        const int row = numbers->logicalIndexAt(inNumbers.y());
        return row < 0 ? -1 : row + fixedRows;
    }
    return -1;
}

int ResultsGridView::currentGridRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + fixedRows : -1;
}

int ResultsGridView::commandRow() const {
    return menuRow_ ? *menuRow_ : currentGridRow();
}

std::vector<int> ResultsGridView::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) {
        rows.push_back(index.row() + fixedRows);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void ResultsGridView::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(viewport());
        painter.fillRect(event->rect(), gridColoursFor(palette()).background);
    }
    QTableView::paintEvent(event);
}

bool ResultsGridView::event(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        measured_.clear(); // widths measured in the old font
    }
    const bool handled = QTableView::event(event);
    // The frame shows the focus as the style shows it on a focused input box, so that the mark
    // stays visible even while the current cell is scrolled away.
    if (event->type() == QEvent::Paint && hasFocus()) {
        QPainter painter(this);
        QStyleOptionFrame frame;
        frame.initFrom(this);
        frame.lineWidth = frameWidth();
        frame.state |= QStyle::State_HasFocus;
        style()->drawPrimitive(QStyle::PE_FrameLineEdit, &frame, &painter, this);
    }
    return handled;
}

bool ResultsGridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == corner_ && event->type() == QEvent::Paint) {
        QPainter painter(corner_);
        paintFixedCell(&painter, corner_, corner_->rect(), model_->cornerText(),
                       model_->cornerAlignment());
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

} // namespace kolmaris
