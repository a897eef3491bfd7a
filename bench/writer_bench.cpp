// How long writing a full results table takes, from the numbers to the renamed file. Export
// runs on the GUI thread, so the figure is how long the window stands still.
#include "exchange/workbook.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

using namespace kolmaris;

void BM_WriteWorkbook_FullTable(benchmark::State& state) {
    std::vector<ResultValues> results;
    for (int i = 0; i < maxResults; ++i) {
        ResultValues v{i * 1.005, i * 10.125, i * 12345.675, i * 1e5 + 0.5, 1.0 / (i + 7)};
        v.origin.inputs =
            ResultInputs{25.0 + i, 100.0 / 3, 0.1 + 0.2, -5.5, Medium::Water, Material::Copper};
        v.origin.notes = {{ResultNote::Kind::Laminar, 64 / 1999.0},
                          {ResultNote::Kind::ColderThanTable, 0}};
        results.push_back(v);
    }
    QTemporaryDir dir;
    const std::string path = dir.filePath("Kolmaris-Ergebnisse.xlsx").toStdString();
    for (auto _ : state) {
        writeResultsWorkbook(results, NumberFormat{','}, path);
    }
}
BENCHMARK(BM_WriteWorkbook_FullTable)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
