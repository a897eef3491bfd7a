// Laying the report out on A4 pages and painting it: one pass counts the pages, the next paints
// them with "Seite i von N". Everything is measured in the device's own pixels with fonts in
// points, so a PDF writer and a printer of any resolution give the same pages.
#include "app/report/report_content.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <memory>
#include <numeric>

namespace kolmaris::report_detail {

namespace {

// The chart is drawn in the frame it was designed for and scaled onto the page.
constexpr double chartWidth = 860;
constexpr double chartHeight = 600;

QFont reportFont(double points, bool bold = false) {
    // Arial where it exists; its metric twin Liberation Sans elsewhere.
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A text broken into lines no wider than `width`: between words, inside a word only when it is
// wider than the line (a long number keeps every digit).
class TextBox {
public:
    TextBox(const QString& text, const QFont& font, QPaintDevice* device, double width,
            Qt::Alignment alignment = Qt::AlignLeft)
        : layout_(std::make_unique<QTextLayout>(text, font, device)) {
        QTextOption option(alignment);
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout_->setTextOption(option);
        layout_->beginLayout();
        for (QTextLine line = layout_->createLine(); line.isValid(); line = layout_->createLine()) {
            line.setLineWidth(width);
            line.setPosition(QPointF(0, height_));
            height_ += line.height();
        }
        layout_->endLayout();
    }
    double height() const { return height_; }
    void draw(QPainter& painter, const QPointF& at) const { layout_->draw(&painter, at); }

private:
    std::unique_ptr<QTextLayout> layout_;
    double height_ = 0;
};

class Pages {
public:
    Pages(QPagedPaintDevice& device, QPainter* painter, const Content& content,
          const QLocale& locale, int firstPage, int lastPage, int pageCount)
        : device_(device), painter_(painter), content_(content), locale_(locale),
          firstPage_(firstPage), lastPage_(lastPage), pageCount_(pageCount),
          dpi_(device.logicalDpiY()) {
        const QRectF area = device.pageLayout().paintRectPixels(device.logicalDpiX());
        width_ = area.width();
        pageBottom_ = area.height();
        bottom_ = pageBottom_ - mm(9); // the footer's room
    }

    // Lays out every block; returns the number of pages.
    int run() {
        startPage();
        const auto& blocks = content_.blocks;
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            place(blocks[i], i + 1 < blocks.size() ? &blocks[i + 1] : nullptr);
        }
        finishPage();
        return page_;
    }

private:
    double mm(double millimetres) const { return millimetres * dpi_ / 25.4; }
    QPaintDevice* device() const { return &device_; }

    void startPage() {
        ++page_;
        y_ = 0;
        drawing_ = painter_ != nullptr && (firstPage_ <= 0 || page_ >= firstPage_) &&
                   (lastPage_ <= 0 || page_ <= lastPage_);
        if (drawing_) {
            if (emitted_) {
                device_.newPage();
            }
            emitted_ = true;
        }
    }

    void finishPage() {
        if (!drawing_) {
            return;
        }
        const QFont font = reportFont(8);
        const double top = pageBottom_ - mm(5);
        painter_->setPen(QPen(QColor(0x80, 0x80, 0x80), mm(0.15)));
        painter_->drawLine(QPointF(0, top - mm(1.5)), QPointF(width_, top - mm(1.5)));
        painter_->setPen(Qt::black);
        TextBox(content_.footer, font, device(), width_).draw(*painter_, QPointF(0, top));
        TextBox(QStringLiteral("Seite %1 von %2").arg(page_).arg(pageCount_), font, device(),
                width_, Qt::AlignRight)
            .draw(*painter_, QPointF(0, top));
    }

    void newPage() {
        finishPage();
        startPage();
    }

    // Makes room for `height` below the cursor, on a new page when this one is short of it and
    // holds something already.
    void ensure(double height) {
        if (y_ + height > bottom_ && y_ > 0) {
            newPage();
        }
    }

    void text(const QString& content, const QFont& font, double spaceAfter, double keep = 0) {
        const TextBox box(content, font, device(), width_);
        ensure(box.height() + keep);
        if (drawing_) {
            painter_->setPen(Qt::black);
            box.draw(*painter_, QPointF(0, y_));
        }
        y_ += box.height() + spaceAfter;
    }

    void place(const Block& block, const Block* next) {
        switch (block.kind) {
        case Block::Kind::Title:
            text(block.text, reportFont(18, true), mm(1));
            break;
        case Block::Kind::Byline:
            text(block.text, reportFont(9), mm(5));
            break;
        case Block::Kind::Heading:
            // Never alone at the foot of a page.
            text(block.text, reportFont(11, true), mm(1.5), next ? leadHeight(*next) : 0);
            break;
        case Block::Kind::Paragraph:
            text(block.text, reportFont(9.5), mm(2.5));
            break;
        case Block::Kind::Table:
            table(block.table);
            break;
        case Block::Kind::Chart:
            chart();
            break;
        case Block::Kind::Signature:
            signature();
            break;
        }
    }

    // What must stand on the same page as a heading above the block.
    double leadHeight(const Block& block) {
        switch (block.kind) {
        case Block::Kind::Table: {
            const TableLayout layout = tableLayout(block.table);
            double height =
                std::accumulate(layout.headerHeights.begin(), layout.headerHeights.end(), 0.0);
            if (!layout.bodyHeights.empty()) {
                height += layout.bodyHeights.front();
            }
            return height;
        }
        case Block::Kind::Paragraph:
            return TextBox(block.text, reportFont(9.5), device(), width_).height();
        case Block::Kind::Chart:
            return chartHeightOnPage();
        default:
            return 0;
        }
    }

    // --- Tables

    struct TableLayout {
        std::vector<double> widths;
        std::vector<double> headerHeights;
        std::vector<double> bodyHeights;
    };

    double padding() const { return mm(1.2); }
    QFont tableFont(bool header) const { return reportFont(8.5, header); }

    // Columns as wide as their widest text and the rest of the line shared equally when the
    // table fits; otherwise narrow columns keep their width and the wide ones share the rest
    // equally, their texts wrapping.
    std::vector<double> columnWidths(const Table& table) const {
        std::vector<double> natural(static_cast<std::size_t>(table.columns), 0.0);
        auto measure = [&](const std::vector<Row>& rows, bool header) {
            const QFontMetricsF metrics(tableFont(header), device());
            for (const Row& row : rows) {
                std::size_t col = 0;
                for (const Cell& cell : row) {
                    if (cell.span == 1 && col < natural.size()) {
                        for (const QString& line : cell.text.split(QChar::LineSeparator)) {
                            natural[col] = std::max(natural[col], metrics.horizontalAdvance(line) +
                                                                      2 * padding() + 1);
                        }
                    }
                    col += static_cast<std::size_t>(cell.span);
                }
            }
        };
        measure(table.header, true);
        measure(table.body, false);
        const double total = std::accumulate(natural.begin(), natural.end(), 0.0);
        if (total <= width_) {
            for (double& w : natural) {
                w += (width_ - total) / static_cast<double>(natural.size());
            }
            return natural;
        }
        std::vector<double> widths = natural;
        std::vector<std::size_t> order(natural.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return natural[a] < natural[b]; });
        double left = width_;
        for (std::size_t i = 0; i < order.size(); ++i) {
            const double share = left / static_cast<double>(order.size() - i);
            widths[order[i]] = std::min(natural[order[i]], share);
            left -= widths[order[i]];
        }
        return widths;
    }

    double cellWidth(const std::vector<double>& widths, std::size_t col, int span) const {
        const auto end = std::min(widths.size(), col + static_cast<std::size_t>(span));
        return std::accumulate(widths.begin() + static_cast<std::ptrdiff_t>(col),
                               widths.begin() + static_cast<std::ptrdiff_t>(end), 0.0);
    }

    double rowHeight(const Row& row, const std::vector<double>& widths, bool header) const {
        double height = 0;
        std::size_t col = 0;
        for (const Cell& cell : row) {
            const double width = cellWidth(widths, col, cell.span) - 2 * padding();
            height =
                std::max(height, TextBox(cell.text, tableFont(header), device(), width).height());
            col += static_cast<std::size_t>(cell.span);
        }
        return height + 2 * padding() * 0.6;
    }

    TableLayout tableLayout(const Table& table) const {
        TableLayout layout;
        layout.widths = columnWidths(table);
        for (const Row& row : table.header) {
            layout.headerHeights.push_back(rowHeight(row, layout.widths, true));
        }
        for (const Row& row : table.body) {
            layout.bodyHeights.push_back(rowHeight(row, layout.widths, false));
        }
        return layout;
    }

    void drawRow(const Row& row, const std::vector<double>& widths, double height, bool header) {
        if (!drawing_) {
            return;
        }
        double x = 0;
        std::size_t col = 0;
        for (const Cell& cell : row) {
            const double width = cellWidth(widths, col, cell.span);
            const QRectF rect(x, y_, width, height);
            painter_->setPen(QPen(QColor(0x90, 0x90, 0x90), mm(0.15)));
            painter_->setBrush(header ? QBrush(QColor(0xe8, 0xe8, 0xe8)) : QBrush(Qt::NoBrush));
            painter_->drawRect(rect);
            painter_->setPen(Qt::black);
            TextBox(cell.text, tableFont(header), device(), width - 2 * padding(),
                    cell.right ? Qt::AlignRight : Qt::AlignLeft)
                .draw(*painter_, QPointF(x + padding(), y_ + padding() * 0.6));
            x += width;
            col += static_cast<std::size_t>(cell.span);
        }
    }

    // The header rows come again at the top of every page the table runs onto.
    void table(const Table& table) {
        const TableLayout layout = tableLayout(table);
        const double headerHeight =
            std::accumulate(layout.headerHeights.begin(), layout.headerHeights.end(), 0.0);
        auto header = [&] {
            for (std::size_t r = 0; r < table.header.size(); ++r) {
                drawRow(table.header[r], layout.widths, layout.headerHeights[r], true);
                y_ += layout.headerHeights[r];
            }
        };
        ensure(headerHeight + (layout.bodyHeights.empty() ? 0 : layout.bodyHeights.front()));
        header();
        for (std::size_t r = 0; r < table.body.size(); ++r) {
            if (y_ + layout.bodyHeights[r] > bottom_ && y_ > headerHeight) {
                newPage();
                header();
            }
            drawRow(table.body[r], layout.widths, layout.bodyHeights[r], false);
            y_ += layout.bodyHeights[r];
        }
        y_ += mm(3);
    }

    // --- The chart and the signature block

    double chartHeightOnPage() const { return width_ * chartHeight / chartWidth; }

    void chart() {
        const double height = chartHeightOnPage();
        ensure(height);
        if (drawing_) {
            MoodyChart chart(locale_);
            chart.setResults(content_.points, content_.diameter);
            painter_->save();
            painter_->translate(0, y_);
            painter_->scale(width_ / chartWidth, height / chartHeight);
            chart.render(*painter_, QRectF(0, 0, chartWidth, chartHeight));
            painter_->restore();
        }
        y_ += height + mm(6);
    }

    // "Aufgestellt:" and three lines to write on, named below.
    void signature() {
        const QFont font = reportFont(9.5);
        const QFont small = reportFont(8);
        const double labelWidth = mm(26);
        const double lineY = mm(14);
        ensure(lineY + mm(8));
        if (drawing_) {
            painter_->setPen(Qt::black);
            TextBox(QStringLiteral("Aufgestellt:"), reportFont(9.5, true), device(), labelWidth)
                .draw(*painter_, QPointF(0, y_ + lineY - QFontMetricsF(font, device()).height()));
            const double gap = mm(6);
            const double fieldWidth = (width_ - labelWidth - 2 * gap) / 3;
            const QString names[] = {QStringLiteral("Ort, Datum"), QStringLiteral("Name"),
                                     QStringLiteral("Unterschrift")};
            for (int i = 0; i < 3; ++i) {
                const double x = labelWidth + i * (fieldWidth + gap);
                painter_->setPen(QPen(Qt::black, mm(0.2)));
                painter_->drawLine(QPointF(x, y_ + lineY), QPointF(x + fieldWidth, y_ + lineY));
                TextBox(names[i], small, device(), fieldWidth)
                    .draw(*painter_, QPointF(x, y_ + lineY + mm(1)));
            }
        }
        y_ += lineY + mm(8);
    }

    QPagedPaintDevice& device_;
    QPainter* painter_; // none while counting pages
    const Content& content_;
    const QLocale& locale_;
    int firstPage_;
    int lastPage_;
    int pageCount_;
    double dpi_;
    double width_ = 0;
    double bottom_ = 0;     // of the content
    double pageBottom_ = 0; // of the paintable area, below the footer
    int page_ = 0;
    double y_ = 0;
    bool drawing_ = false;
    bool emitted_ = false;
};

} // namespace

int pageCount(QPagedPaintDevice& device, const Content& content, const QLocale& locale) {
    return Pages(device, nullptr, content, locale, 0, 0, 0).run();
}

void paintContent(QPagedPaintDevice& device, QPainter& painter, const Content& content,
                  const QLocale& locale, int firstPage, int lastPage) {
    const int pages = pageCount(device, content, locale);
    Pages(device, &painter, content, locale, firstPage, lastPage, pages).run();
}

} // namespace kolmaris::report_detail
