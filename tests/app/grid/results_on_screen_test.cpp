// What the grid shows of the results through the real window: every digit, the newest row, and
// where each row came from.

#include "app/grid/results_grid.h"
#include "window_fixture.h"

#include <QAction>
#include <QHeaderView>
#include <QScrollBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kolmaris {
namespace {

using test_support::german;
using test_support::Window;

void calculate(Window& w, const char* diameter, const char* flow, const char* length,
               const char* temperature) {
    w.type("Text1", diameter);
    w.type("Text2", flow);
    w.type("Text3", length);
    w.type("Text4", temperature);
    w.press("Command1");
}

ResultsGridView* gridOf(Window& w) {
    return w.find<ResultsGridView>("MSFlexGrid1");
}

TEST(ResultsOnScreen, EveryTextFitsItsColumn) {
    Window w(german);
    w.choose("Option1_0");
    w.choose("Option9");
    calculate(w, "15", "30", "100", "20");     // DV Total 586668,40
    calculate(w, "15", "30", "1000", "20");    // 5866684,03
    calculate(w, "15", "30", "-2104,4", "20"); // about -12345678,90
    ASSERT_EQ(w.results(), 3);
    ASSERT_TRUE(w.cell(4, 3).startsWith(QStringLiteral("-1234"))) << w.cell(4, 3).toStdString();

    ResultsGridView* view = gridOf(w);
    const QRect placed = view->geometry();
    const QFontMetrics metrics(view->font());
    const auto fits = [&](const QString& text, int width) {
        // The text, its margins on both sides and the line between cells.
        return metrics.horizontalAdvance(text) + 2 * 3 + 1 <= width;
    };
    int total = 0;
    for (int row = 0; row < w->grid().rows(); ++row) {
        EXPECT_TRUE(fits(w.cell(row, 0), view->verticalHeader()->width()))
            << w.cell(row, 0).toStdString();
        for (int col = 1; col < w->grid().cols(); ++col) {
            EXPECT_TRUE(fits(w.cell(row, col), view->columnWidth(col - 1)))
                << w.cell(row, col).toStdString();
        }
    }
    for (int col = 0; col < 5; ++col) {
        total += view->columnWidth(col);
    }
    EXPECT_EQ(view->geometry(), placed);
    // Too wide for the grid together: it scrolls sideways, the number column stays.
    if (total > view->viewport()->width()) {
        EXPECT_GT(view->horizontalScrollBar()->maximum(), 0);
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        EXPECT_EQ(view->verticalHeader()->x(), view->frameWidth());
    }
}

// Whether the row of this result lies wholly inside the grid's visible cells.
bool inView(Window& w, int resultNumber) {
    ResultsGridView* view = gridOf(w);
    const QRect cell = view->visualRect(view->itemModel()->index(resultNumber, 0));
    return view->viewport()->rect().contains(cell);
}

TEST(ResultsOnScreen, TheNewestResultIsInView) {
    Window w(german);
    w.addResults(0);
    for (int n = 1; n <= 12; ++n) {
        w.press("Command1");
        EXPECT_TRUE(inView(w, n)) << n;
    }
    QTemporaryDir folder;
    w.files.saveName = folder.filePath("zwoelf.xlsx");
    w.find<QAction>("mnuexel2")->trigger();
    gridOf(w)->scrollToTop();
    w.files.openName = w.files.saveName;
    w.find<QAction>("mnuexcel1")->trigger();
    ASSERT_EQ(w.results(), 24);
    EXPECT_TRUE(inView(w, 24));
}

TEST(ResultsOnScreen, EveryCellOfARowTellsWhereItCameFrom) {
    Window w(german);
    w.choose("Option2"); // fuel oil, laminar at 25 mm and 10 dm3/min
    w.choose("Option9");
    calculate(w, "25", "10", "100", "20,5");
    const GridItemModel& model = *gridOf(w)->itemModel();
    const QString expected =
        QStringLiteral("Ergebnis 1\nDurchmesser: 25 mm\nVolumenstrom: 10 dm3/min\nLänge: 100 m\n"
                       "Temperatur: 20,5 °C\nMedium: Heizöl (EL)\nRohrmaterial: Kupferrohr\n"
                       "Hinweis: laminar (Re < 2320): Colebrook gilt hier nicht, 64/Re = 0,04526\n"
                       "Prüfrechnung: Δp/m 89,70 Pa/m (-16,2 %) mit den Stoffwerten des Programms "
                       "und 64/Re (laminar)");
    const auto tip = [&model](int row, int col) {
        const QVariant tip = col < 0 ? model.headerData(row, Qt::Vertical, Qt::ToolTipRole)
                                     : model.data(model.index(row, col), Qt::ToolTipRole);
        return tip.toString().toStdString();
    };
    EXPECT_EQ(tip(1, 3), expected.toStdString());
    EXPECT_EQ(tip(1, -1), expected.toStdString());                          // the number column
    EXPECT_FALSE(model.data(model.index(0, 3), Qt::ToolTipRole).isValid()); // the units row
    EXPECT_FALSE(model.data(model.index(2, 3), Qt::ToolTipRole).isValid()); // a free row

    // "Neue Berechnung" and a failure keep it, as they keep the results.
    w.press("Command2");
    w.press("Command1");
    EXPECT_EQ(tip(1, 0), expected.toStdString());
}

TEST(ResultsOnScreen, AFailedSaveNamesItsRealCause) {
    if (!QFileInfo(QStringLiteral("/proc")).isDir()) {
        GTEST_SKIP() << "no /proc here";
    }
    Window w(german);
    w.addResults(1);
    w.files.saveName = QStringLiteral("/proc/Kolmaris-Ergebnisse.xlsx");
    w.find<QAction>("mnuexel2")->trigger();
    ASSERT_EQ(w.messages.messages.size(), 1u);
    EXPECT_EQ(w.messages.messages[0].prompt.find("Den Ordner gibt es nicht."), std::string::npos)
        << w.messages.messages[0].prompt;
}

} // namespace
} // namespace kolmaris
