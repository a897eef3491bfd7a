// The check calculation of a full table against the 28 calculations that wrote it, in the same
// run: the tooltips ask for the check of every row, so it should cost no more than those calls.
// The summary at the end prints the ratio.

#include "calc/calculation.h"
#include "calc/media.h"
#include "calc/result_check.h"
#include "results/check_text.h"
#include "results/table_layout.h"

#include "median_ratio.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace kolmaris;

struct Row {
    CalculationRecord inputs; // only the four inputs set
    Material material;
};

// A full table of water, the medium whose check costs most (it adds the IAPWS properties):
// 10 to 200 mm, about 1 m/s, 1.5 to 96 °C, every material in turn.
std::vector<Row> table() {
    std::vector<Row> rows;
    for (int i = 0; i < maxResults; ++i) {
        Row row{};
        const double millimetres = 10 * std::pow(20.0, i / (maxResults - 1.0));
        row.inputs.diameterInput = millimetres;
        row.inputs.flowRateInput = 60000 * 0.785 * std::pow(millimetres / 1000, 2);
        row.inputs.lengthInput = 10;
        row.inputs.temperatureInput = 1.5 + 3.5 * i;
        row.material = materialOrder.items[i % std::size(materialOrder.items)];
        rows.push_back(row);
    }
    return rows;
}

std::vector<CalculationRecord> completed(const std::vector<Row>& rows) {
    std::vector<CalculationRecord> records;
    SilentSink silent;
    for (const Row& row : rows) {
        CalculationRecord r = row.inputs;
        calculate(r, Medium::Water, row.material, silent);
        records.push_back(r);
    }
    return records;
}

void Calculate(benchmark::State& state) {
    const std::vector<Row> rows = table();
    SilentSink silent;
    for (auto _ : state) {
        for (const Row& row : rows) {
            CalculationRecord r = row.inputs;
            calculate(r, Medium::Water, row.material, silent);
            benchmark::DoNotOptimize(r.lossTotal);
        }
    }
}

void Check(benchmark::State& state) {
    const std::vector<CalculationRecord> records = completed(table());
    for (auto _ : state) {
        for (const CalculationRecord& r : records) {
            benchmark::DoNotOptimize(checkResult(r, Medium::Water));
        }
    }
}

// The check with its tooltip line, as the grid asks for it.
void CheckText(benchmark::State& state) {
    const std::vector<CalculationRecord> records = completed(table());
    for (auto _ : state) {
        for (const CalculationRecord& r : records) {
            benchmark::DoNotOptimize(checkText(checkResult(r, Medium::Water), NumberFormat{','}));
        }
    }
}

} // namespace

BENCHMARK(Calculate)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Check)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(CheckText)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    kolmaris::bench::MedianRatioReporter reporter("Calculate",
                                                  "Median CPU time: 28 calculations, the check of "
                                                  "the 28 results, and the check with its text");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
