// Renders the dialog "Einzelwiderstände" and the window "Strang auswerten" for the README: a
// heating circuit of three sections of copper, water at 60 °C, German number settings; prints
// each section's R·l, Z and the share Z adds.
// Usage: kolmaris_fittings_figure DIALOG.png RUN.png (run under QT_QPA_PLATFORM=offscreen)

#include "app/fittings/fittings_dialog.h"
#include "app/fittings/run_window.h"
#include "calc/calculation.h"

#include <QApplication>
#include <QHeaderView>
#include <QPixmap>
#include <QTableWidget>

#include <algorithm>
#include <cstdio>

namespace {

using namespace kolmaris;

struct Section {
    double diameter; // mm
    double flowRate; // dm³/min
    double length;   // m
    std::vector<FittingItem> fittings;
};

ResultValues calculated(const Section& section) {
    CalculationRecord record;
    record.diameterInput = section.diameter;
    record.flowRateInput = section.flowRate;
    record.lengthInput = section.length;
    record.temperatureInput = 60;
    SilentSink silent;
    calculate(record, Medium::Water, Material::Copper, silent);
    ResultValues values = resultOf(record, Medium::Water, Material::Copper);
    values.origin.fittings = section.fittings;
    return values;
}

// The offscreen screen is small; the picture shows the dialog as a larger screen does, with
// every line and column whole.
void showWhole(QWidget& dialog) {
    dialog.show();
    QApplication::processEvents();
    auto* table = dialog.findChild<QTableWidget*>();
    table->horizontalHeader()->setStretchLastSection(false);
    table->resizeColumnsToContents();
    int width = 2 * table->frameWidth();
    for (int c = 0; c < table->columnCount(); ++c) {
        width += table->columnWidth(c);
    }
    table->horizontalHeader()->setStretchLastSection(true);
    int height = 2 * table->frameWidth() + table->horizontalHeader()->height();
    for (int r = 0; r < table->rowCount(); ++r) {
        height += table->rowHeight(r);
    }
    dialog.resize(dialog.width() +
                      std::max(0, width - table->viewport()->width() - 2 * table->frameWidth()),
                  dialog.height() + std::max(0, height - table->height()));
}

bool save(QWidget& widget, const char* path) {
    widget.show();
    QApplication::processEvents();
    if (!widget.grab().save(QString::fromLocal8Bit(path), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", path);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DIALOG.png RUN.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    using K = FittingKind;
    const auto item = [](K kind, int count, double a = 0, double b = 0) {
        FittingItem made = defaultFittingItem(kind);
        made.count = count;
        if (factsOf(kind).parameterCount > 0) {
            made.values[0] = a;
        }
        if (factsOf(kind).parameterCount > 1) {
            made.values[1] = b;
        }
        return made;
    };
    // Boiler to the first tee, the tee to the radiator, its valve and the return.
    const Section sections[] = {
        {20, 15, 8, {item(K::Bend90, 4, 1.5), item(K::BallValve, 2), item(K::UserZeta, 1, 2.5)}},
        {13,
         4,
         6,
         {item(K::TeeBranchSplit, 1, 0.27, 0.65), item(K::Bend90, 3, 1.5),
          item(K::UserKv, 1, 1.5)}},
        {20, 15, 8, {item(K::Bend90, 4, 1.5), item(K::SwingCheckValve, 1)}},
    };
    std::vector<RunSection> run;
    for (const Section& section : sections) {
        const ResultValues values = calculated(section);
        const SectionLoss loss = sectionLossOf(values);
        std::printf("Nr. %zu: di %g mm, v %.3f m/s, R·l %.1f Pa, Σζ %.3f, Z %.1f Pa (+%.0f %%)\n",
                    run.size() + 1, section.diameter, values.velocity, loss.pipeLoss,
                    loss.fittings->zetaSum, loss.fittings->loss,
                    100 * loss.fittings->loss / loss.pipeLoss);
        run.push_back({static_cast<int>(run.size()) + 1, values});
    }
    const NumberSettings german = numberSettingsOf(QLocale(QLocale::German, QLocale::Germany));
    FittingsDialog dialog(2, run[1].values, german, [](const std::vector<FittingItem>&) {});
    RunWindow window(run, german);
    std::printf("run: %.1f Pa\n", window.run().total);
    showWhole(dialog);
    return save(dialog, argv[1]) && save(window, argv[2]) ? 0 : 1;
}
