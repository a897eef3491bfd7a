#include "app/platform/qt_message_sink.h"
#include "app/window/main_window.h"
#include "box_closer.h"
#include "calc/media.h"
#include "recording_sink.h"
#include "window_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace kolmaris {
namespace {

using namespace test_support;

// --- layout -----------------------------------------------------------------------------------

TEST(WindowLayout, ClientAreaBelowTheMenuBar) {
    Window w(german);
    EXPECT_EQ(w->objectName(), "ersteVersion");
    EXPECT_EQ(w->windowTitle(), "Kolmaris");
    const QWidget* client = w->centralWidget();
    EXPECT_EQ(client->size(), QSize(613, 571));
    EXPECT_EQ(client->geometry().top(), w->menuBar()->geometry().bottom() + 1);
}

TEST(WindowLayout, ControlsStandAtTheirTwipPositions) {
    struct Place {
        const char* name;
        const char* container;
        int left, top, width, height; // twips
    };
    // One of each kind, and the option buttons whose twips fall between pixels.
    const Place places[] = {
        {"Label4", "clientArea", 240, 120, 1815, 375},
        {"Frame2", "clientArea", 6240, 360, 2295, 2055},
        {"Text4", "clientArea", 240, 2160, 1095, 285},
        {"Command3", "clientArea", 6720, 3360, 1935, 495},
        {"MSFlexGrid1", "clientArea", 1680, 5160, 5895, 2295},
        {"Label8", "clientArea", 1920, 8160, 5535, 255},
        {"Option2", "Frame1", 240, 760, 1335, 255},
        {"Option3", "Frame1", 240, 1160, 1335, 255},
        {"Option9", "Frame2", 240, 1560, 1215, 435},
    };
    Window w(german);
    auto px = [](int twips) { return qRound(twips / 15.0); };
    for (const Place& p : places) {
        QWidget* widget = w.find<QWidget>(p.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget()->objectName(), p.container) << p.name;
        EXPECT_EQ(widget->geometry(), QRect(px(p.left), px(p.top), px(p.width), px(p.height)))
            << p.name;
    }
    EXPECT_EQ(w.find<QWidget>("Line3")->geometry(), QRect(16, 536, 560, 1));
    EXPECT_EQ(w.find<QWidget>("Line1_4")->geometry(), QRect(0, 0, 576, 1));
}

TEST(WindowLayout, FontsOfTheHeadingsAndTheGrid) {
    Window w(german);
    for (auto [name, points] : {std::pair{"Label4", 9.75}, std::pair{"Label7", 9.0}}) {
        const QFont font = w.find<QWidget>(name)->font();
        EXPECT_EQ(font.family(), "Arial") << name;
        EXPECT_DOUBLE_EQ(font.pointSizeF(), points) << name;
        EXPECT_TRUE(font.bold()) << name;
    }
    const QFont grid = w.find<QWidget>("MSFlexGrid1")->font();
    EXPECT_EQ(grid.family(), "MS Sans Serif");
    EXPECT_DOUBLE_EQ(grid.pointSizeF(), 8.25);
}

TEST(WindowLayout, EveryCaptionFitsItsControlWithoutAccessKey) {
    Window w(german);
    for (QLabel* label : w->findChildren<QLabel*>()) {
        EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
        EXPECT_LE(label->sizeHint().height(), label->height()) << label->text().toStdString();
        EXPECT_FALSE(label->text().contains('&'));
    }
    for (QAbstractButton* button : w->findChildren<QAbstractButton*>()) {
        if (qobject_cast<QRadioButton*>(button) == nullptr &&
            qobject_cast<QPushButton*>(button) == nullptr) {
            continue; // the grid's corner
        }
        const int needed = qobject_cast<QRadioButton*>(button)
                               ? button->sizeHint().width()
                               : button->fontMetrics().horizontalAdvance(button->text()) + 8;
        EXPECT_LE(needed, button->width()) << button->text().toStdString();
        EXPECT_FALSE(button->text().contains('&'));
    }
    EXPECT_TRUE(w.find<QLabel>("Label8")->text().startsWith("Programmentwicklung: "));
}

TEST(WindowLayout, StartsEmptyWithNothingChosenAndTheTableSetUp) {
    Window w(german);
    EXPECT_TRUE(w.inputsEmpty());
    for (QRadioButton* option : w->findChildren<QRadioButton*>()) {
        EXPECT_FALSE(option->isChecked()) << option->objectName().toStdString();
    }
    EXPECT_EQ(w->grid().rows(), 4);
    EXPECT_EQ(w->grid().cols(), 6);
    EXPECT_EQ(w.cell(0, 0), "        Nr.");
    EXPECT_EQ(w.cell(1, 2), "   [Pascal]");
    EXPECT_EQ(w.cell(2, 1), "");
}

TEST(WindowLayout, GroupsAreIndependent) {
    Window w(german);
    w.choose("Option3");
    w.choose("Option8");
    w.choose("Option4");
    EXPECT_TRUE(w.chosen("Option4"));
    EXPECT_FALSE(w.chosen("Option3"));
    EXPECT_TRUE(w.chosen("Option8"));
}

// The option buttons are made from the media and material tables: each button shows its row's
// name, in the tables' order, and the calculation reads that row when it is chosen.
TEST(WindowLayout, OptionButtonsAreTheTablesRows) {
    Window w(german);
    const char* const media[] = {"Option1_0", "Option2", "Option3", "Option4"};
    const char* const materials[] = {"Option5", "Option6", "Option7", "Option8", "Option9"};
    ASSERT_EQ(std::size(media), std::size(mediumTable));
    ASSERT_EQ(std::size(materials), std::size(materialTable));
    w.typeValidInputs();
    for (std::size_t m = 0; m < std::size(media); ++m) {
        for (std::size_t k = 0; k < std::size(materials); ++k) {
            EXPECT_EQ(w.find<QRadioButton>(media[m])->text().toStdString(), mediumTable[m].name);
            EXPECT_EQ(w.find<QRadioButton>(materials[k])->text().toStdString(),
                      materialTable[k].name);
            w.choose(media[m]);
            w.choose(materials[k]);
            w.press("Command1");
            EXPECT_EQ(w->record().density, mediumTable[m].density) << media[m];
            EXPECT_EQ(w->record().roughness, materialTable[k].roughness) << materials[k];
        }
    }
}

TEST(WindowLayout, ResizingMovesNoControl) {
    Window w(german);
    const QRect before = w.find<QWidget>("Command3")->geometry();
    w->resize(900, 800);
    QApplication::processEvents();
    EXPECT_EQ(w.find<QWidget>("Command3")->geometry(), before);
    EXPECT_EQ(w.find<QWidget>("MSFlexGrid1")->size(), QSize(393, 153));
    w->resize(300, 200);
    QApplication::processEvents();
    EXPECT_EQ(w.find<QWidget>("Command3")->geometry(), before);
}

TEST(WindowLayout, TabOrderVisitsMediaButtonsMaterialsGridThenInputs) {
    Window w(german);
    QApplication::setActiveWindow(&*w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&*w));
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(QApplication::focusWidget()->objectName(), "Option1_0");

    const QStringList expected = {"Option2",  "Option3",     "Option4", "Command3", "Command2",
                                  "Command1", "Option5",     "Option6", "Option7",  "Option8",
                                  "Option9",  "MSFlexGrid1", "Text1",   "Text2",    "Text3",
                                  "Text4",    "Option1_0"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    EXPECT_EQ(visited, expected);
    // Taking the focus selects nothing.
    EXPECT_FALSE(w.chosen("Option1_0"));
}

TEST(WindowLayout, NoButtonAnswersEnterOrEscape) {
    Window w(german);
    w.addResults(0);
    for (QPushButton* button : w->findChildren<QPushButton*>()) {
        EXPECT_FALSE(button->autoDefault());
        EXPECT_FALSE(button->isDefault());
    }
    for (const char* focus : {"Command1", "Text1"}) {
        w.find<QWidget>(focus)->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(w.find<QWidget>(focus), key);
        }
    }
    EXPECT_EQ(w.results(), 0);
    EXPECT_TRUE(w.messages.messages.empty());
    EXPECT_EQ(w.ended, 0);
}

// --- menus ------------------------------------------------------------------------------------

QStringList captions(const QMenu* menu) {
    QStringList out;
    for (QAction* action : menu->actions()) {
        if (action->isVisible()) {
            out << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
    }
    return out;
}

// The entries of the menu that `open` shows, read while it is open; the menu is closed again.
// A context menu runs its own event loop, so the reading waits in the event queue.
QStringList entriesOfMenuOpenedBy(const std::function<void()>& open) {
    QStringList seen{"(no menu)"};
    QTimer poll; // dies with this call, so nothing polls after it
    poll.setInterval(10);
    QObject::connect(&poll, &QTimer::timeout, [&seen, &poll] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            seen = captions(menu);
            poll.stop();
            menu->close();
        }
    });
    poll.start();
    open();
    EXPECT_TRUE(QTest::qWaitFor([&poll] { return !poll.isActive(); }, 3000));
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, 3000));
    return seen;
}

void activate(Window& w) {
    QApplication::setActiveWindow(&*w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&*w));
}

TEST(WindowMenus, AltKeysOpenTheMenusWithTheirEntriesAndNothingElse) {
    Window w(german);
    activate(w);
    QStringList bar;
    for (QAction* action : w->menuBar()->actions()) {
        bar << action->text();
    }
    EXPECT_EQ(bar, (QStringList{"&Datei", "&Extras"}));
    const auto viaKey = [](Qt::Key key) {
        return entriesOfMenuOpenedBy(
            [key] { QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier); });
    };
    EXPECT_EQ(viaKey(Qt::Key_D),
              (QStringList{"Einlesen von MS Excel", "Ausgeben nach MS Excel", "-", "Beenden"}));
    EXPECT_EQ(viaKey(Qt::Key_E), (QStringList{"Hilfe", "-", "Info"}));
    for (QAction* action :
         w.find<QMenu>("mnudatei")->actions() + w.find<QMenu>("mnuextras")->actions()) {
        EXPECT_TRUE(action->shortcut().isEmpty());
        EXPECT_FALSE(action->isCheckable());
        EXPECT_TRUE(action->isEnabled());
    }
    EXPECT_TRUE(w.find<QAction>("mnulinie1")->isSeparator());
    EXPECT_TRUE(w.find<QAction>("mnulinie6")->isSeparator());
}

TEST(WindowMenus, ShiftF10OpensTheContextMenuOfTheFocusedControl) {
    Window w(german);
    activate(w);
    const auto shiftF10On = [&w](const char* name) {
        QWidget* control = w.find<QWidget>(name);
        control->setFocus();
        EXPECT_TRUE(QTest::qWaitFor([control] { return control->hasFocus(); }, 2000)) << name;
        return entriesOfMenuOpenedBy(
            [control] { QTest::keyClick(control, Qt::Key_F10, Qt::ShiftModifier); });
    };
    const QStringList grid = shiftF10On("MSFlexGrid1");
    ASSERT_GE(grid.size(), 2);
    EXPECT_EQ(grid.mid(0, 2), (QStringList{"Kopieren", "Moody-Diagramm…"}));
    // An input box shows Qt's own menu; the key itself types nothing.
    EXPECT_GE(shiftF10On("Text1").size(), 5);
    EXPECT_EQ(w.text("Text1"), "");
}

TEST(WindowMenus, HelpShowsOneGermanBoxAndChangesNothing) {
    Window w(german);
    w.addResults(1);
    w.find<QAction>("mnuhilfe")->trigger();
    ASSERT_EQ(w.messages.messages.size(), 1u);
    const auto& help = w.messages.messages[0];
    EXPECT_EQ(help.title, "Hilfe");
    EXPECT_EQ(help.style, InformationStyle);
    for (const char* needed :
         {"dm3/min", "°C", "Druckluft", "Kupferrohr", "Colebrook", "Darcy-Weisbach",
          "28 Ergebnisse", "Ausgeben nach MS Excel",
          // where the additions live
          "Umschalt+F10", "Moody-Diagramm…", "Einzelwiderstände…", "Strang auswerten…",
          "Als PDF speichern…", "Drucken…", "Rohrweite auslegen…", "--report"}) {
        EXPECT_NE(help.prompt.find(needed), std::string::npos) << needed;
    }
    EXPECT_NE(help.prompt.back(), '\n');
    EXPECT_EQ(w.results(), 1);
    EXPECT_EQ(w.text("Text1"), "50");
    EXPECT_EQ(w.ended, 0);
}

TEST(WindowMenus, InfoShowsTheSevenLineBoxAndChangesNothing) {
    Window w(german);
    w.addResults(1);
    w.find<QAction>("mnuinf")->trigger();
    ASSERT_EQ(w.messages.messages.size(), 1u);
    const RecordedMessage& box = w.messages.messages.front();
    EXPECT_EQ(box.style, InformationStyle);
    EXPECT_EQ(box.title, "Über dieses Programm");
    const QStringList lines = QString::fromStdString(box.prompt).split("\r\n");
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], "Programmentwicklung:");
    EXPECT_FALSE(lines[1].isEmpty());
    EXPECT_FALSE(lines[2].isEmpty());
    EXPECT_TRUE(lines[3].isEmpty());
    EXPECT_FALSE(lines[4].isEmpty());
    EXPECT_TRUE(lines[5].isEmpty());
    EXPECT_TRUE(lines[6].startsWith("E-Mail: "));
    EXPECT_TRUE(lines[6].endsWith("@example.org"));
    const QString prompt = QString::fromStdString(box.prompt);
    EXPECT_EQ(prompt.count('\r'), 6);
    EXPECT_EQ(prompt.count('\n'), 6);
    EXPECT_EQ(w.results(), 1);
    EXPECT_EQ(w.text("Text4"), "20");
}

TEST(WindowMenus, ExitAndBeendenEndTheProgramWithoutAWord) {
    Window w(german);
    w.press("Command3");
    EXPECT_EQ(w.ended, 1);
    w.find<QAction>("mnuend1")->trigger();
    EXPECT_EQ(w.ended, 2);
    EXPECT_TRUE(w.messages.messages.empty());
}

TEST(WindowMenus, ClosingTheFrameIsNotRefused) {
    Window w(german);
    w.addResults(1);
    EXPECT_TRUE(w->close());
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(w.messages.messages.empty());
}

} // namespace
} // namespace kolmaris
