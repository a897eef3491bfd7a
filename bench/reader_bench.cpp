// How long the workbook reader takes on the slowest inputs its bounds let through: each shape
// repeated as often as the bounds allow. Import runs on the GUI thread, so the figure is how
// long the window can stand still on a file.
#include "exchange/reader_common.h"
#include "exchange/sheet_results.h"
#include "exchange/workbook.h"
#include "exchange/workbook_support.h"
#include "exchange/xml_bounds.h"
#include "hostile_workbooks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <functional>
#include <string>

#include <sys/resource.h>

namespace {

using namespace kolmaris;
using namespace kolmaris::exchange_detail;

bool withinBounds(const std::string& part, std::size_t bytes, int items) {
    if (part.size() > bytes) {
        return false;
    }
    try {
        XmlBudget budget{items};
        checkXmlBounds(QByteArray::fromStdString(part), budget);
        return true;
    } catch (const WorkbookError&) {
        return false;
    }
}

// The shape with the most units the bounds let through.
std::string largestWithinBounds(const std::function<std::string(std::size_t)>& shape,
                                std::size_t bytes = maxPartBytes, int items = maxXmlItems) {
    std::size_t low = 0; // within the bounds
    std::size_t high = 1;
    while (withinBounds(shape(high), bytes, items)) {
        low = high;
        high *= 2;
    }
    while (high - low > 1) {
        const std::size_t mid = low + (high - low) / 2;
        (withinBounds(shape(mid), bytes, items) ? low : high) = mid;
    }
    return shape(low);
}

// The markup items a file's budget leaves beside `part`.
int itemsLeftBeside(const std::string& part) {
    XmlBudget budget;
    checkXmlBounds(QByteArray::fromStdString(part), budget);
    return budget.items;
}

void reportPeakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void readParts(benchmark::State& state, const std::string& sheet, const std::string& strings = {}) {
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(readResultsSheet(sheet, strings));
        } catch (const WorkbookError&) {
        }
    }
    state.counters["part_MB"] = static_cast<double>(sheet.size() + strings.size()) / 1048576.0;
    reportPeakMemory(state);
}

std::string namespacedElements(std::size_t count) {
    return hostile::manyNamespaces(maxXmlNamespaces - 1, maxXmlAttributes - 1, count);
}

void BM_ReadSheet_Attributes(benchmark::State& state) {
    readParts(state, largestWithinBounds([](std::size_t n) {
                  return hostile::manyAttributes(maxXmlAttributes, n);
              }));
}
BENCHMARK(BM_ReadSheet_Attributes)->Unit(benchmark::kMillisecond);

void BM_ReadSheet_Namespaces(benchmark::State& state) {
    readParts(state, largestWithinBounds(namespacedElements));
}
BENCHMARK(BM_ReadSheet_Namespaces)->Unit(benchmark::kMillisecond);

void BM_ReadSheet_NestedNamespaces(benchmark::State& state) {
    readParts(state, largestWithinBounds([](std::size_t n) {
                  return hostile::deepNesting(maxXmlNamespaces - 1, 1, n);
              }));
}
BENCHMARK(BM_ReadSheet_NestedNamespaces)->Unit(benchmark::kMillisecond);

void BM_ReadSheet_Depth(benchmark::State& state) {
    readParts(state, largestWithinBounds([](std::size_t n) {
                  return hostile::deepNesting(maxXmlDepth - 2, 0, n);
              }));
}
BENCHMARK(BM_ReadSheet_Depth)->Unit(benchmark::kMillisecond);

void BM_ReadSheet_EmptyCells(benchmark::State& state) {
    readParts(state, largestWithinBounds(hostile::emptyCells));
}
BENCHMARK(BM_ReadSheet_EmptyCells)->Unit(benchmark::kMillisecond);

// Rows below the table with a text in column A, each left out and listed; a unit is one row.
void BM_ReadSheet_RowsLeftOut(benchmark::State& state) {
    const std::string strings =
        std::string("<sst xmlns=\"") + hostile::mainNs + "\"><si><t>Summe</t></si></sst>";
    readParts(state,
              largestWithinBounds(
                  [](std::size_t n) {
                      return hostile::sheet(
                          "", hostile::repeated("<row><c t=\"s\"><v>0</v></c></row>", n), "");
                  },
                  maxPartBytes, itemsLeftBeside(strings)),
              strings);
}
BENCHMARK(BM_ReadSheet_RowsLeftOut)->Unit(benchmark::kMillisecond);

// Text, comments, CDATA, references and tags as long as allowed, between two tags.
void BM_ReadSheet_Between(benchmark::State& state) {
    const std::string units[] = {"x",
                                 "<!--x-->",
                                 "<![CDATA[x]]>",
                                 "&amp;",
                                 "&#65;",
                                 "<?p x?>",
                                 "<x a=\"" + std::string(maxXmlTagBytes - 16, 'v') + "\"/>"};
    const std::string& unit = units[state.range(0)];
    readParts(state, largestWithinBounds([&](std::size_t n) { return hostile::between(unit, n); }));
}
BENCHMARK(BM_ReadSheet_Between)->DenseRange(0, 6)->Unit(benchmark::kMillisecond);

void BM_ReadSheet_SharedStrings(benchmark::State& state) {
    const std::string strings[] = {"x", std::string(32767, 'x')};
    const std::string& text = strings[state.range(0)];
    const std::string sheet = hostile::sheet("", "", "");
    readParts(state, sheet,
              largestWithinBounds([&](std::size_t n) { return hostile::manyStrings(text, n); },
                                  maxPartBytes, itemsLeftBeside(sheet)));
}
BENCHMARK(BM_ReadSheet_SharedStrings)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// What the reader lets one part of a package inflate to.
std::size_t limitOf(const std::string& name) {
    return static_cast<std::size_t>(
        name == "xl/worksheets/sheet1.xml" || name == "xl/sharedStrings.xml" ? maxPartBytes
                                                                             : maxSmallPartBytes);
}

// Shared strings with one item.
std::string oneString() {
    return std::string("<sst xmlns=\"") + hostile::mainNs + "\"><si><t>x</t></si></sst>";
}

void readFile(benchmark::State& state, const hostile::Parts& parts) {
    const std::string file = hostile::packageBytes(parts);
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(readResultsWorkbookBytes(file));
        } catch (const WorkbookError&) {
        }
    }
    state.counters["file_KB"] = static_cast<double>(file.size()) / 1024.0;
    reportPeakMemory(state);
}

// A whole file: the sheet holds the slowest markup, as much as the file's budget leaves after
// the other parts, and text inside each root takes every part up to its byte limit.
void BM_ReadWorkbook_Slowest(benchmark::State& state) {
    hostile::Parts parts = hostile::workbookParts({}, {{"xl/sharedStrings.xml", oneString()}});
    int items = maxXmlItems;
    for (const auto& [name, content] : parts) {
        items -= maxXmlItems - itemsLeftBeside(content);
    }
    for (auto& [name, content] : parts) {
        if (name == "xl/worksheets/sheet1.xml") {
            content = largestWithinBounds(namespacedElements, maxPartBytes, items);
        }
        content = hostile::padded(content, 'x', true, limitOf(name));
    }
    readFile(state, parts);
}
BENCHMARK(BM_ReadWorkbook_Slowest)->Unit(benchmark::kMillisecond);

// A small file whose parts carry their content and then blanks or line feeds up to the byte
// limit of a sheet; then one with blanks or text inside each root, up to each part's limit.
void BM_ReadWorkbook_Padded(benchmark::State& state) {
    const char fill = " \n x"[state.range(0)];
    const bool inside = state.range(0) >= 2;
    hostile::Parts parts =
        hostile::workbookParts(hostile::sheet("", "", ""), {{"xl/sharedStrings.xml", oneString()}});
    for (auto& [name, content] : parts) {
        content = hostile::padded(content, fill, inside, inside ? limitOf(name) : maxPartBytes);
    }
    readFile(state, parts);
}
BENCHMARK(BM_ReadWorkbook_Padded)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// A full table the program wrote whose medium, material and notes cells all point at one
// shared string as long as its part may be, after a blank: "; " over and over, then the laminar
// note over and over. Each cell is then megabytes that no name or note of ours can be.
void BM_ReadWorkbook_OneStringEverywhere(benchmark::State& state) {
    const std::string units[] = {"; ", hostile::laminarNoteXml()};
    readFile(state, hostile::oneHugeString(units[state.range(0)], maxPartBytes));
}
BENCHMARK(BM_ReadWorkbook_OneStringEverywhere)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace
