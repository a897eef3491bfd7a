// "Ausgeben nach MS Excel" and "Einlesen von MS Excel" through the real window: results leave
// the program into the file the user names and come back from it, and nothing the user has is
// lost when a file cannot be written or read.

#include "edited_workbooks.h"
#include "grid_cells.h"
#include "window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kolmaris {
namespace {

using test_support::english;
using test_support::german;
using test_support::Window;

using Rows = test_support::Cells;

Rows resultRows(Window& w) {
    return test_support::resultRowsOf(w->grid());
}

// n results with different values: each run doubles the flow.
void addDistinctResults(Window& w, int n) {
    w.addResults(0);
    for (int i = 0; i < n; ++i) {
        w.find<QLineEdit>("Text2")->setText(QString::number(25 << i));
        w.press("Command1");
    }
    w.messages.messages.clear();
}

void exportTo(Window& w, const QString& path) {
    w.files.saveName = path;
    w.find<QAction>("mnuexel2")->trigger();
}

void importFrom(Window& w, const QString& path) {
    w.files.openName = path;
    w.find<QAction>("mnuexcel1")->trigger();
}

class WorkbookCommands : public ::testing::TestWithParam<QLocale> {
protected:
    QTemporaryDir folder;
    QString file(const char* name) const { return folder.filePath(QLatin1String(name)); }
};

INSTANTIATE_TEST_SUITE_P(Settings, WorkbookCommands, ::testing::Values(german, english),
                         [](const auto& info) { return info.param.name().toStdString(); });

TEST_P(WorkbookCommands, SavedResultsComeBackBelowThoseStandingRenumbered) {
    Window source(GetParam());
    addDistinctResults(source, 3);
    exportTo(source, file("runde.xlsx"));
    EXPECT_EQ(source.files.proposed, "Kolmaris-Ergebnisse.xlsx");
    EXPECT_TRUE(source.messages.messages.empty());
    ASSERT_TRUE(QFile::exists(file("runde.xlsx")));

    Window target(GetParam());
    addDistinctResults(target, 1);
    Rows expected = resultRows(target);
    for (auto row : resultRows(source)) {
        row[0] = std::to_string(expected.size() + 1);
        expected.push_back(row);
    }
    importFrom(target, file("runde.xlsx"));
    EXPECT_TRUE(target.messages.messages.empty());

    EXPECT_EQ(resultRows(target), expected);
    EXPECT_EQ(target.results(), 4);
    // And the table goes on as if they had been calculated here.
    target.typeValidInputs();
    target.press("Command1");
    EXPECT_EQ(target.results(), 5);
}

TEST_P(WorkbookCommands, CancellingADialogDoesNothing) {
    Window w(GetParam());
    addDistinctResults(w, 2);
    const Rows before = resultRows(w);
    exportTo(w, QString());
    importFrom(w, QString());
    EXPECT_EQ(w.files.asked, 2);
    EXPECT_TRUE(w.messages.messages.empty());
    EXPECT_EQ(resultRows(w), before);
}

TEST_P(WorkbookCommands, AFailedWriteSaysWhyAndKeepsTheTable) {
    Window w(GetParam());
    addDistinctResults(w, 2);
    const Rows before = resultRows(w);
    exportTo(w, file("kein-ordner/ergebnisse.xlsx"));
    ASSERT_EQ(w.messages.messages.size(), 1u);
    EXPECT_EQ(w.messages.messages[0].style, WarningStyle);
    EXPECT_EQ(w.messages.messages[0].title, "Fehler");
    EXPECT_EQ(w.messages.messages[0].prompt.rfind("Die Tabelle kann nicht gespeichert werden.", 0),
              0u);
    EXPECT_EQ(resultRows(w), before);
    EXPECT_EQ(w.text("Text1"), "50") << "the inputs stay as well";
}

TEST_P(WorkbookCommands, UnusableFilesChangeNothing) {
    Window w(GetParam());
    addDistinctResults(w, 2);
    const Rows before = resultRows(w);

    QFile damaged(file("kaputt.xlsx"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("PK\x03\x04 nicht wirklich eine Arbeitsmappe");
    damaged.close();

    for (const QString& path : {file("kaputt.xlsx"), file("fehlt.xlsx"), folder.path()}) {
        w.messages.messages.clear();
        importFrom(w, path);
        ASSERT_EQ(w.messages.messages.size(), 1u) << path.toStdString();
        EXPECT_EQ(w.messages.messages[0].style, WarningStyle);
        EXPECT_EQ(resultRows(w), before);
    }
}

TEST_P(WorkbookCommands, ResultsThatDoNotAllFitAreRefusedWhole) {
    Window source(GetParam());
    addDistinctResults(source, 3);
    exportTo(source, file("drei.xlsx"));

    Window full(GetParam());
    full.addResults(26);
    const Rows before = resultRows(full);
    importFrom(full, file("drei.xlsx"));
    ASSERT_EQ(full.messages.messages.size(), 1u);
    EXPECT_NE(full.messages.messages[0].prompt.find("3"), std::string::npos);
    EXPECT_EQ(resultRows(full), before);

    // Two places left and a file of two: it fills the table exactly.
    Window two(GetParam());
    addDistinctResults(two, 2);
    exportTo(two, file("zwei.xlsx"));
    full.messages.messages.clear();
    importFrom(full, file("zwei.xlsx"));
    EXPECT_TRUE(full.messages.messages.empty());
    EXPECT_EQ(full.results(), 28);
}

TEST_P(WorkbookCommands, AWorkbookWithoutResultsSaysSo) {
    Window empty(GetParam());
    exportTo(empty, file("leer.xlsx"));
    EXPECT_TRUE(empty.messages.messages.empty());
    importFrom(empty, file("leer.xlsx"));
    ASSERT_EQ(empty.messages.messages.size(), 1u);
    EXPECT_EQ(empty.messages.messages[0].prompt, "Die Datei enthält keine Ergebnisse.");
    EXPECT_EQ(empty.results(), 0);
}

// Saved again by a spreadsheet after a hand edit: the length cleared in row 4, "wasser" in lower
// case in row 3 and a "Summe" row. The results come in, and one box says what was left out.
TEST_P(WorkbookCommands, AHandEditedWorkbookSaysOnceWhatWasLeftOut) {
    Window w(GetParam());
    importFrom(w, KOLMARIS_WORKBOOK_FIXTURES "/edited-by-hand.xlsx");
    EXPECT_EQ(w.results(), 3);
    EXPECT_EQ(w->results().find(1)->origin.inputs->medium, Medium::Water);
    EXPECT_FALSE(w->results().find(2)->origin.inputs);
    ASSERT_EQ(w.messages.messages.size(), 1u);
    EXPECT_EQ(w.messages.messages[0].style, InformationStyle);
    EXPECT_EQ(w.messages.messages[0].prompt, "Nicht eingelesen: Zeile 6 (keine Ergebnisnummer).\r\n"
                                             "Ohne ihre Eingaben eingelesen:\r\n"
                                             "Zeile 4: J4 leer");
}

// From the keyboard: the menu bar has the focus when "Einlesen" runs, and afterwards the focus
// is back in the box it came from. Rows that agree with their inputs keep them, and the run of
// the one above 100 °C shows no box.
TEST_P(WorkbookCommands, AnImportKeepsAgreeingInputsSilentlyAndGivesTheFocusBack) {
    QFile workbook(file("bearbeitet.xlsx"));
    ASSERT_TRUE(workbook.open(QIODevice::WriteOnly));
    workbook.write(QByteArray::fromStdString(test_support::editedWorkbooks()[0].bytes));
    workbook.close();

    Window w(GetParam());
    QApplication::setActiveWindow(&*w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&*w));
    w.find<QLineEdit>("Text3")->setFocus();
    w->menuBar()->setFocus(); // as Alt+D leaves it
    importFrom(w, workbook.fileName());
    EXPECT_TRUE(w.messages.messages.empty());
    ASSERT_EQ(w.results(), 5);
    for (int number = 1; number <= 5; ++number) {
        EXPECT_TRUE(w->results().find(number)->origin.inputs) << number;
    }
    EXPECT_EQ(QApplication::focusWidget(), w.find<QLineEdit>("Text3"));
}

} // namespace
} // namespace kolmaris
