// Every kind of bad text, in every input box, through the real window's "Berechnen": the user
// gets "Üngültige Eingabe", finds the boxes emptied, and keeps every result and both choices.

#include "window_fixture.h"

#include <QLineEdit>

#include <gtest/gtest.h>

#include <vector>

namespace kolmaris {
namespace {

using test_support::german;
using test_support::invalidInput;
using test_support::RecordedMessage;
using test_support::Window;

enum class Outcome { Accepted, Invalid };

struct BadText {
    const char* name;
    QString text;
    Outcome outcome;
};

std::vector<BadText> texts() {
    return {
        {"Empty", QString(), Outcome::Invalid},
        {"BlanksOnly", QStringLiteral("   "), Outcome::Invalid},
        {"Letters", QStringLiteral("abc"), Outcome::Invalid},
        {"BeyondTheDoubleRange", QStringLiteral("1e400"), Outcome::Invalid},
        {"BeyondTheDoubleRangeNegative", QStringLiteral("-1e400"), Outcome::Invalid},
        {"BelowTheSmallestDouble", QStringLiteral("1e-400"), Outcome::Invalid},
        {"Infinity", QStringLiteral("inf"), Outcome::Invalid},
        {"NotANumber", QStringLiteral("nan"), Outcome::Invalid},
        {"PointAsDecimalSeparator", QStringLiteral("12.5"), Outcome::Invalid},
        {"PointAsGroupSeparator", QStringLiteral("1.234"), Outcome::Invalid},
        {"WithUnit", QStringLiteral("1,5 m"), Outcome::Invalid},
        {"TenThousandDigits", QString(10000, QLatin1Char('9')), Outcome::Invalid},
        {"TenThousandCharactersOfBlanks",
         QString(4999, QLatin1Char(' ')) + QStringLiteral("50") + QString(4999, QLatin1Char(' ')),
         Outcome::Accepted},
        {"WithNul", QStringLiteral("12") + QChar(u'\0') + QStringLiteral("5"), Outcome::Invalid},
        {"ArabicIndicDigits", QStringLiteral("\u0661\u0662"), Outcome::Invalid},
        {"FullwidthDigits", QStringLiteral("\uff11\uff12"), Outcome::Invalid},
        {"LoneMinus", QStringLiteral("-"), Outcome::Invalid},
        {"LonePlus", QStringLiteral("+"), Outcome::Invalid},
        {"DecimalComma", QStringLiteral("12,5"), Outcome::Accepted},
        {"BlanksAndSign", QStringLiteral("  +50 "), Outcome::Accepted},
        {"Exponent", QStringLiteral("5E1"), Outcome::Accepted},
    };
}

std::vector<std::vector<std::string>> resultRows(Window& w) {
    std::vector<std::vector<std::string>> rows;
    for (int row = 2; row < w->grid().rows(); ++row) {
        std::vector<std::string> cells;
        for (int col = 0; col < w->grid().cols(); ++col) {
            cells.push_back(w->grid().cell(row, col));
        }
        rows.push_back(cells);
    }
    return rows;
}

TEST(BadInput, EveryTextInEveryBoxUnderGermanSettings) {
    const char* const boxes[] = {"Text1", "Text2", "Text3", "Text4"};
    for (const BadText& bad : texts()) {
        for (const char* box : boxes) {
            SCOPED_TRACE(std::string(bad.name) + " in " + box);
            Window w(german);
            w.addResults(2);
            const auto before = resultRows(w);
            w.typeValidInputs();
            w.find<QLineEdit>(box)->setText(bad.text);

            w.press("Command1");

            EXPECT_TRUE(w.chosen("Option1_0"));
            EXPECT_TRUE(w.chosen("Option6"));
            if (bad.outcome == Outcome::Invalid) {
                EXPECT_EQ(w.messages.messages, std::vector<RecordedMessage>{invalidInput});
                EXPECT_TRUE(w.inputsEmpty());
                EXPECT_EQ(w.results(), 2);
                // The table keeps its rows; only the two empty ones below are re-sized.
                auto after = resultRows(w);
                after.resize(before.size());
                EXPECT_EQ(after, before);
            } else {
                EXPECT_TRUE(w.messages.messages.empty());
                EXPECT_EQ(w.results(), 3);
                EXPECT_EQ(w.text(box), bad.text);
            }
        }
    }
}

} // namespace
} // namespace kolmaris
