#include "results/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace kolmaris {

namespace {

// Enough fractional digits to print any double exactly: the smallest subnormal, 2^-1074, has
// 1074 of them. The C library prints the exact binary value at this precision, so no rounding
// happens there and the halfway decision below sees the true digits.
constexpr int exactDigits = 1074;
// Bits of a double's significand, the hidden one included.
constexpr int mantissaBits = 53;

// The exact decimal expansion of a non-negative value: integer digits, the C library's decimal
// point, then exactly `fractionDigits` digits.
std::string exactExpansion(double magnitude, int fractionDigits) {
    const int length = std::snprintf(nullptr, 0, "%.*f", fractionDigits, magnitude);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*f", fractionDigits, magnitude);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Adds one unit in the last place of a string of decimal digits, carrying as far as needed.
void incrementDigits(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// The shortest decimal that reads back as the double: the digits d1d2d3... stand for
// d1.d2d3... times ten to the exponent.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// std::to_chars gives the shortest round-trip digits; its scientific form is taken apart so
// that every rendering below uses the same digits.
Decimal shortestDecimal(double value) {
    char buffer[32];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string text(buffer, result.ptr); // "-1.5e-12", "0e+00"
    Decimal decimal;
    std::size_t i = 0;
    if (text[i] == '-') {
        decimal.negative = true;
        ++i;
    }
    const std::size_t e = text.find('e');
    for (; i < e; ++i) {
        if (isDigit(text[i])) {
            decimal.digits += text[i];
        }
    }
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    decimal.exponent);
    return decimal;
}

enum class Notation { People, Xml };

// Plain digits for the decimal exponents -9 to 15, from 1e-9 to just under 1e16; beyond them a
// power of ten keeps the text short enough to read.
constexpr int plainFrom = -9;
constexpr int plainTo = 15;

constexpr std::string_view timesTen = "·10";
constexpr std::string_view superscriptMinus = "⁻";
constexpr std::string_view superscriptDigits[10] = {"⁰", "¹", "²", "³", "⁴",
                                                    "⁵", "⁶", "⁷", "⁸", "⁹"};

// The superscript digit at text[at], or -1.
int superscriptDigitAt(const std::string& text, std::size_t at) {
    for (int d = 0; d < 10; ++d) {
        if (text.compare(at, superscriptDigits[d].size(), superscriptDigits[d]) == 0) {
            return d;
        }
    }
    return -1;
}

std::string render(const Decimal& d, char separator, Notation notation) {
    std::string text = d.negative ? "-" : "";
    const auto count = static_cast<int>(d.digits.size());
    if (d.exponent >= plainFrom && d.exponent <= plainTo) {
        if (d.exponent < 0) {
            text += '0';
            text += separator;
            text.append(static_cast<std::size_t>(-d.exponent - 1), '0');
            text += d.digits;
        } else if (count <= d.exponent + 1) {
            text += d.digits;
            text.append(static_cast<std::size_t>(d.exponent + 1 - count), '0');
        } else {
            text.append(d.digits, 0, static_cast<std::size_t>(d.exponent + 1));
            text += separator;
            text.append(d.digits, static_cast<std::size_t>(d.exponent + 1), std::string::npos);
        }
        return text;
    }
    text += d.digits[0];
    if (count > 1) {
        text += separator;
        text.append(d.digits, 1, std::string::npos);
    }
    if (notation == Notation::Xml) {
        return text + (d.exponent < 0 ? "E-" : "E+") + std::to_string(std::abs(d.exponent));
    }
    text += timesTen;
    if (d.exponent < 0) {
        text += superscriptMinus;
    }
    for (const char c : std::to_string(std::abs(d.exponent))) {
        text += superscriptDigits[c - '0'];
    }
    return text;
}

} // namespace

std::string formatFixed(double value, int decimals, const NumberFormat& format) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Inf" : "Inf";
    }
    decimals = std::max(decimals, 0);

    // One digit past the kept ones decides the rounding; since every digit is exact, a 5
    // there means at least halfway, and halfway goes away from zero. A double whose lowest
    // bit is 2^-k has exactly k fractional digits: printing no more than those keeps them all
    // without the cost of a thousand zeros.
    int exponent = 0;
    std::frexp(value, &exponent);
    const int fractionDigits = std::min(exactDigits, std::max(0, mantissaBits - exponent));
    const int precision = std::max(fractionDigits, decimals + 1);
    const std::string exact = exactExpansion(std::fabs(value), precision);
    // The C library's decimal point follows LC_NUMERIC, which a GUI toolkit may have set from
    // the environment, so take the integer digits up to the first non-digit and the fraction
    // as the last `precision` characters rather than searching for '.'.
    const std::size_t integerDigits = exact.find_first_not_of("0123456789");
    const std::size_t fraction = exact.size() - static_cast<std::size_t>(precision);
    std::string digits =
        exact.substr(0, integerDigits) + exact.substr(fraction, static_cast<std::size_t>(decimals));
    if (exact[fraction + static_cast<std::size_t>(decimals)] >= '5') {
        incrementDigits(digits);
    }

    std::string result;
    result.reserve(digits.size() + 2);
    if (value < 0) {
        result += '-';
    }
    const std::size_t integerLength = digits.size() - static_cast<std::size_t>(decimals);
    result.append(digits, 0, integerLength);
    if (decimals > 0) {
        result += format.decimalSeparator;
        result.append(digits, integerLength, std::string::npos);
    }
    return result;
}

double shownValue(double value, int decimals) {
    if (!std::isfinite(value)) {
        return value;
    }
    const std::string text = formatFixed(value, decimals, NumberFormat{'.'});
    double shown = 0;
    std::from_chars(text.data(), text.data() + text.size(), shown);
    return shown;
}

std::string formatExact(double value, const NumberFormat& format) {
    if (!std::isfinite(value)) {
        return formatFixed(value, 0, format);
    }
    return render(shortestDecimal(value), format.decimalSeparator, Notation::People);
}

std::string xmlNumber(double value) {
    return render(shortestDecimal(value), '.', Notation::Xml);
}

std::optional<double> parseNumber(const std::string& text, const NumberFormat& format) {
    // Rebuilt in C notation for from_chars, character by character, so that nothing but the
    // forms above gets through.
    std::string plain;
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        plain += text[i++];
    }
    int digits = 0;
    bool separator = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            plain += text[i];
            ++digits;
        } else if (text[i] == format.decimalSeparator && !separator) {
            plain += '.';
            separator = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < text.size()) {
        if (text.compare(i, timesTen.size(), timesTen) != 0) {
            return std::nullopt;
        }
        i += timesTen.size();
        plain += 'e';
        if (text.compare(i, superscriptMinus.size(), superscriptMinus) == 0) {
            plain += '-';
            i += superscriptMinus.size();
        }
        const std::size_t exponentStart = plain.size();
        while (i < text.size()) {
            const int digit = superscriptDigitAt(text, i);
            if (digit < 0) {
                return std::nullopt;
            }
            plain += static_cast<char>('0' + digit);
            i += superscriptDigits[digit].size();
        }
        if (plain.size() == exponentStart) {
            return std::nullopt;
        }
    }
    double value = 0;
    const char* end = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(plain.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace kolmaris
