// The friction-factor search against the plain sweep it must reproduce, on the situations that
// decide its cost. Each case runs both; the summary at the end prints their ratio.

#include "calc/calculation.h"
#include "calc/friction_reference.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <random>
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

// Realistic inputs as the window takes them: diameters 5 to 1000 mm and flows 0.1 to
// 100,000 dm³/min (both spread evenly on a log scale), every medium and material, 0 to 100 °C.
std::vector<Situation> realisticInputs(std::size_t count) {
    struct Quiet : kolmaris::MessageSink {
        void showMessage(const std::string&, kolmaris::MessageStyle, const std::string&) override {}
    } quiet;
    std::mt19937_64 random(20261209);
    std::uniform_real_distribution<double> logDiameter(std::log(5.0), std::log(1000.0));
    std::uniform_real_distribution<double> logFlow(std::log(0.1), std::log(100000.0));
    std::uniform_real_distribution<double> temperature(0, 100);
    std::vector<Situation> inputs;
    while (inputs.size() < count) {
        CalculationRecord r;
        r.diameterInput = std::exp(logDiameter(random));
        r.flowRateInput = std::exp(logFlow(random));
        r.lengthInput = 1;
        r.temperatureInput = temperature(random);
        const auto medium = static_cast<kolmaris::Medium>(random() % 4);
        const auto material = static_cast<kolmaris::Material>(random() % 5);
        try {
            kolmaris::calculate(r, medium, material, quiet);
        } catch (const kolmaris::ArithmeticFailure&) {
        }
        inputs.push_back({"SlowestRealistic", r.diameter, r.roughness, r.reynolds});
    }
    return inputs;
}

double secondsFor(const Situation& s, int repetitions) {
    double best = 1e300;
    for (int i = 0; i < repetitions; ++i) {
        CalculationRecord r;
        r.diameter = s.diameter;
        r.roughness = s.roughness;
        r.reynolds = s.reynolds;
        const auto start = std::chrono::steady_clock::now();
        try {
            kolmaris::findFrictionFactor(r);
        } catch (const kolmaris::ArithmeticFailure&) {
        }
        benchmark::DoNotOptimize(r.lambda);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

// The slowest of 100,000 realistic inputs for the fast search. Each is timed once; the hundred
// slowest again, at their best of many runs, so that a moment of load on a shared machine does
// not pick the input.
Situation slowestRealistic() {
    std::vector<std::pair<double, Situation>> timed;
    for (const Situation& s : realisticInputs(100000)) {
        timed.emplace_back(secondsFor(s, 1), s);
    }
    const auto top = timed.begin() + 100;
    std::partial_sort(timed.begin(), top, timed.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    for (auto it = timed.begin(); it != top; ++it) {
        it->first = secondsFor(it->second, 200);
    }
    const auto slowest = std::max_element(
        timed.begin(), top, [](const auto& a, const auto& b) { return a.first < b.first; });
    const Situation& s = slowest->second;
    std::printf("Slowest of 100,000 realistic inputs: d = %.17g m, k = %.17g m, Re = %.17g "
                "(best of 200 runs: %.3f \u00b5s)\n",
                s.diameter, s.roughness, s.reynolds, slowest->first * 1e6);
    return s;
}

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
    std::vector<Situation> all(std::begin(situations), std::end(situations));
    all.push_back(slowestRealistic());
    for (const Situation& s : all) {
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
