// Z for a full table, 28 rows of 20 fittings each, against the 28 calculations that give those
// rows, in the same run; the summary at the end prints their ratio. Reading the longest items'
// text a row may hold shows that a workbook's cells cost no more than the Z they carry.

#include "calc/calculation.h"
#include "fittings/fittings.h"
#include "results/table_layout.h"

#include "median_ratio.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

using namespace kolmaris;

// Water at 60 °C through copper, 12 to 66 mm, 5 to 140 dm³/min.
CalculationRecord rowInputs(int row) {
    CalculationRecord record;
    record.diameterInput = 12 + 2 * row;
    record.flowRateInput = 5 + 5 * row;
    record.lengthInput = 10;
    record.temperatureInput = 60;
    return record;
}

// Twenty items drawn from every part of the catalogue, so each way to a ζ is taken.
std::vector<FittingItem> twentyItems() {
    std::vector<FittingItem> items;
    for (std::size_t i = 0; items.size() < 20; ++i) {
        FittingItem item = defaultFittingItem(static_cast<FittingKind>(i % fittingKindCount));
        item.count = 1 + static_cast<int>(i % 3);
        items.push_back(item);
    }
    return items;
}

void Calculate(benchmark::State& state) {
    SilentSink silent;
    for (auto _ : state) {
        for (int row = 0; row < maxResults; ++row) {
            CalculationRecord record = rowInputs(row);
            calculate(record, Medium::Water, Material::Copper, silent);
            benchmark::DoNotOptimize(record.lossTotal);
        }
    }
}

void Fittings(benchmark::State& state) {
    SilentSink silent;
    std::vector<FittingFlow> flows;
    for (int row = 0; row < maxResults; ++row) {
        CalculationRecord record = rowInputs(row);
        calculate(record, Medium::Water, Material::Copper, silent);
        flows.push_back({record.density, record.velocity, record.lambda, record.diameterInput,
                         record.flowRateInput});
    }
    const std::vector<FittingItem> items = twentyItems();
    for (auto _ : state) {
        for (const FittingFlow& flow : flows) {
            benchmark::DoNotOptimize(fittingsLoss(items, flow).loss);
        }
    }
}

// 50 items of the longest kind with 17-digit numbers: the longest text the writer makes.
void ParseLongestText(benchmark::State& state) {
    const std::string text = fittingsText(std::vector<FittingItem>(
        maxFittingItems,
        {FittingKind::TeeRunMerge, {0.98999999999999988, 0.20000000000000004}, maxFittingCount}));
    for (auto _ : state) {
        benchmark::DoNotOptimize(parseFittingsText(text).size());
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}

BENCHMARK(Calculate)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Fittings)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ParseLongestText)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    kolmaris::bench::MedianRatioReporter reporter(
        "Calculate", "Median CPU time: 28 calculations, Z of 28 rows of 20 items, and parsing the "
                     "longest items text");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
