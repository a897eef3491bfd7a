#pragma once

#include "app/chart/moody_chart.h"
#include "app/report/report.h"

#include <QString>

#include <optional>
#include <vector>

// What the report says, before it is laid out on pages.
namespace kolmaris::report_detail {

struct Cell {
    QString text;
    int span = 1;       // columns the cell covers
    bool right = false; // numbers sit right, texts left
};
using Row = std::vector<Cell>;

// A table with header rows that repeat on every page it runs onto.
struct Table {
    int columns = 0;
    std::vector<Row> header;
    std::vector<Row> body;
};

struct Block {
    enum class Kind { Title, Byline, Heading, Paragraph, Table, Chart, Signature };
    Kind kind = Kind::Paragraph;
    QString text;
    Table table;
};

struct Content {
    std::vector<Block> blocks;
    // The chart's points and the diameter of its material curves.
    std::vector<MoodyPoint> points;
    std::optional<double> diameter;
    // Left in every page's footer; the page number goes right.
    QString footer;
};

// The report of the standing results, in table order with their origins.
Content contentOf(const std::vector<ResultValues>& results, const ReportContext& context);

// The number of pages the content takes on the device, laid out and not painted.
int pageCount(QPagedPaintDevice& device, const Content& content, const QLocale& locale);

// Lays the content out on the device's pages and paints pages `firstPage` to `lastPage`
// (from 1; 0 for all). The painter is active on the device.
void paintContent(QPagedPaintDevice& device, QPainter& painter, const Content& content,
                  const QLocale& locale, int firstPage, int lastPage);

} // namespace kolmaris::report_detail
