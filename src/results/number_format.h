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

// A text formatFixed wrote, back to its number: digits, an optional leading minus and at most
// one decimal separator, the one of `format`. Anything else, another notation included, is
// no such text.
std::optional<double> parseFixed(const std::string& text, const NumberFormat& format);

} // namespace kolmaris
