#pragma once

#include <optional>
#include <string>

namespace kolmaris {

// The user's regional number settings, as far as result texts need them.
struct NumberFormat {
    char decimalSeparator = '.'; // ',' under German settings
};

// Formats value with exactly `decimals` digits after the separator (the patterns "0", "0.00",
// "0.00000"): no grouping, at least one integer digit, a leading minus for negative values
// (also when the value rounds to zero), halfway cases rounded away from zero.
std::string formatFixed(double value, int decimals, const NumberFormat& format);

// The number a formatFixed text shows: value rounded to `decimals` places as formatFixed
// rounds it, the nearest double to that decimal. NaN and infinities stay as they are.
double shownValue(double value, int decimals);

// The shortest text that reads back as exactly this double, for people: with the user's
// separator, plain digits from 1e-9 up to 1e15, beyond that a power of ten ("1,5·10⁻¹²").
// "NaN", "Inf" and "-Inf" as formatFixed writes them.
std::string formatExact(double value, const NumberFormat& format);

// The same digits for a spreadsheet's XML: '.' whatever the locale, exponent as "E-12".
// For finite values only.
std::string xmlNumber(double value);

// A number as formatFixed or formatExact wrote it, back: an optional leading minus, digits with
// at most one decimal separator (the one of `format`), optionally "·10" and a superscript
// exponent. Anything else, C notation and grouping included, is no such text.
std::optional<double> parseNumber(const std::string& text, const NumberFormat& format);

} // namespace kolmaris
