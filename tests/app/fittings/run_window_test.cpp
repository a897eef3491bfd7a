#include "app/fittings/run_window.h"
#include "app/grid/results_grid.h"
#include "calc/calculation.h"
#include "calc/media.h"
#include "calculated.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLabel>

#include <gtest/gtest.h>

namespace kolmaris {
namespace {

using namespace test_support;

// A calculated row with one own ζ, or one Kv valve, or nothing, whose Z the test knows.
struct Planned {
    Medium medium;
    double zeta; // 0: none
    double kv;   // 0: none
    bool keepInputs;
};

ResultValues row(const Planned& p) {
    ResultValues values =
        test_support::calculatedFrom({20, 12, 10, 20, p.medium, Material::Copper});
    if (p.zeta > 0) {
        values.origin.fittings.push_back({FittingKind::UserZeta, {p.zeta, 0}, 2});
    }
    if (p.kv > 0) {
        values.origin.fittings.push_back({FittingKind::UserKv, {p.kv, 0}, 1});
    }
    if (!p.keepInputs) {
        values.origin.inputs.reset();
    }
    return values;
}

// Z by the formulas themselves: 2 · ζ · ρ · v² / 2, and 10⁵ · ρ/1000 · (Q / Kv)², Q in m³/h.
double plannedZ(const Planned& p, const ResultValues& values) {
    const double rho = densityOf(p.medium);
    const double q = 12 * 60 / 1000.0;
    return (p.zeta > 0 ? 2 * p.zeta * rho * values.velocity * values.velocity / 2 : 0) +
           (p.kv > 0 ? 1e5 * rho / 1000 * (q / p.kv) * (q / p.kv) : 0);
}

TEST(RunWindow, AddsTheSectionsAndGivesTheTotalInEveryUnitAndAsAHead) {
    struct Case {
        std::vector<Planned> sections;
        const char* head;  // part of the head's line
        const char* lacks; // part of a line on what the total lacks; empty: none
    };
    const Case cases[] = {
        {{{Medium::Water, 2.5, 0, true},
          {Medium::Water, 0, 1.6, true},
          {Medium::Water, 0, 0, true}},
         "m bei Wasser (ρ = 1000 kg/m³)",
         ""},
        {{{Medium::Water, 1, 0, true}, {Medium::FuelOil, 4, 0, true}},
         "die Teilstrecken führen verschiedene Medien",
         ""},
        {{{Medium::Water, 1, 0, true}, {Medium::Water, 3, 0, false}},
         "m bei Wasser",
         "Nr. 2 nur mit R·l, Z nicht bestimmbar"},
    };
    const NumberFormat comma{','};
    const auto fixed = [&comma](double value, int decimals) {
        return QString::fromStdString(formatFixed(value, decimals, comma));
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.head);
        std::vector<RunSection> sections;
        double total = 0;
        for (const Planned& p : c.sections) {
            const ResultValues values = row(p);
            sections.push_back({static_cast<int>(sections.size()) + 1, values});
            total += values.lossTotal + (p.keepInputs ? plannedZ(p, values) : 0);
        }
        RunWindow window(sections, numberSettingsOf(german));
        window.show();
        EXPECT_NEAR(window.run().total, total, 1e-9 * total);
        const QString totals = window.findChild<QLabel*>(QStringLiteral("totals"))->text();
        const double run = window.run().total;
        EXPECT_TRUE(
            totals.startsWith(QStringLiteral("Gesamt: %1 Pa = %2 mbar = %3 kPa\n")
                                  .arg(fixed(run, 2), fixed(run / 100, 2), fixed(run / 1000, 3))))
            << totals.toStdString();
        EXPECT_TRUE(totals.contains(QStringLiteral("g = 9,80665 m/s²: ")));
        EXPECT_TRUE(totals.contains(fixed(run / (1000 * 9.80665), 3) + " m bei Wasser"));
        EXPECT_TRUE(totals.contains(QString::fromUtf8(c.head)));
        EXPECT_EQ(totals.contains(QStringLiteral("nur mit R·l")), *c.lacks != '\0');
        EXPECT_TRUE(totals.contains(QString::fromUtf8(c.lacks)));

        // Copied as tab-separated text: two header rows, one line a section, the totals.
        window.findChild<QPushButton*>(QStringLiteral("copy"))->click();
        const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
        ASSERT_GT(lines.size(), static_cast<int>(sections.size()) + 5);
        EXPECT_EQ(lines[0], QStringLiteral("Nr.\tdi\tl\tv\tR\tR·l\tΣζ\tZ\tR·l + Z\tSumme"));
        EXPECT_EQ(lines[1],
                  QStringLiteral("\t[mm]\t[m]\t[m/s]\t[Pa/m]\t[Pa]\t[-]\t[Pa]\t[Pa]\t[Pa]"));
        const QStringList last = lines[1 + static_cast<int>(sections.size())].split('\t');
        ASSERT_EQ(last.size(), 10);
        EXPECT_EQ(last[9], fixed(run, 2));
        const int totalsAt = static_cast<int>(sections.size()) + 3;
        EXPECT_EQ(lines[totalsAt], QStringLiteral("Gesamt [Pa]\t") + fixed(run, 2));
        EXPECT_EQ(lines[totalsAt + 1], QStringLiteral("Gesamt [mbar]\t") + fixed(run / 100, 2));
        EXPECT_EQ(lines[totalsAt + 2], QStringLiteral("Gesamt [kPa]\t") + fixed(run / 1000, 3));
        EXPECT_EQ(lines[totalsAt + 3],
                  QStringLiteral("Förderhöhe Wasser [m]\t") + fixed(run / (1000 * 9.80665), 3));
    }
}

// From the grid: the rows selected when two or more are, otherwise all.
TEST(RunWindow, TakesTheSelectedResultsOrAll) {
    Window w(german);
    w.addResults(3);
    auto* grid = w.find<ResultsGridView>("MSFlexGrid1");
    const auto opened = [&w] {
        w.find<QAction>("evaluateRun")->trigger();
        RunWindow* window = w->findChild<RunWindow*>();
        EXPECT_NE(window, nullptr);
        const QString title = window ? window->windowTitle() : QString();
        delete window;
        return title;
    };
    QItemSelectionModel* selection = grid->selectionModel();
    selection->select(grid->itemModel()->index(1, 2), QItemSelectionModel::Select);
    EXPECT_EQ(opened(), QStringLiteral("Strang auswerten – Nr. 1 bis 3"));
    selection->select(grid->itemModel()->index(3, 0), QItemSelectionModel::Select);
    EXPECT_EQ(opened(), QStringLiteral("Strang auswerten – Nr. 1, 3"));
}

} // namespace
} // namespace kolmaris
