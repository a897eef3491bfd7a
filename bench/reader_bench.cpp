// How long the workbook reader takes on the slowest inputs its bounds let through: each shape
// repeated as often as the bounds allow. Import runs on the GUI thread, so the figure is how
// long the window can stand still on a file.
#include "exchange/sheet_results.h"
#include "exchange/workbook.h"
#include "exchange/workbook_support.h"
#include "exchange/xml_bounds.h"
#include "hostile_workbooks.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include <sys/resource.h>

namespace {

using namespace kolmaris;
using namespace kolmaris::exchange_detail;

constexpr std::size_t partBytes = 8 * 1024 * 1024; // the reader's limit for one part

bool withinBounds(const std::string& part) {
    if (part.size() > partBytes) {
        return false;
    }
    try {
        checkXmlBounds(QByteArray::fromStdString(part));
        return true;
    } catch (const WorkbookError&) {
        return false;
    }
}

// The shape with the most units the bounds let through.
std::string largestWithinBounds(const std::function<std::string(std::size_t)>& shape) {
    std::size_t low = 0; // within the bounds
    std::size_t high = 1;
    while (withinBounds(shape(high))) {
        low = high;
        high *= 2;
    }
    while (high - low > 1) {
        const std::size_t mid = low + (high - low) / 2;
        (withinBounds(shape(mid)) ? low : high) = mid;
    }
    return shape(low);
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
    readParts(state, largestWithinBounds([](std::size_t n) {
                  return hostile::sheet(
                      "", hostile::repeated("<row><c t=\"s\"><v>0</v></c></row>", n), "");
              }),
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
    readParts(state, hostile::sheet("", "", ""),
              largestWithinBounds([&](std::size_t n) { return hostile::manyStrings(text, n); }));
}
BENCHMARK(BM_ReadSheet_SharedStrings)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// A whole file: the sheet and the shared strings hold the slowest shape above, and so do the
// workbook part and both relationship parts, where it stands before what the reader looks for.
void BM_ReadWorkbook_Slowest(benchmark::State& state) {
    const std::string slow = largestWithinBounds(namespacedElements);
    const std::size_t from = slow.find("<n1000:x");
    const std::string element = slow.substr(from, slow.find("/>", from) + 2 - from);
    const std::size_t first = slow.find(" xmlns:", slow.find("<worksheet"));
    const std::string declarations = slow.substr(first, slow.find('>', first) - first);
    hostile::Parts parts = hostile::workbookParts(slow, {{"xl/sharedStrings.xml", slow}});
    for (auto& [name, content] : parts) {
        if (name == "xl/worksheets/sheet1.xml" || name == "xl/sharedStrings.xml") {
            continue;
        }
        const std::size_t root = content.find('>', content.find("?>") + 2);
        const std::size_t body = content.find('>', root + 1) + 1; // after the first child's tag
        const std::string prefix = content.substr(0, root) + declarations + ">";
        content = largestWithinBounds([&](std::size_t n) {
            return prefix + content.substr(root + 1, body - root - 1) +
                   hostile::repeated(element, n) + content.substr(body);
        });
    }
    const std::string file = hostile::packageBytes(parts);
    for (auto _ : state) {
        try {
            benchmark::DoNotOptimize(readResultsWorkbookBytes(file));
        } catch (const WorkbookError&) {
        }
    }
    state.counters["file_MB"] = static_cast<double>(file.size()) / 1048576.0;
    reportPeakMemory(state);
}
BENCHMARK(BM_ReadWorkbook_Slowest)->Unit(benchmark::kMillisecond);

} // namespace
