#include "number_formats.h"
#include "results/number_format.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace kolmaris {
namespace {

using test_support::english;
using test_support::german;

struct Case {
    double value;
    int decimals;
    const char* expected; // with '.'; the German run expects ',' in its place
};

std::string withComma(std::string text) {
    for (char& c : text) {
        if (c == '.') {
            c = ',';
        }
    }
    return text;
}

// The expected text names the case: "1_23" for "1.23", "minus0_00" for "-0.00".
std::string caseName(const testing::TestParamInfo<Case>& info) {
    std::string name;
    for (const char c : std::string(info.param.expected)) {
        name += c == '.' ? std::string("_") : c == '-' ? std::string("minus") : std::string(1, c);
    }
    return name;
}

class FormatFixed : public testing::TestWithParam<Case> {};

TEST_P(FormatFixed, EnglishAndGerman) {
    const Case c = GetParam();
    EXPECT_EQ(formatFixed(c.value, c.decimals, english), c.expected);
    EXPECT_EQ(formatFixed(c.value, c.decimals, german), withComma(c.expected));
}

INSTANTIATE_TEST_SUITE_P(ResultValues, FormatFixed,
                         testing::Values(Case{1.2345, 2, "1.23"}, Case{1234.5678, 2, "1234.57"},
                                         Case{15432.7, 0, "15433"}, Case{0.0234567, 5, "0.02346"},
                                         Case{1234567.891, 2, "1234567.89"}, Case{4, 0, "4"},
                                         Case{0, 5, "0.00000"}, Case{0.004, 2, "0.00"}),
                         caseName);

// Halfway means the exact binary value, not the decimal literal.
INSTANTIATE_TEST_SUITE_P(Rounding, FormatFixed,
                         testing::Values(Case{0.125, 2, "0.13"}, Case{2.5, 0, "3"},
                                         Case{0.5, 0, "1"}, Case{-2.5, 0, "-3"},
                                         Case{2.675, 2, "2.67"}, Case{1.005, 2, "1.00"},
                                         Case{99.995, 2, "100.00"}, Case{9.5, 0, "10"},
                                         Case{0.000005, 5, "0.00001"}),
                         caseName);

INSTANTIATE_TEST_SUITE_P(Negative, FormatFixed,
                         testing::Values(Case{-1.2345, 2, "-1.23"}, Case{-0.001, 2, "-0.00"},
                                         Case{-0.4, 0, "-0"}, Case{-0.0, 2, "0.00"}),
                         caseName);

TEST(FormatFixedExtremes, HugeValuesShowEveryDigit) {
    const std::string text = formatFixed(1e300, 2, german);
    EXPECT_EQ(text.size(), 301u + 3u);
    EXPECT_EQ(text.substr(0, 20), "10000000000000000525");
    EXPECT_EQ(text.substr(text.size() - 3), ",00");
    EXPECT_EQ(formatFixed(-std::numeric_limits<double>::max(), 0, german).size(), 1u + 309u);
}

TEST(FormatFixedExtremes, TinyAndNonFiniteValuesStaySane) {
    EXPECT_EQ(formatFixed(std::numeric_limits<double>::denorm_min(), 5, german), "0,00000");
    EXPECT_EQ(formatFixed(std::nan(""), 2, german), "NaN");
    EXPECT_EQ(formatFixed(std::numeric_limits<double>::infinity(), 2, german), "Inf");
    EXPECT_EQ(formatFixed(-std::numeric_limits<double>::infinity(), 2, german), "-Inf");
}

// A GUI toolkit may switch the C library to the user's locale; the result must not change.
TEST(FormatFixedExtremes, IgnoresTheCLibraryLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "de_DE")) {
        GTEST_SKIP() << "no German locale installed";
    }
    const std::string english1 = formatFixed(1234.565, 2, english);
    const std::string german1 = formatFixed(0.125, 2, german);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(english1, "1234.57");
    EXPECT_EQ(german1, "0,13");
}

bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The shortest exact text, for people and for a sheet's XML, and the parser that takes it back.
TEST(FormatExact, WritesTheShortestTextThatReadsBackBitForBit) {
    const struct {
        double value;
        const char* german;
    } cases[] = {
        {0.1 + 0.2, "0,30000000000000004"},
        {1e-4, "0,0001"},
        {1e6, "1000000"},
        {-273.15, "-273,15"},
        {1e-9, "0,000000001"},
        {1e15, "1000000000000000"},
        {4503599627370495.5, "4503599627370495,5"},
        {9.999999999999999e-10, "9,999999999999999·10⁻¹⁰"},
        {1.5e-12, "1,5·10⁻¹²"},
        {1e16, "1·10¹⁶"},
        {0.0, "0"},
        {-0.0, "-0"},
        {std::numeric_limits<double>::denorm_min(), "5·10⁻³²⁴"},
        {std::numeric_limits<double>::min(), "2,2250738585072014·10⁻³⁰⁸"},
        {-std::numeric_limits<double>::max(), "-1,7976931348623157·10³⁰⁸"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatExact(c.value, german), c.german);
        for (const NumberFormat& format : {german, english}) {
            const auto back = parseNumber(formatExact(c.value, format), format);
            ASSERT_TRUE(back.has_value()) << c.german;
            EXPECT_TRUE(sameBits(*back, c.value)) << c.german;
        }
        const std::string xml = xmlNumber(c.value);
        double fromXml = 1;
        const auto [end, ec] = std::from_chars(xml.data(), xml.data() + xml.size(), fromXml);
        EXPECT_TRUE(ec == std::errc() && end == xml.data() + xml.size()) << xml;
        EXPECT_TRUE(sameBits(fromXml, c.value)) << xml;
        EXPECT_EQ(xml.find_first_of(",·"), std::string::npos) << xml;
    }
    EXPECT_EQ(xmlNumber(1.5e-12), "1.5E-12");
    EXPECT_EQ(formatExact(std::nan(""), german), "NaN");
}

TEST(ParseNumber, TakesTheFormattersTextsAndNothingElse) {
    EXPECT_TRUE(sameBits(*parseNumber("-0,00", german), -0.0));
    EXPECT_EQ(parseNumber("1234,57", german), 1234.57);
    EXPECT_EQ(parseNumber("1234.57", english), 1234.57);
    EXPECT_EQ(parseNumber(",5", german), 0.5);
    for (const char* text :
         {"",     "-",   ",",   "1.5",   "1,5,3", "1e5",  "1E5",   "+1",     "1 000",   " 1",
          "1,5 ", "inf", "nan", "0x1p3", "·10²",  "1·10", "1·10⁻", "1·10²x", "1·10³⁰⁹", "1·10^2"}) {
        EXPECT_FALSE(parseNumber(text, german).has_value()) << text;
    }
}

} // namespace
} // namespace kolmaris
