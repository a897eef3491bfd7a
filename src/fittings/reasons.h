#pragma once

#include "fittings/fittings.h"

#include <cstddef>
#include <string>

// Shared by the loss and the items' text: how a refusal names numbers and items.
namespace kolmaris::fittings_detail {

// The shortest text that reads back as `value`, with a decimal comma: "1,5", "2e-05".
std::string decimalText(double value);

// "Einzelwiderstand 3 (Kugelhahn): ", the start of every reason about one item; `number`
// counts from 1.
std::string itemPrefix(std::size_t number, const FittingKindFacts& facts);

// Throws FittingError when the item's count or a parameter is outside its kind's range.
void checkItem(const FittingItem& item, std::size_t number);

} // namespace kolmaris::fittings_detail
