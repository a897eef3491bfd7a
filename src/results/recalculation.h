#pragma once

#include "calc/calculation.h"
#include "calc/result_check.h"
#include "results/result_row.h"

#include <optional>

namespace kolmaris {

// The calculation a result's inputs give, run again as "Berechnen" runs it but without showing
// a box: the same record, bit for bit. None when the run does not complete.
std::optional<CalculationRecord> recalculated(const ResultInputs& inputs);

// A row read back from a file, checked against its own inputs. A workbook keeps the values the
// table shows and the inputs exactly, so the method run again on the inputs must give values
// that show the same in every column of the table; a spreadsheet sort of the values alone, a
// retyped value or an edited input part them. The run takes about a microsecond.
//
// Returns the row as "Berechnen" writes it for those inputs, its values unrounded and its notes
// its own, with the fittings read; nothing when the row has no inputs, or when they give other
// values or none at all. Shows no message, not even the one a run above 100 °C shows in the
// window.
std::optional<ResultValues> confirmedByInputs(const ResultValues& read);

// The check calculation beside a result, from its inputs; none for a result whose inputs are not
// kept or do not calculate.
std::optional<ResultCheck> checkOf(const ResultValues& result);

} // namespace kolmaris
