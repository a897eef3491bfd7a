// The friction-factor search against the plain sweep it must reproduce, on the situations that
// decide its cost. Each case runs both; the summary at the end prints their ratio.

#include "calculation.h"
#include "friction_reference.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

using kolmaris::CalculationRecord;

struct Situation {
    const char* name;
    double diameter, roughness, reynolds;
};

// Water at 20 °C through stainless steel unless said otherwise.
const Situation situations[] = {
    // 50 mm black iron, 100 dm³/min: the first pass accepts candidate 24.
    {"PassOneAccepts", 0.05, 0.000045, 42004.2},
    // 100 mm, 1000 dm³/min: passes one and two run out, the third accepts.
    {"PassThreeAccepts", 0.1, 0.0000015, 210021},
    // 1000 mm, 1,000,000 dm³/min: all three passes run out.
    {"AllPassesRunOut", 1, 0.0000015, 21002100},
    // 0.01 mm galvanised at a creeping flow: the balance never changes sign, and the failing
    // search must show that for the whole sweep.
    {"NeverChangesSign", 0.00001, 0.00015, 50},
    // A creeping flow in a pipe barely wider than its roughness: the third pass accepts near
    // the end of the sweep, after some 9.6 million candidates.
    {"LateAcceptance", 0.00015 / (3.72 * 0.99), 0.00015, 0.01},
    // An absurd negative flow through a hair-thin pipe: candidates overflow from about two
    // million on, and the search must find the first that does. The slowest input found for
    // the fast search, among some 400,000 random ones over every range.
    {"OverflowMidSweep", 2.8746039327103223e-07, 0.000007, -5.0585604287440895e+305},
};

template <void (*Search)(CalculationRecord&)> void runSearch(benchmark::State& state, Situation s) {
    for (auto _ : state) {
        CalculationRecord r;
        r.diameter = s.diameter;
        r.roughness = s.roughness;
        r.reynolds = s.reynolds;
        try {
            Search(r);
        } catch (const kolmaris::ArithmeticFailure&) {
        }
        benchmark::DoNotOptimize(r.lambda);
    }
}

// Prints the usual table, then reference time over fast time for every situation (seconds
// per iteration, whatever unit each benchmark displays).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // "Kind/Situation/min_time:..." as registered below.
            const std::string name = run.benchmark_name();
            const auto first = name.find('/');
            const auto second = name.find('/', first + 1);
            times_[name.substr(first + 1, second - first - 1)][name.substr(0, first)] =
                run.real_accumulated_time / static_cast<double>(run.iterations);
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-20s %14s %14s %12s\n", "situation", "reference", "fast", "ratio");
        for (const auto& [situation, byKind] : times_) {
            const auto ref = byKind.find("Reference");
            const auto fast = byKind.find("Fast");
            if (ref == byKind.end() || fast == byKind.end()) {
                continue;
            }
            std::printf("%-20s %11.3f ms %11.4f ms %11.1fx\n", situation.c_str(), ref->second * 1e3,
                        fast->second * 1e3, ref->second / fast->second);
        }
    }

private:
    std::map<std::string, std::map<std::string, double>> times_;
};

} // namespace

int main(int argc, char** argv) {
    for (const Situation& s : situations) {
        benchmark::RegisterBenchmark((std::string("Reference/") + s.name).c_str(),
                                     runSearch<kolmaris::referenceFrictionFactorSweep>, s)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(0.5);
        benchmark::RegisterBenchmark((std::string("Fast/") + s.name).c_str(),
                                     runSearch<kolmaris::findFrictionFactor>, s)
            ->Unit(benchmark::kMicrosecond)
            ->MinTime(0.2);
    }
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
