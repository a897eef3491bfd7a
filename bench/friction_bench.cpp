// The friction-factor search against the plain sweep it must reproduce, on the situations that
// decide its cost. Each case runs both; the summary at the end prints their ratio.

#include "calc/calculation.h"
#include "calc/friction_reference.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

using kolmaris::CalculationRecord;

struct Situation {
    const char* name;
    double diameter, roughness, reynolds;
    // Where the sweep itself is quick, milliseconds would show it as 0.000.
    benchmark::TimeUnit referenceUnit = benchmark::kMillisecond;
};

// Water at 20 °C through stainless steel unless said otherwise.
const Situation situations[] = {
    // 50 mm black iron, 100 dm³/min: the first pass accepts candidate 24.
    {"PassOneAccepts", 0.05, 0.000045, 42004.2, benchmark::kMicrosecond},
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
    // million on, and the search must find the first that does. Inputs like this one are the
    // slowest found for the fast search, among many thousands of random ones over every range.
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

// A time per iteration in the unit that shows its digits: microseconds below a millisecond,
// where milliseconds would read 0.000.
std::string duration(double seconds) {
    char text[32];
    if (seconds < 1e-3) {
        std::snprintf(text, sizeof text, "%11.3f \u00b5s", seconds * 1e6);
    } else {
        std::snprintf(text, sizeof text, "%11.3f ms", seconds * 1e3);
    }
    return text;
}

// Prints the usual table, then reference time over fast time for every situation. The times
// are CPU times, which other work on a shared machine inflates far less than wall-clock ones;
// with repetitions, each side counts with the median of its repetitions.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type == Run::RT_Aggregate && !median) {
                continue;
            }
            // "Kind/Situation/min_time:..." as registered below.
            const std::string name = run.run_name.function_name;
            const auto slash = name.find('/');
            Times& times = times_[name.substr(slash + 1)][name.substr(0, slash)];
            const double seconds =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            (median ? times.median : times.repetitions).push_back(seconds);
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
            const double refTime = ref->second.typical();
            const double fastTime = fast->second.typical();
            std::printf("%-20s %s %s %11.2fx\n", situation.c_str(), duration(refTime).c_str(),
                        duration(fastTime).c_str(), refTime / fastTime);
        }
    }

private:
    struct Times {
        std::vector<double> repetitions;
        std::vector<double> median; // the library's own, when only aggregates are reported
        double typical() const {
            if (!median.empty()) {
                return median.front();
            }
            std::vector<double> sorted = repetitions;
            std::sort(sorted.begin(), sorted.end());
            const std::size_t n = sorted.size();
            return n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
        }
    };
    std::map<std::string, std::map<std::string, Times>> times_;
};

} // namespace

int main(int argc, char** argv) {
    for (const Situation& s : situations) {
        benchmark::RegisterBenchmark((std::string("Reference/") + s.name).c_str(),
                                     runSearch<kolmaris::referenceFrictionFactorSweep>, s)
            ->Unit(s.referenceUnit)
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
