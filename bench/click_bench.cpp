// How long one "Berechnen" takes from the click to the painted grid with its columns fitted,
// with some results already standing, and a whole table filled from empty. Runs offscreen.
#include "app/platform/file_dialogs.h"
#include "app/window/main_window.h"
#include "calc/message_sink.h"
#include "results/table_layout.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace kolmaris;

class NoFiles : public FileDialogs {
public:
    QString saveFileName(QWidget*, const QString&) override { return {}; }
    QString openFileName(QWidget*) override { return {}; }
    QString pictureFileName(QWidget*, const QString&) override { return {}; }
    QString reportFileName(QWidget*, const QString&) override { return {}; }
};

// A shown window with water through black iron typed in, ready for its clicks.
class ClickedWindow {
public:
    ClickedWindow()
        : window_(std::make_unique<MainWindow>(sink_, files_, QLocale(QLocale::German), [] {})) {
        const char* const inputs[][2] = {
            {"Text1", "50"}, {"Text2", "100"}, {"Text3", "10"}, {"Text4", "20"}};
        for (const auto& input : inputs) {
            window_->findChild<QLineEdit*>(QLatin1String(input[0]))
                ->setText(QString::fromLatin1(input[1]));
        }
        window_->findChild<QRadioButton*>(QStringLiteral("Option1_0"))->setChecked(true);
        window_->findChild<QRadioButton*>(QStringLiteral("Option6"))->setChecked(true);
        calculate_ = window_->findChild<QPushButton*>(QStringLiteral("Command1"));
        window_->show();
        QApplication::processEvents();
    }

    // The click, and everything the event loop does for it until the grid is painted.
    void click() {
        calculate_->click();
        QApplication::processEvents();
    }

private:
    SilentSink sink_;
    NoFiles files_;
    std::unique_ptr<MainWindow> window_;
    QPushButton* calculate_ = nullptr;
};

void BM_ClickWithResultsStanding(benchmark::State& state) {
    // Each window is closed untimed, when the next one is made.
    std::unique_ptr<ClickedWindow> window;
    for (auto _ : state) {
        state.PauseTiming();
        window = std::make_unique<ClickedWindow>();
        for (int i = 0; i < state.range(0); ++i) {
            window->click();
        }
        state.ResumeTiming();
        window->click();
    }
}
BENCHMARK(BM_ClickWithResultsStanding)
    ->Arg(0)
    ->Arg(14)
    ->Arg(maxResults - 1)
    ->Iterations(60)
    ->UseRealTime()
    ->Unit(benchmark::kMicrosecond);

void BM_FullTableFromEmpty(benchmark::State& state) {
    std::unique_ptr<ClickedWindow> window;
    for (auto _ : state) {
        state.PauseTiming();
        window = std::make_unique<ClickedWindow>();
        state.ResumeTiming();
        for (int i = 0; i < maxResults; ++i) {
            window->click();
        }
    }
    state.counters["per_click_us"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * maxResults,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FullTableFromEmpty)->Iterations(20)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // No display needed, and none used even where there is one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The offscreen platform remarks on every window shown; the figures are what counts here.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
