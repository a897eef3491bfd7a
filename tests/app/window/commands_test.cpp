// The window's commands through its real controls, under German and English settings.
#include "app/platform/qt_message_sink.h"
#include "app/window/main_window.h"
#include "box_closer.h"
#include "recording_sink.h"
#include "window_fixture.h"

#include <QClipboard>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace kolmaris {
namespace {

using namespace test_support;

// --- commands under German and English settings ----------------------------------------------

class Commands : public ::testing::TestWithParam<QLocale> {};

INSTANTIATE_TEST_SUITE_P(Settings, Commands, ::testing::Values(german, english),
                         [](const ::testing::TestParamInfo<QLocale>& info) {
                             return info.param.name().toStdString();
                         });

TEST_P(Commands, CompletedRunAppendsOneRowAndKeepsInputsAndChoices) {
    Window w(GetParam());
    w.addResults(0);
    w.press("Command1");
    EXPECT_TRUE(w.messages.messages.empty());
    ASSERT_EQ(w.results(), 1);
    EXPECT_EQ(w.cell(2, 0), "1");
    EXPECT_EQ(w.cell(2, 1), w.localised("0,85"));
    EXPECT_EQ(w.cell(2, 2), w.localised("172,80"));
    EXPECT_EQ(w.cell(2, 4), "42004");
    EXPECT_EQ(w.cell(2, 5), w.localised("0,02400"));
    EXPECT_EQ(w->grid().rows(), 4);
    EXPECT_EQ(w.text("Text1"), "50");
    EXPECT_EQ(w.text("Text4"), "20");
    EXPECT_TRUE(w.chosen("Option1_0"));
    EXPECT_TRUE(w.chosen("Option6"));
    EXPECT_DOUBLE_EQ(w->record().diameterInput, 50);
    EXPECT_DOUBLE_EQ(w->record().flowRateInput, 100);
    EXPECT_DOUBLE_EQ(w->record().lengthInput, 10);
    EXPECT_DOUBLE_EQ(w->record().temperatureInput, 20);
}

TEST_P(Commands, ReadsTheDecimalSeparatorOfTheSettings) {
    Window w(GetParam());
    w.addResults(0);
    w.type("Text1", "12,5");
    w.press("Command1");
    EXPECT_TRUE(w.messages.messages.empty());
    EXPECT_DOUBLE_EQ(w->record().diameterInput, 12.5);
    EXPECT_EQ(w.results(), 1);
}

TEST_P(Commands, UnreadableNumbersAreInvalid) {
    Window w(GetParam());
    w.addResults(0);
    const bool german = GetParam().decimalPoint() == ",";
    // Grouped or in the other convention, beyond the double range, or not finite.
    for (const char* text : {german ? "12.5" : "12,5", "1e999", "inf"}) {
        w.typeValidInputs();
        w.find<QLineEdit>("Text3")->setText(text);
        w.press("Command1");
        EXPECT_EQ(w.messages.messages, std::vector<RecordedMessage>{invalidInput}) << text;
        EXPECT_TRUE(w.inputsEmpty());
        w.messages.messages.clear();
    }
    EXPECT_EQ(w.results(), 0);
}

TEST_P(Commands, APasteLongerThanQtsDefaultLimitReachesTheConversionWhole) {
    Window w(GetParam());
    w.addResults(0);
    w.typeValidInputs();
    // Cut at 32,767 characters this would be all zeros, and the run would go on with 0 m.
    QGuiApplication::clipboard()->setText(QString(99998, QLatin1Char('0')) + QStringLiteral("50"));
    auto* length = w.find<QLineEdit>("Text3");
    length->clear();
    length->paste();
    EXPECT_EQ(length->text().size(), 100000);
    w.press("Command1");
    EXPECT_TRUE(w.messages.messages.empty());
    EXPECT_DOUBLE_EQ(w->record().lengthInput, 50);
}

TEST_P(Commands, EmptyDiameterEndsInInvalidInputWithClearedBoxes) {
    Window w(GetParam());
    w.addResults(1);
    w.find<QLineEdit>("Text1")->clear();
    w.press("Command1");
    EXPECT_EQ(w.messages.messages, std::vector<RecordedMessage>{invalidInput});
    EXPECT_TRUE(w.inputsEmpty());
    EXPECT_EQ(w.results(), 1);
    EXPECT_EQ(w->grid().rows(), 5); // the second preparation has sized the table again
    EXPECT_TRUE(w.chosen("Option1_0"));
    EXPECT_TRUE(w.chosen("Option6"));
}

TEST_P(Commands, FailedConversionKeepsTheFieldsReadBeforeIt) {
    Window w(GetParam());
    w.addResults(1);
    w.type("Text1", "40");
    w.type("Text2", "90,5");
    w.type("Text3", "5");
    w.find<QLineEdit>("Text4")->setText("abc");
    w.press("Command1");
    EXPECT_EQ(w.messages.messages, std::vector<RecordedMessage>{invalidInput});
    EXPECT_DOUBLE_EQ(w->record().diameterInput, 40);
    EXPECT_DOUBLE_EQ(w->record().flowRateInput, 90.5);
    EXPECT_DOUBLE_EQ(w->record().lengthInput, 5);
    EXPECT_DOUBLE_EQ(w->record().temperatureInput, 20); // from the run before
    EXPECT_TRUE(w.inputsEmpty());
    EXPECT_EQ(w.results(), 1);
}

TEST_P(Commands, ZeroDiameterFailsInTheCalculation) {
    Window w(GetParam());
    w.addResults(0);
    w.type("Text1", "0");
    w.press("Command1");
    EXPECT_EQ(w.messages.messages, std::vector<RecordedMessage>{invalidInput});
    EXPECT_EQ(w.results(), 0);
    EXPECT_TRUE(w.inputsEmpty());
}

TEST_P(Commands, NoFrictionFactorMeansNoRowAndTheNearestCandidateIsARealResult) {
    Window w(GetParam());
    w.addResults(0);
    // A 0.01 mm galvanised pipe: the balance never changes sign, so no friction factor exists.
    w.choose("Option5");
    w.type("Text1", "0,01");
    w.press("Command1");
    EXPECT_EQ(w.messages.messages, std::vector<RecordedMessage>{invalidInput});
    EXPECT_EQ(w.results(), 0);

    // 1000 mm, 1,000,000 dm³/min of water through stainless steel: no pass accepts, and the
    // candidate nearest the balance point stands in the row, not some 1e11 Pa per metre.
    w.messages.messages.clear();
    w.choose("Option7");
    w.typeValidInputs();
    w.type("Text1", "1000");
    w.type("Text2", "1000000");
    w.press("Command1");
    EXPECT_TRUE(w.messages.messages.empty());
    ASSERT_EQ(w.results(), 1);
    EXPECT_EQ(w.cell(2, 5), w.localised("0,00800"));
    EXPECT_NEAR(w->record().lossPerMetre, 1800, 1);
}

TEST_P(Commands, MissingMediumWarnsThenEndsAsInvalidInput) {
    Window w(GetParam());
    w.choose("Option6");
    w.typeValidInputs();
    w.press("Command1");
    EXPECT_EQ(w.messages.messages, (std::vector<RecordedMessage>{noMedium, invalidInput}));
    EXPECT_TRUE(w.inputsEmpty());
    EXPECT_EQ(w.results(), 0);
    EXPECT_TRUE(w.chosen("Option6"));
}

TEST_P(Commands, MissingMaterialWarnsThenEndsAsInvalidInput) {
    Window w(GetParam());
    w.choose("Option2");
    w.typeValidInputs();
    w.press("Command1");
    ASSERT_EQ(w.messages.messages.size(), 2u);
    EXPECT_EQ(w.messages.messages[0].prompt, "Bitte Rohrmaterial wählen!");
    EXPECT_EQ(w.messages.messages[1], invalidInput);
    EXPECT_TRUE(w.inputsEmpty());
}

TEST_P(Commands, NewCalculationClearsOnlyTheInputs) {
    Window w(GetParam());
    w.addResults(3);
    const CalculationRecord before = w->record();
    w.press("Command2");
    EXPECT_TRUE(w.inputsEmpty());
    EXPECT_EQ(w.results(), 3);
    EXPECT_EQ(w->grid().rows(), 7);
    EXPECT_TRUE(w.chosen("Option1_0"));
    EXPECT_TRUE(w.chosen("Option6"));
    EXPECT_DOUBLE_EQ(w->record().lossTotal, before.lossTotal);
    EXPECT_DOUBLE_EQ(w->record().diameterInput, before.diameterInput);
    EXPECT_TRUE(w.messages.messages.empty());
}

TEST_P(Commands, FullTableMessageAt25Results) {
    Window w(GetParam());
    w.addResults(25);

    // An invalid input shows it before reading the inputs and again after the error box.
    w.find<QLineEdit>("Text2")->setText("x");
    w.press("Command1");
    EXPECT_EQ(w.messages.messages,
              (std::vector<RecordedMessage>{tableFull, invalidInput, tableFull}));
    EXPECT_EQ(w.results(), 25);

    // "Neue Berechnung" shows it too.
    w.messages.messages.clear();
    w.press("Command2");
    EXPECT_EQ(w.messages.messages, std::vector<RecordedMessage>{tableFull});

    // A completed run goes on after it and writes result 26 into row 27 of 29.
    w.messages.messages.clear();
    w.typeValidInputs();
    w.press("Command1");
    EXPECT_EQ(w.messages.messages, std::vector<RecordedMessage>{tableFull});
    EXPECT_EQ(w.cell(27, 0), "26");
    EXPECT_EQ(w->grid().rows(), 29);
}

TEST_P(Commands, TwentyNinthResultIsRefusedAndTheTableStays) {
    Window w(GetParam());
    w.addResults(28);
    ASSERT_EQ(w.results(), 28);
    EXPECT_EQ(w.cell(29, 0), "28");
    EXPECT_EQ(w->grid().rows(), 30);

    w.press("Command1");
    EXPECT_EQ(w.messages.messages, std::vector<RecordedMessage>{invalidInput});
    EXPECT_TRUE(w.inputsEmpty());
    EXPECT_EQ(w.results(), 28);
    EXPECT_EQ(w->grid().rows(), 30);
    EXPECT_EQ(w.cell(29, 0), "28");
}

// --- with real message boxes ------------------------------------------------------------------

TEST(WindowWithRealBoxes, InvalidInputShowsTheErrorBoxAndGoesOnAfterOk) {
    QtMessageSink sink;
    Window w(german, &sink);
    sink.setParentWidget(&*w);
    test_support::SeenBox seen;
    test_support::closeNextBox(seen);
    w.type("Text2", "5");
    w.press("Command1");
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.text, QStringLiteral("Üngültige Eingabe"));
    EXPECT_EQ(seen.title, "Fehler");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QStringList{"OK"});
    EXPECT_TRUE(w.inputsEmpty());
}

} // namespace
} // namespace kolmaris
