#include "results/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

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

std::optional<double> parseFixed(const std::string& text, const NumberFormat& format) {
    std::string plain = text;
    for (char& c : plain) {
        if (c == format.decimalSeparator) {
            c = '.';
        } else if (c == '.' || c == 'e' || c == 'E' || c == 'x' || c == 'X') {
            return std::nullopt; // only the table's own plain digits, never another notation
        }
    }
    if (plain.empty() || plain.front() == '+') {
        return std::nullopt;
    }
    double value = 0;
    const char* end = plain.data() + plain.size();
    const auto [ptr, ec] = std::from_chars(plain.data(), end, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

} // namespace kolmaris
