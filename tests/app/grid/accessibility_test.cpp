#include "app/grid/results_grid.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QClipboard>
#include <QHeaderView>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace kolmaris {
namespace {

using test_support::german;
using test_support::Window;

// The names of the focusable controls below `node`; the table's cells are checked by column.
void collectNames(QAccessibleInterface* node, std::map<QString, QString>& names) {
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child->state().focusable && child->object() != nullptr) {
            names[child->object()->objectName()] = child->text(QAccessible::Name);
            EXPECT_FALSE(child->text(QAccessible::Description).isEmpty())
                << child->object()->objectName().toStdString();
        }
        if (child->role() != QAccessible::Table) {
            collectNames(child, names);
        }
    }
}

TEST(Accessibility, EveryFocusableControlAndEveryColumnHasAName) {
    Window w(german);
    w.addResults(1);
    std::map<QString, QString> expected = {{"Text1", "Rohr-Innendurchmesser in mm"},
                                           {"Text2", "Volumenstrom in dm3/min"},
                                           {"Text3", "Leitungslänge in m"},
                                           {"Text4", "Temperatur in °C"},
                                           {"MSFlexGrid1", "Ergebnisse"}};
    for (QAbstractButton* button : w->centralWidget()->findChildren<QAbstractButton*>()) {
        if (button->focusPolicy() & Qt::TabFocus) {
            expected[button->objectName()] = button->text(); // the 9 options and 3 buttons
        }
    }
    std::map<QString, QString> names;
    collectNames(QAccessible::queryAccessibleInterface(&*w), names);
    EXPECT_EQ(names, expected);
    EXPECT_EQ(names.size(), 17u);

    QAccessibleInterface* table =
        QAccessible::queryAccessibleInterface(w.find<QWidget>("MSFlexGrid1"));
    QStringList headers;
    for (int i = 0; i < table->childCount(); ++i) {
        const QAccessible::Role role = table->child(i)->role();
        if (role == QAccessible::ColumnHeader || role == QAccessible::RowHeader) {
            headers << table->child(i)->text(QAccessible::Name);
        }
    }
    EXPECT_EQ(headers, (QStringList{"Geschw. [m/s]", "DV/m [Pascal]", "DV Total [Pascal]",
                                    "Reynold [-]", "Lamda [-]", "", "1", ""}));
    EXPECT_EQ(table->tableInterface()->cellAt(1, 2)->text(QAccessible::Name), w.cell(2, 3));
    // The row's origin is the description of its number only; the other cells keep it as
    // their tooltip, which a screen reader does not read.
    QStringList numberDescriptions;
    for (int i = 0; i < table->childCount(); ++i) {
        if (table->child(i)->role() == QAccessible::RowHeader) {
            numberDescriptions << table->child(i)->text(QAccessible::Description);
        }
    }
    ASSERT_EQ(numberDescriptions.size(), 3);
    EXPECT_TRUE(numberDescriptions[1].startsWith(QStringLiteral("Ergebnis 1\nDurchmesser: ")));
    EXPECT_TRUE(numberDescriptions[2].isEmpty()) << "a free row";
    for (int col = 0; col < 5; ++col) {
        EXPECT_EQ(table->tableInterface()->cellAt(1, col)->text(QAccessible::Description), "");
    }
}

TEST(Accessibility, EachNewResultIsANotificationThatIsHeardNotSeen) {
    Window w(german);
    auto* notice = w.find<QWidget>("announcement");
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(notice);
    EXPECT_EQ(spoken->role(), QAccessible::Notification);
    EXPECT_TRUE(spoken->state().invisible) << "nothing to announce yet";
    w.addResults(2);
    EXPECT_FALSE(spoken->state().invisible);
    EXPECT_TRUE(notice->size().isEmpty());
    EXPECT_EQ(notice->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(spoken->text(QAccessible::Name), "Ergebnis 2 eingetragen");
    EXPECT_EQ(spoken->text(QAccessible::Description),
              "Geschw. 0,85 m/s, DV/m 172,80 Pascal, DV Total 1728,02 Pascal, Reynold 42004, "
              "Lamda 0,02400");
    // A failed run writes nothing and announces nothing: its message box speaks for itself.
    w.type("Text1", "x");
    w.press("Command1");
    EXPECT_EQ(spoken->text(QAccessible::Name), "Ergebnis 2 eingetragen");
}

// A row's inputs and notes are its tooltip, which a screen reader does not read: Alt+Enter on
// the current row shows them and tells them through the notification Orca speaks.
TEST(Accessibility, AltEnterTellsTheCurrentRowsInputsAndNotes) {
    Window w(german);
    w.addResults(1);
    w.type("Text4", "120"); // above the viscosity table: a note
    w.press("Command1");
    w.messages.messages.clear();
    QApplication::setActiveWindow(&*w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&*w));
    auto* grid = w.find<ResultsGridView>("MSFlexGrid1");
    grid->setFocus();
    QAccessibleInterface* spoken =
        QAccessible::queryAccessibleInterface(w.find<QWidget>("announcement"));
    const struct {
        int viewRow; // the units row, results 1 and 2, the free row
        const char* name;
        const char* description;
    } rows[] = {
        {0, "Keine Ergebniszeile gewählt", ""},
        {1, "Ergebnis 1",
         "Durchmesser: 50 mm, Volumenstrom: 100 dm3/min, Länge: 10 m, Temperatur: 20 °C, "
         "Medium: Wasser, Rohrmaterial: Eisenrohr schwarz"},
        {2, "Ergebnis 2",
         "Durchmesser: 50 mm, Volumenstrom: 100 dm3/min, Länge: 10 m, Temperatur: 120 °C, "
         "Medium: Wasser, Rohrmaterial: Eisenrohr schwarz, Hinweis: über 100 °C: Zähigkeit "
         "von 90–100 °C verwendet"},
        {3, "Keine Ergebniszeile gewählt", ""},
    };
    for (const auto& row : rows) {
        grid->setCurrentIndex(grid->model()->index(row.viewRow, 2));
        QTest::keyClick(grid, Qt::Key_Return, Qt::AltModifier);
        EXPECT_EQ(spoken->text(QAccessible::Name), QString::fromUtf8(row.name)) << row.viewRow;
        EXPECT_EQ(spoken->text(QAccessible::Description), QString::fromUtf8(row.description));
    }
    EXPECT_TRUE(w.messages.messages.empty());
}

double luminance(QRgb rgb) {
    const auto linear = [](int v) {
        return v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

// A text's contrast as painted: its background is the commonest colour of the area, the text
// the colour furthest from it. Smoothed glyph edges can only lower the result.
double paintedContrast(const QImage& picture, const QRect& area) {
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            ++counts[picture.pixel(x, y)];
        }
    }
    const double background =
        luminance(std::max_element(counts.begin(), counts.end(), [](auto a, auto b) {
                      return a.second < b.second;
                  })->first);
    double worst = 1;
    for (const auto& [rgb, count] : counts) {
        const double l = luminance(rgb);
        worst =
            std::max(worst, (std::max(l, background) + 0.05) / (std::min(l, background) + 0.05));
    }
    return worst;
}

TEST(Accessibility, EveryTextStaysLegibleUnderADarkPalette) {
    // The dark palette Qt derives from a dark button colour (light texts, black cells), with a
    // selection colour of its own: Qt's light one stays from the application's palette.
    QPalette dark(QColor(53, 53, 53));
    dark.setColor(QPalette::Highlight, QColor(38, 110, 190));
    Window w(german);
    w.addResults(1);
    w->setPalette(dark);
    auto* grid = w.find<ResultsGridView>("MSFlexGrid1");
    grid->selectionModel()->select(grid->model()->index(1, 2), QItemSelectionModel::Select);

    std::vector<std::pair<QWidget*, QRect>> texts;
    for (const char* name : {"Label1", "Label4", "Label8", "Text1", "Command1", "Option1_0"}) {
        texts.emplace_back(w.find<QWidget>(name), w.find<QWidget>(name)->rect());
    }
    QHeaderView* titles = grid->horizontalHeader();
    QHeaderView* numbers = grid->verticalHeader();
    for (int c = 0; c < 5; ++c) { // titles, units, the result with one cell selected
        texts.emplace_back(titles->viewport(), QRect(titles->sectionViewportPosition(c), 0,
                                                     titles->sectionSize(c), titles->height()));
        texts.emplace_back(grid->viewport(), grid->visualRect(grid->model()->index(0, c)));
        texts.emplace_back(grid->viewport(), grid->visualRect(grid->model()->index(1, c)));
    }
    texts.emplace_back(numbers->viewport(), QRect(0, numbers->sectionViewportPosition(1),
                                                  numbers->width(), numbers->sectionSize(1)));
    texts.emplace_back(grid->findChild<QAbstractButton*>(),
                       QRect(0, 0, numbers->width(), titles->height()));

    const QImage picture = w->grab().toImage();
    for (const auto& [widget, area] : texts) {
        // Inside the edges and lines of cells and boxes.
        const QRect inner =
            QRect(widget->mapTo(&*w, area.topLeft()), area.size()).adjusted(2, 2, -2, -2);
        EXPECT_GE(paintedContrast(picture, inner), 4.5)
            << widget->objectName().toStdString() << " " << area.x();
    }
}

// Every key goes where a keyboard's would: to the widget with the focus.
void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void tabTo(const char* name, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    for (int i = 0; i < 20 && QApplication::focusWidget()->objectName() != name; ++i) {
        key(Qt::Key_Tab, modifiers);
    }
    ASSERT_EQ(QApplication::focusWidget()->objectName(), name);
}

TEST(Accessibility, KeyboardAloneFromTheOptionsToACopiedResultWithAVisibleFocus) {
    Window w(german);
    QApplication::setActiveWindow(&*w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&*w));
    key(Qt::Key_Space); // "Wasser" has the focus first
    tabTo("Option6");
    key(Qt::Key_Space);
    for (auto [box, text] :
         {std::pair{"Text1", "50"}, {"Text2", "100"}, {"Text3", "10"}, {"Text4", "20"}}) {
        tabTo(box);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    tabTo("Command1", Qt::ShiftModifier);
    key(Qt::Key_Space);
    ASSERT_EQ(w.results(), 1);
    EXPECT_TRUE(w.messages.messages.empty());

    // Tabbing in marks the frame and the current cell, the first one, and no other cell.
    auto* grid = w.find<ResultsGridView>("MSFlexGrid1");
    const QImage before = grid->grab().toImage();
    tabTo("MSFlexGrid1");
    const QImage focused = grid->grab().toImage();
    const auto marked = [&](const QRect& area) { return before.copy(area) != focused.copy(area); };
    const auto cell = [grid](int row, int col) {
        return grid->visualRect(grid->model()->index(row, col)).translated(grid->viewport()->pos());
    };
    EXPECT_TRUE(marked(QRect(0, 0, grid->width(), grid->frameWidth())));
    EXPECT_TRUE(marked(cell(0, 0)));
    EXPECT_FALSE(marked(cell(1, 1)));

    key(Qt::Key_C, Qt::ControlModifier);
    QStringList row;
    for (int col = 0; col < 6; ++col) {
        row << w.cell(2, col).trimmed();
    }
    EXPECT_EQ(QGuiApplication::clipboard()->text().split('\n').value(2), row.join('\t'));
}

} // namespace
} // namespace kolmaris
