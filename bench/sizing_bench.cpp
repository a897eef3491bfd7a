// Sizing over the longest standard series against as many plain calculations in the same run:
// the sizing adds only its checks, so it should take no longer than those calls.

#include "calc/media.h"
#include "sizing/pipe_sizing.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>

namespace {

using namespace kolmaris;

const std::vector<PipeSize>& longestSeries(Material& material) {
    const Material all[] = {Material::GalvanisedIron, Material::StainlessSteel, Material::Plastic,
                            Material::Copper};
    material = *std::max_element(std::begin(all), std::end(all), [](Material a, Material b) {
        return standardSeries(a).size() < standardSeries(b).size();
    });
    return standardSeries(material);
}

// The README's case: 30 dm³/min of water at 60 °C through 25 m.
SizingRequest requestFor(Material material) {
    const SizingLimits limits = defaultLimits(Medium::Water);
    return {30, 25, 60, Medium::Water, material, limits.maxVelocity, limits.maxLossPerMetre};
}

void SizePipe(benchmark::State& state) {
    Material material{};
    const auto& series = longestSeries(material);
    const SizingRequest request = requestFor(material);
    for (auto _ : state) {
        benchmark::DoNotOptimize(sizePipe(request, series));
    }
    state.counters["sizes"] = static_cast<double>(series.size());
}

void Calculate(benchmark::State& state) {
    Material material{};
    const auto& series = longestSeries(material);
    const SizingRequest request = requestFor(material);
    SilentSink silent;
    for (auto _ : state) {
        for (const PipeSize& size : series) {
            CalculationRecord record;
            record.diameterInput = size.innerDiameter;
            record.flowRateInput = request.flowRate;
            record.lengthInput = request.length;
            record.temperatureInput = request.temperature;
            calculate(record, request.medium, request.material, silent);
            benchmark::DoNotOptimize(record.lossTotal);
        }
    }
    state.counters["sizes"] = static_cast<double>(series.size());
}

BENCHMARK(SizePipe)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(Calculate)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
