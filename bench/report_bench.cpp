// How long writing the report of a full table takes, "Als PDF speichern…" and --report alike,
// and how much memory the process needs for it. The PDF is painted on the GUI thread.
#include "app/report/report.h"
#include "calc/calculation.h"
#include "exchange/workbook.h"
#include "results/result_store.h"
#include "results/table_layout.h"

#include <QApplication>
#include <QDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

using namespace kolmaris;

// 28 results of water, oil, gas and air through every material, some of them laminar.
std::vector<ResultValues> fullTable() {
    SilentSink silent;
    std::vector<ResultValues> results;
    for (int i = 0; i < maxResults; ++i) {
        CalculationRecord record{};
        record.diameterInput = 15 + 7.5 * i;
        record.flowRateInput = i % 5 == 4 ? 0.5 : 20 + 33.25 * i;
        record.lengthInput = 3 + i;
        record.temperatureInput = 5 + 3.5 * i;
        const auto medium = static_cast<Medium>(i % 4);
        const auto material = static_cast<Material>(i % 5);
        calculate(record, medium, material, silent);
        results.push_back(resultOf(record, medium, material));
    }
    return results;
}

void recordPeakMemory(benchmark::State& state) {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}

struct Table {
    Table() { store.append(fullTable(), context.numbers.format); }
    ResultStore store;
    ReportContext context{numberSettingsOf(QLocale(QLocale::German, QLocale::Germany)),
                          QDateTime::currentDateTime()};
};

// Painting the pages into a PDF in memory.
void BM_ReportPdf(benchmark::State& state) {
    const Table table;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reportPdf(table.store.values(), table.context));
    }
    recordPeakMemory(state);
}
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond);

// The whole save: painting, the temporary file, its sync to disk and the rename.
void BM_SaveReportPdf(benchmark::State& state) {
    const Table table;
    const std::string path =
        QDir::temp().filePath(QStringLiteral("kolmaris-bench.pdf")).toStdString();
    for (auto _ : state) {
        saveReportPdf(path, table.store.values(), table.context);
    }
    std::remove(path.c_str());
    recordPeakMemory(state);
}
BENCHMARK(BM_SaveReportPdf)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char* argv[]) {
    // The chart's painter needs an application, which needs no display here.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
