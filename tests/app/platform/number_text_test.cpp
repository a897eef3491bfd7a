#include "app/platform/number_text.h"
#include "locales.h"

#include <gtest/gtest.h>

#include <optional>

namespace kolmaris {
namespace {

using Kind = NumberConversionFailure::Kind;

std::optional<Kind> failureOf(const QString& text, const QLocale& locale) {
    try {
        convertNumberText(text, locale);
    } catch (const NumberConversionFailure& failure) {
        return failure.kind();
    }
    return std::nullopt;
}

using test_support::english;
using test_support::german;

TEST(ConvertNumberText, ReadsTheRegionalDecimalSeparator) {
    EXPECT_DOUBLE_EQ(convertNumberText("12,5", german), 12.5);
    EXPECT_DOUBLE_EQ(convertNumberText("12.5", english), 12.5);
    EXPECT_DOUBLE_EQ(convertNumberText("0,001", german), 0.001);
}

TEST(ConvertNumberText, AcceptsBlanksSignsAndExponents) {
    EXPECT_DOUBLE_EQ(convertNumberText("  -3,5  ", german), -3.5);
    EXPECT_DOUBLE_EQ(convertNumberText("+20", german), 20.0);
    EXPECT_DOUBLE_EQ(convertNumberText("1,5E2", german), 150.0);
    EXPECT_DOUBLE_EQ(convertNumberText("1.5e-3", english), 0.0015);
    // A denormal is still a number; only values beyond the double range fail.
    EXPECT_DOUBLE_EQ(convertNumberText("1e-310", english), 1e-310);
}

TEST(ConvertNumberText, EmptyOrNonNumericTextIsATypeMismatch) {
    for (const QLocale& locale : {german, english}) {
        for (const char* text : {"", "   ", "abc", "12 mm", "1 000", "0x10", "--1"}) {
            EXPECT_EQ(failureOf(text, locale), Kind::TypeMismatch)
                << locale.name().toStdString() << " '" << text << "'";
        }
    }
}

TEST(ConvertNumberText, RefusesGroupSeparatorsInsteadOfMisreadingThem) {
    // Under German settings a plain conversion reads "1.234" as 1234 and "12.5" as 125.
    for (const char* text : {"1.234", "12.5", "1.234,5"}) {
        EXPECT_EQ(failureOf(text, german), Kind::TypeMismatch) << text;
    }
    for (const char* text : {"1,234", "1,234.5"}) {
        EXPECT_EQ(failureOf(text, english), Kind::TypeMismatch) << text;
    }
    // The decimal separator of the other convention is no number either.
    EXPECT_EQ(failureOf("12,5", english), Kind::TypeMismatch);
}

TEST(ConvertNumberText, RefusesInfinityAndNotANumber) {
    for (const char* text : {"inf", "-inf", "nan", "NaN"}) {
        EXPECT_EQ(failureOf(text, german), Kind::TypeMismatch) << text;
        EXPECT_EQ(failureOf(text, english), Kind::TypeMismatch) << text;
    }
}

TEST(ConvertNumberText, NumbersBeyondTheDoubleRangeOverflow) {
    EXPECT_EQ(failureOf("1e400", english), Kind::Overflow);
    EXPECT_EQ(failureOf("-1E400", german), Kind::Overflow);
    EXPECT_EQ(failureOf("1" + QString(400, '0'), german), Kind::Overflow);
}

TEST(ConvertNumberText, FailureIsCaughtAsOneOfOurErrors) {
    EXPECT_THROW(convertNumberText("x", german), KolmarisError);
}

} // namespace
} // namespace kolmaris
