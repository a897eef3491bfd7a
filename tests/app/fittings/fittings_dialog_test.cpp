#include "app/fittings/fittings_dialog.h"
#include "app/grid/results_grid.h"
#include "window_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace kolmaris {
namespace {

using namespace test_support;

// Opens a context menu with `open`, notes its entries ("-" a separator, "(aus)" after one
// disabled) and chooses `entry` with the keyboard, as a user would.
QStringList chooseFromMenu(const std::function<void()>& open, const QString& entry) {
    QStringList entries;
    QTimer poll;
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        poll.stop();
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            entries << (action->isSeparator() ? QStringLiteral("-")
                        : action->isEnabled() ? action->text()
                                              : action->text() + QStringLiteral(" (aus)"));
            if (action->text() == entry && action->isEnabled()) {
                chosen = action;
            }
        }
        if (chosen == nullptr) {
            menu->close();
            return;
        }
        menu->setActiveAction(chosen);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    poll.start();
    open();
    EXPECT_TRUE(QTest::qWaitFor([&poll] { return !poll.isActive(); }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, 3000));
    return entries;
}

template <typename Widget> Widget* named(QWidget& parent, const QString& accessibleName) {
    for (Widget* widget : parent.findChildren<Widget*>()) {
        if (widget->accessibleName() == accessibleName) {
            return widget;
        }
    }
    ADD_FAILURE() << "nothing named " << accessibleName.toStdString();
    return nullptr;
}

QString label(QWidget& dialog, const char* name) {
    return dialog.findChild<QLabel*>(QLatin1String(name))->text();
}

struct GridWindow : Window {
    GridWindow() : Window(german), grid(find<ResultsGridView>("MSFlexGrid1")) {
        addResults(2);
        QApplication::setActiveWindow(&**this);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&**this));
        grid->setFocus();
    }
    // The dialog the menu opened on the current row, or none.
    FittingsDialog* openOnRow(int viewRow, QStringList* entries = nullptr) {
        grid->setCurrentIndex(grid->itemModel()->index(viewRow, 0));
        const QStringList seen =
            chooseFromMenu([this] { QTest::keyClick(grid, Qt::Key_F10, Qt::ShiftModifier); },
                           QStringLiteral("Einzelwiderstände…"));
        if (entries != nullptr) {
            *entries = seen;
        }
        return (**this).findChild<FittingsDialog*>();
    }
    QString tooltip(int viewRow) {
        return grid->itemModel()
            ->data(grid->itemModel()->index(viewRow, 2), Qt::ToolTipRole)
            .toString();
    }
    ResultsGridView* grid;
};

TEST(FittingsDialog, OpensForTheMenusRowFollowsTheTypingAndKeepsOnlyWhatIsTakenOver) {
    GridWindow w;
    QStringList entries;
    // On the units row there is no result to give fittings.
    EXPECT_EQ(w.openOnRow(0, &entries), nullptr);
    EXPECT_EQ(entries, (QStringList{"Kopieren", "Moody-Diagramm…", "Einzelwiderstände… (aus)",
                                    "Strang auswerten…", "Eingaben und Hinweise", "-",
                                    "Als PDF speichern…", "Drucken…"}));

    FittingsDialog* dialog = w.openOnRow(1);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Einzelwiderstände – Ergebnis 1"));
    EXPECT_TRUE(label(*dialog, "summary").contains(QStringLiteral("Wasser (ρ = 1000 kg/m³)")));
    auto* bends = named<QSpinBox>(*dialog, QStringLiteral("Anzahl Bogen 90°"));
    auto* ratio = named<QLineEdit>(
        *dialog, QStringLiteral("Bogen 90°: Krümmungsradius / Innendurchmesser r/d"));
    ASSERT_TRUE(bends && ratio);
    EXPECT_EQ(ratio->text(), QStringLiteral("1,5"));
    // Tab runs along the lines: a line's parameters, its count, the next line.
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    EXPECT_EQ(QApplication::focusWidget(), ratio);
    const QWidget* order[] = {
        bends, named<QLineEdit>(*dialog, QStringLiteral("Bogen 45°: Krümmungsradius / "
                                                        "Innendurchmesser r/d"))};
    for (const QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next);
    }
    EXPECT_EQ(label(*dialog, "zetaSum"), QStringLiteral("Σζ = 0,000"));

    // Two bends, typed: Σζ, Z and R·l + Z follow at once; Z = Σζ · ρ · v² / 2.
    bends->selectAll();
    QTest::keyClicks(bends, QStringLiteral("2"));
    const ResultValues& row = *w->results().find(1);
    ASSERT_TRUE(dialog->shownSection().fittings.has_value());
    const FittingsLoss& typed = *dialog->shownSection().fittings;
    EXPECT_GT(typed.zetaSum, 0.2);
    EXPECT_NEAR(typed.loss, typed.zetaSum * 1000 * row.velocity * row.velocity / 2, 1e-9);
    const NumberFormat comma{','};
    EXPECT_EQ(label(*dialog, "zetaSum"),
              QStringLiteral("Σζ = ") + QString::fromStdString(zetaText(typed.zetaSum, comma)));
    EXPECT_TRUE(label(*dialog, "fittingsLoss")
                    .endsWith(QString::fromStdString(pressureText(typed.loss, comma))));
    EXPECT_TRUE(
        label(*dialog, "sectionLoss")
            .endsWith(QString::fromStdString(pressureText(row.lossTotal + typed.loss, comma))));

    // What is not usable is marked and said, and cannot be taken over.
    struct Typed {
        const char* text;
        const char* said; // empty: usable
    };
    const Typed cases[] = {
        {"0,3", "Bogen 90°: Krümmungsradius / Innendurchmesser r/d = 0,3 liegt nicht im "
                "erlaubten Bereich 0,5 bis 20."},
        {"1.5", "Bogen 90°: Krümmungsradius / Innendurchmesser r/d ist keine gültige Zahl."},
        {"", "Bogen 90°: Krümmungsradius / Innendurchmesser r/d fehlt."},
        {"2", ""},
    };
    const QColor normal = ratio->palette().color(QPalette::Base);
    auto* problems = dialog->findChild<QLabel*>(QStringLiteral("lineProblems"));
    auto* apply = dialog->findChild<QPushButton*>(QStringLiteral("apply"));
    for (const Typed& c : cases) {
        SCOPED_TRACE(c.text);
        ratio->selectAll();
        QTest::keyClick(ratio, Qt::Key_Delete);
        QTest::keyClicks(ratio, QString::fromUtf8(c.text));
        const bool usable = *c.said == '\0';
        EXPECT_EQ(problems->isVisible(), !usable);
        EXPECT_EQ(problems->text(), QString::fromUtf8(c.said));
        EXPECT_EQ(ratio->accessibleDescription().isEmpty(), usable);
        EXPECT_EQ(ratio->palette().color(QPalette::Base) == normal, usable);
        EXPECT_EQ(apply->isEnabled(), usable);
        EXPECT_EQ(dialog->typedItems().has_value(), usable);
    }

    // Esc changes nothing.
    QTest::keyClick(dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(w->results().find(1)->origin.fittings.empty());
    EXPECT_FALSE(w.tooltip(1).contains(QStringLiteral("Einzelwiderstände")));
    QApplication::processEvents();

    // Result 2 from the mouse, while the current row is result 1: three bends and a valve.
    w.grid->setCurrentIndex(w.grid->itemModel()->index(1, 0));
    const QRect cells = w.grid->visualRect(w.grid->itemModel()->index(2, 1));
    chooseFromMenu(
        [&] {
            QContextMenuEvent click(QContextMenuEvent::Mouse, cells.center(),
                                    w.grid->viewport()->mapToGlobal(cells.center()));
            QApplication::sendEvent(w.grid->viewport(), &click);
        },
        QStringLiteral("Einzelwiderstände…"));
    dialog = w->findChild<FittingsDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Einzelwiderstände – Ergebnis 2"));
    named<QSpinBox>(*dialog, QStringLiteral("Anzahl Bogen 90°"))->setValue(3);
    named<QSpinBox>(*dialog, QStringLiteral("Anzahl Kv-Wert (eigene Angabe)"))->setValue(1);
    QLineEdit* kv = named<QLineEdit>(*dialog, QStringLiteral("Kv-Wert (eigene Angabe): Kv-Wert"));
    kv->selectAll();
    QTest::keyClicks(kv, QStringLiteral("2,5"));
    const SectionLoss shown = dialog->shownSection();
    dialog->findChild<QPushButton*>(QStringLiteral("apply"))->click();
    EXPECT_FALSE(dialog->isVisible());
    FittingItem bend = defaultFittingItem(FittingKind::Bend90);
    bend.count = 3;
    FittingItem valve = defaultFittingItem(FittingKind::UserKv);
    valve.values[0] = 2.5;
    EXPECT_EQ(w->results().find(2)->origin.fittings, (std::vector<FittingItem>{bend, valve}));
    EXPECT_TRUE(w->results().find(1)->origin.fittings.empty());
    EXPECT_EQ(sectionLossOf(*w->results().find(2)).fittings->loss, shown.fittings->loss);
    const QString tooltip = w.tooltip(2);
    EXPECT_TRUE(tooltip.contains(QStringLiteral("Einzelwiderstände: 4, Σζ = ") +
                                 QString::fromStdString(zetaText(shown.fittings->zetaSum, comma))))
        << tooltip.toStdString();
    EXPECT_TRUE(tooltip.contains(QStringLiteral("\nR·l + Z = ") +
                                 QString::fromStdString(pressureText(*shown.total(), comma))));
    QApplication::processEvents();

    // Open again from the keyboard: the kept items stand in their lines; Schließen keeps them.
    dialog = w.openOnRow(2);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(named<QSpinBox>(*dialog, QStringLiteral("Anzahl Bogen 90°"))->value(), 3);
    EXPECT_EQ(named<QLineEdit>(*dialog, QStringLiteral("Kv-Wert (eigene Angabe): Kv-Wert"))->text(),
              QStringLiteral("2,5"));
    named<QSpinBox>(*dialog, QStringLiteral("Anzahl Bogen 90°"))->setValue(0);
    dialog->findChild<QPushButton*>(QStringLiteral("close"))->click();
    EXPECT_EQ(w->results().find(2)->origin.fittings.size(), 2u);
}

// A row kept without its inputs: no density, so no Z; the items can be kept all the same.
TEST(FittingsDialog, SaysWhatARowWithoutInputsLacksAndStillKeepsItsItems) {
    const ResultValues imported{0.85, 60.25, 753.13, 15433, 0.02346, {}};
    std::vector<FittingItem> applied;
    FittingsDialog dialog(3, imported, numberSettingsOf(german),
                          [&](const std::vector<FittingItem>& items) { applied = items; });
    dialog.show();
    EXPECT_TRUE(
        label(dialog, "summary")
            .startsWith(QStringLiteral("Ergebnis 3: Eingaben nicht gespeichert, v = 0,85 m/s")));
    auto* rowProblem = dialog.findChild<QLabel*>(QStringLiteral("rowProblem"));
    EXPECT_TRUE(rowProblem->isVisible());
    EXPECT_TRUE(rowProblem->text().contains(QStringLiteral("Dichte ρ sind nicht bekannt")));
    auto* exit = named<QSpinBox>(dialog, QStringLiteral("Anzahl Auslauf in einen Behälter"));
    exit->setValue(1);
    EXPECT_EQ(label(dialog, "fittingsLoss"), QStringLiteral("Z: nicht bestimmbar"));
    EXPECT_TRUE(rowProblem->isVisible());
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("fittings"));
    EXPECT_EQ(table->item(0, 3)->text(), QStringLiteral("–"));
    // Another line of the kind in focus: a second own ζ.
    QLineEdit* zeta = named<QLineEdit>(dialog, QStringLiteral("ζ-Wert (eigene Angabe): "
                                                              "Widerstandsbeiwert ζ"));
    zeta->setFocus();
    dialog.addLineOfFocusedKind();
    EXPECT_EQ(table->rowCount(), static_cast<int>(fittingKindCount) + 1);
    // The new line's field takes the focus.
    auto* added = qobject_cast<QLineEdit*>(dialog.focusWidget());
    ASSERT_NE(added, nullptr);
    EXPECT_NE(added, zeta);
    QTest::keyClicks(added, QStringLiteral("5"));
    dialog.findChild<QPushButton*>(QStringLiteral("apply"))->click();
    FittingItem ownZeta = defaultFittingItem(FittingKind::UserZeta);
    ownZeta.values[0] = 15;
    EXPECT_EQ(applied,
              (std::vector<FittingItem>{defaultFittingItem(FittingKind::ExitToVessel), ownZeta}));
}

} // namespace
} // namespace kolmaris
