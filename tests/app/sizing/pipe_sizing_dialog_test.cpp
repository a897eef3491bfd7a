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
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.summary);
        int applied = 0;
        PipeSizingDialog dialog(c.inputs, numberSettingsOf(german),
                                [&](const QString&) { ++applied; });
        dialog.show();
        const QString summary = part<QLabel>(dialog, "summary")->text();
        EXPECT_TRUE(summary.contains(QString::fromUtf8(c.summary))) << summary.toStdString();
        const std::string problem = part<QLabel>(dialog, "problem")->text().toStdString();
        EXPECT_EQ(problem.rfind(c.problem, 0), 0u) << problem;
        EXPECT_EQ(part<QLabel>(dialog, "problem")->isVisible(), *c.problem != '\0');
        EXPECT_EQ(part<QTableWidget>(dialog, "sizes")->rowCount(), *c.problem ? 0 : 12);
        part<QPushButton>(dialog, "apply")->click();
        EXPECT_EQ(applied, *c.problem ? 0 : 1);
    }
}

TEST(PipeSizingDialog, FollowsTheLimitsAsTheyAreTypedAndWorksByKeyboard) {
    QString applied;
    PipeSizingDialog dialog(realCase, numberSettingsOf(german),
                            [&](const QString& text) { applied = text; });
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    auto* velocity = part<QLineEdit>(dialog, "maxVelocity");
    auto* table = part<QTableWidget>(dialog, "sizes");
    EXPECT_EQ(velocity->text(), QStringLiteral("1"));
    EXPECT_EQ(part<QLineEdit>(dialog, "maxLossPerMetre")->text(), QStringLiteral("150"));

    // Cu 28 is too fast and loses too much; Cu 35 (di 32) is the first within both.
    EXPECT_EQ(cell(dialog, 4, 8), QStringLiteral("v und Δp/m zu hoch"));
    EXPECT_EQ(cell(dialog, 5, 1) + cell(dialog, 5, 3), QStringLiteral("35,0 × 1,50,62"));
    EXPECT_EQ(cell(dialog, 5, 8), QStringLiteral("Empfehlung"));
    EXPECT_TRUE(table->item(5, 0)->isSelected());

    // Tab runs from the table through the buttons and the limits back to the table.
    EXPECT_EQ(QApplication::focusWidget(), table);
    const QWidget* order[] = {part<QPushButton>(dialog, "apply"),
                              part<QPushButton>(dialog, "close"), velocity,
                              part<QLineEdit>(dialog, "maxLossPerMetre"), table};
    for (const QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }

    velocity->selectAll();
    QTest::keyClicks(velocity, QStringLiteral("0,5"));
    EXPECT_EQ(dialog.shownResult()->recommended, 6u);
    EXPECT_EQ(cell(dialog, 5, 8), QStringLiteral("v zu hoch"));
    EXPECT_TRUE(table->item(5, 0)->toolTip().contains(QStringLiteral("v über max. 0,5 m/s")));

    // A wrong text marks the field and keeps the last valid table.
    const QColor normal = velocity->palette().color(QPalette::Base);
    QTest::keyClicks(velocity, QStringLiteral("x"));
    auto* limitProblem = part<QLabel>(dialog, "limitProblem");
    EXPECT_TRUE(limitProblem->text().startsWith(
        QStringLiteral("max. Geschwindigkeit ist keine gültige Zahl.")));
    EXPECT_NE(velocity->palette().color(QPalette::Base), normal);
    EXPECT_EQ(dialog.shownResult()->recommended, 6u);
    EXPECT_EQ(table->rowCount(), 12);
    QTest::keyClick(velocity, Qt::Key_Backspace);
    EXPECT_FALSE(limitProblem->isVisible());
    EXPECT_EQ(velocity->palette().color(QPalette::Base), normal);

    // One row down from the recommendation (Cu 42), and Enter takes Cu 54.
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(applied, QStringLiteral("50"));
    EXPECT_FALSE(dialog.isVisible());
}

// Takes the menu that the last event opened: Qt's edit entries, a separator and ours.
PipeSizingDialog* openDialogFromMenu(Window& window) {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
        ADD_FAILURE() << "no menu";
        return nullptr;
    }
    const QList<QAction*> actions = menu->actions();
    EXPECT_GT(actions.size(), 5);
    EXPECT_TRUE(actions[actions.size() - 2]->isSeparator());
    EXPECT_EQ(actions.back()->text(), QStringLiteral("Rohrweite auslegen…"));
    menu->close();
    actions.back()->trigger();
    return window->findChild<PipeSizingDialog*>();
}

TEST(PipeSizingDialog, OpensFromTheDiameterBoxAndTakesOverTheSize) {
    Window window(german);
    window.addResults(1); // water at 20 °C, 100 dm³/min through 10 m of black iron, 50 mm
    const auto row = [&] {
        QStringList cells;
        for (int col = 0; col < 6; ++col) {
            cells << window.cell(2, col);
        }
        return cells;
    };
    const QStringList before = row();
    auto* text1 = window.find<QLineEdit>("Text1");

    // The context-menu key reaches the box as a keyboard context-menu event; Esc then closes
    // the dialog without a change.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5),
                          text1->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(text1, &key);
    PipeSizingDialog* dialog = openDialogFromMenu(window);
    ASSERT_NE(dialog, nullptr);
    dialog->findChild<QTableWidget*>()->selectRow(0);
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(window.text("Text1"), QStringLiteral("50"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // the closed dialog

    // Shift+F10 opens the menu as well; "Übernehmen" writes the text and leaves the table.
    QTest::keyClick(text1, Qt::Key_F10, Qt::ShiftModifier);
    dialog = openDialogFromMenu(window);
    ASSERT_NE(dialog, nullptr);
    const SizingResult shown = *dialog->shownResult();
    ASSERT_EQ(shown.recommended, 6u); // DN 50, di 53,1
    part<QPushButton>(*dialog, "apply")->click();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(window.text("Text1"), QStringLiteral("53,1"));
    EXPECT_EQ(window.results(), 1);
    EXPECT_EQ(row(), before);
    EXPECT_TRUE(window.messages.messages.empty());

    // "Berechnen" now writes exactly the row the dialog showed.
    window.press("Command1");
    const CalculationRecord& record = window->record();
    const ResultValues& values = *shown.rows[6].values;
    for (const auto& [a, b] : {std::pair{record.velocity, values.velocity},
                               {record.reynolds, values.reynolds},
                               {record.lambda, values.lambda},
                               {record.lossPerMetre, values.lossPerMetre},
                               {record.lossTotal, values.lossTotal}}) {
        EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0);
    }
}

} // namespace
} // namespace kolmaris
