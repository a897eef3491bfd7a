#pragma once

// A benchmark reporter that prints the usual table and then each case's median CPU time against
// that of one baseline case measured in the same run.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace kolmaris::bench {

class MedianRatioReporter : public benchmark::ConsoleReporter {
public:
    // `heading` says what the cases measure.
    MedianRatioReporter(std::string baseline, std::string heading)
        : baseline_(std::move(baseline)), heading_(std::move(heading)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                median_[run.run_name.function_name] =
                    run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto base = median_.find(baseline_);
        if (base == median_.end()) {
            return;
        }
        std::printf("\n%s\n", heading_.c_str());
        for (const auto& [name, seconds] : median_) {
            std::printf("%-18s %9.2f \u00b5s, %5.2fx %s\n", name.c_str(), seconds * 1e6,
                        seconds / base->second, baseline_.c_str());
        }
    }

private:
    std::string baseline_;
    std::string heading_;
    std::map<std::string, double> median_;
};

} // namespace kolmaris::bench
