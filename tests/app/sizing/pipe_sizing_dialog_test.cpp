#include "app/sizing/pipe_sizing_dialog.h"
#include "window_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>

#include <gtest/gtest.h>

#include <cstring>

namespace kolmaris {
namespace {

using test_support::german;
using test_support::Window;

// 30 dm³/min of water at 60 °C through 25 m of copper.
const SizingInputs realCase{QStringLiteral("30"), QStringLiteral("25"), QStringLiteral("60"),
                            Medium::Water, Material::Copper};

template <typename Widget> Widget* part(QWidget& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QString cell(QWidget& dialog, int row, int col) {
    return part<QTableWidget>(dialog, "sizes")->item(row, col)->text();
}

TEST(PipeSizingDialog, SummarisesTheInputsOrSaysWhatIsMissing) {
    struct Case {
        SizingInputs inputs;
        const char* summary; // part of the summary line
        const char* problem; // empty: none, the table lists the series
    };
    const Case cases[] = {
        {realCase,
         "Aus dem Hauptfenster: Volumenstrom 30 dm3/min, Leitungslänge 25 m, Temperatur 60 °C, "
         "Wasser, Kupferrohr",
         ""},
        {{QString(), QStringLiteral("25"), QStringLiteral(" "), std::nullopt, Material::Copper},
         "Volumenstrom fehlt, Leitungslänge 25 m, Temperatur fehlt, Medium fehlt, Kupferrohr",
         "Im Hauptfenster fehlt: Volumenstrom, Temperatur, Medium."},
        {{QStringLiteral("30"), QStringLiteral("12.5"), QStringLiteral("60"), Medium::Water,
          std::nullopt},
         "Leitungslänge „12.5“ ungültig",
         "Im Hauptfenster fehlt: Rohrmaterial. Keine gültige Zahl: Leitungslänge."},
        {{QStringLiteral("30"), QStringLiteral("25"), QStringLiteral("120"), Medium::Water,
          Material::Copper},
         "Temperatur 120 °C",
         "Für Wasser kennt die Berechnung nur Temperaturen von 0 bis 100 °C."},
        {{QStringLiteral("0"), QStringLiteral("25"), QStringLiteral("20"), Medium::FuelOil,
          Material::Plastic},
         "Volumenstrom 0 dm3/min",
         "Der Volumenstrom muss eine positive Zahl sein."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.summary);
        int applied = 0;
        PipeSizingDialog dialog(c.inputs, german, [&](const QString&) { ++applied; });
        dialog.show();
        EXPECT_TRUE(part<QLabel>(dialog, "summary")->text().contains(QString::fromUtf8(c.summary)))
            << part<QLabel>(dialog, "summary")->text().toStdString();
        auto* problem = part<QLabel>(dialog, "problem");
        auto* apply = part<QPushButton>(dialog, "apply");
        if (*c.problem == '\0') {
            EXPECT_FALSE(problem->isVisible());
            EXPECT_EQ(part<QTableWidget>(dialog, "sizes")->rowCount(), 12);
            EXPECT_TRUE(apply->isEnabled());
        } else {
            EXPECT_TRUE(problem->isVisible());
            EXPECT_EQ(problem->text().toStdString().rfind(c.problem, 0), 0u)
                << problem->text().toStdString();
            EXPECT_EQ(part<QTableWidget>(dialog, "sizes")->rowCount(), 0);
            EXPECT_FALSE(dialog.shownResult());
            apply->click();
            EXPECT_EQ(applied, 0);
        }
    }
}

TEST(PipeSizingDialog, FollowsTheLimitsAsTheyAreTyped) {
    PipeSizingDialog dialog(realCase, german, [](const QString&) {});
    dialog.show();
    auto* velocity = part<QLineEdit>(dialog, "maxVelocity");
    auto* table = part<QTableWidget>(dialog, "sizes");
    EXPECT_EQ(velocity->text(), QStringLiteral("1"));
    EXPECT_EQ(part<QLineEdit>(dialog, "maxLossPerMetre")->text(), QStringLiteral("150"));

    // Cu 28 is too fast and loses too much; Cu 35 (di 32) is the first within both.
    EXPECT_EQ(cell(dialog, 4, 8), QStringLiteral("v und Δp/m zu hoch"));
    EXPECT_EQ(cell(dialog, 5, 0), QStringLiteral("Cu 35"));
    EXPECT_EQ(cell(dialog, 5, 1), QStringLiteral("35,0 × 1,5"));
    EXPECT_EQ(cell(dialog, 5, 3), QStringLiteral("0,62"));
    EXPECT_EQ(cell(dialog, 5, 8), QStringLiteral("Empfehlung"));
    EXPECT_EQ(table->currentRow(), 5);
    EXPECT_TRUE(table->item(5, 0)->isSelected());
    EXPECT_TRUE(part<QLabel>(dialog, "verdict")->text().contains(QStringLiteral("Cu 35")));

    velocity->selectAll();
    QTest::keyClicks(velocity, QStringLiteral("0,5"));
    EXPECT_EQ(dialog.shownResult()->recommended, 6u);
    EXPECT_EQ(cell(dialog, 5, 8), QStringLiteral("v zu hoch"));
    EXPECT_TRUE(table->item(5, 0)->toolTip().contains(QStringLiteral("v über max. 0,5 m/s")));
    EXPECT_EQ(table->currentRow(), 6);

    // A wrong text marks the field and keeps the last valid table.
    const QColor normal = velocity->palette().color(QPalette::Base);
    QTest::keyClicks(velocity, QStringLiteral("x"));
    auto* limitProblem = part<QLabel>(dialog, "limitProblem");
    EXPECT_TRUE(limitProblem->isVisible());
    EXPECT_TRUE(limitProblem->text().startsWith(
        QStringLiteral("max. Geschwindigkeit ist keine gültige Zahl.")));
    EXPECT_NE(velocity->palette().color(QPalette::Base), normal);
    EXPECT_EQ(dialog.shownResult()->recommended, 6u);
    EXPECT_EQ(table->rowCount(), 12);
    QTest::keyClick(velocity, Qt::Key_Backspace);
    EXPECT_FALSE(limitProblem->isVisible());
    EXPECT_EQ(velocity->palette().color(QPalette::Base), normal);
}

TEST(PipeSizingDialog, WorksByKeyboardAlone) {
    QString applied;
    PipeSizingDialog dialog(realCase, german, [&](const QString& text) { applied = text; });
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* table = part<QTableWidget>(dialog, "sizes");
    EXPECT_EQ(QApplication::focusWidget(), table);
    const QWidget* order[] = {
        part<QPushButton>(dialog, "apply"), part<QPushButton>(dialog, "close"),
        part<QLineEdit>(dialog, "maxVelocity"), part<QLineEdit>(dialog, "maxLossPerMetre"), table};
    for (const QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    // One row down from the recommendation, and Enter takes it.
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(applied, QStringLiteral("39"));
    EXPECT_FALSE(dialog.isVisible());
}

// The menu that is open now, after the event that asked for it.
QMenu* openMenu() {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    EXPECT_NE(menu, nullptr);
    return menu;
}

PipeSizingDialog* openDialogFromMenu(Window& window) {
    QMenu* menu = openMenu();
    if (menu == nullptr) {
        return nullptr;
    }
    const QList<QAction*> actions = menu->actions();
    EXPECT_TRUE(actions.size() >= 3 && actions[actions.size() - 2]->isSeparator());
    EXPECT_EQ(actions.back()->text(), QStringLiteral("Rohrweite auslegen…"));
    // Qt's own edit entries come first.
    EXPECT_GT(actions.size(), 5);
    menu->close();
    actions.back()->trigger();
    return window->findChild<PipeSizingDialog*>();
}

TEST(PipeSizingDialog, TakesOverTheSizeFromTheDiameterBoxMenu) {
    Window window(german);
    window.choose("Option1_0");
    window.choose("Option9");
    window.type("Text1", "50");
    window.type("Text2", "30");
    window.type("Text3", "25");
    window.type("Text4", "60");
    window.press("Command1");
    ASSERT_EQ(window.results(), 1);
    QStringList firstRow;
    for (int col = 0; col < 6; ++col) {
        firstRow << window.cell(2, col);
    }

    // Shift+F10 opens the box's context menu.
    QTest::keyClick(window.find<QLineEdit>("Text1"), Qt::Key_F10, Qt::ShiftModifier);
    PipeSizingDialog* dialog = openDialogFromMenu(window);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    const SizingResult shown = *dialog->shownResult();
    ASSERT_EQ(shown.recommended, 5u);
    part<QPushButton>(*dialog, "apply")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(window.text("Text1"), QStringLiteral("32"));
    ASSERT_EQ(window.results(), 1);
    for (int col = 0; col < 6; ++col) {
        EXPECT_EQ(window.cell(2, col), firstRow[col]);
    }
    EXPECT_TRUE(window.messages.messages.empty());

    // "Berechnen" now writes exactly the row the dialog showed.
    window.press("Command1");
    const CalculationRecord& record = window->record();
    const ResultValues& row = *shown.rows[5].values;
    for (const auto& [a, b] : {std::pair{record.velocity, row.velocity},
                               {record.reynolds, row.reynolds},
                               {record.lambda, row.lambda},
                               {record.lossPerMetre, row.lossPerMetre},
                               {record.lossTotal, row.lossTotal}}) {
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    }
    EXPECT_EQ(window.cell(3, 1), QStringLiteral("0,62"));
}

TEST(PipeSizingDialog, EscapeClosesWithoutChange) {
    Window window(german);
    window.addResults(1);
    window.type("Text1", "40");
    auto* text1 = window.find<QLineEdit>("Text1");
    // The context-menu key reaches the box as a keyboard context-menu event.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5),
                          text1->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(text1, &key);
    PipeSizingDialog* dialog = openDialogFromMenu(window);
    ASSERT_NE(dialog, nullptr);
    const QString before = window.cell(2, 2);
    dialog->findChild<QTableWidget*>()->selectRow(0);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(window.text("Text1"), QStringLiteral("40"));
    EXPECT_EQ(window.results(), 1);
    EXPECT_EQ(window.cell(2, 2), before);
}

} // namespace
} // namespace kolmaris
