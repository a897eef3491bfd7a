#pragma once

#include "calc/calculation.h"
#include "calc/result_check.h"
#include "results/result_row.h"

#include <optional>

namespace kolmaris {

// The calculation a result's inputs give, run again as "Berechnen" runs it but without showing
// a box: the same record, bit for bit. None when the run does not complete.
std::optional<CalculationRecord> recalculated(const ResultInputs& inputs);

// The check calculation beside a result, from its inputs; none for a result whose inputs are not
// kept or do not calculate.
std::optional<ResultCheck> checkOf(const ResultValues& result);

} // namespace kolmaris
