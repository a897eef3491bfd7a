#pragma once

#include "calc/calculation.h"
#include "calc/message_sink.h"
#include "results/grid_model.h"
#include "results/number_format.h"
#include "results/result_row.h"

#include <cstdint>

namespace kolmaris {

// A 16-bit row or pass counter of the table's scans left its range.
class CounterOverflow : public KolmarisError {
public:
    using KolmarisError::KolmarisError;
};

// a + b for the table's 16-bit counters; throws CounterOverflow instead of wrapping.
std::int16_t checkedAdd(std::int16_t a, std::int16_t b);

// Gives the grid its 4 rows, 6 columns and the two header rows. Run once, when the window loads.
void initResultsTable(GridModel& grid);

// Finds the next free row, shows the full-table message when exactly maxResults - 3 results
// stand, sizes the grid to two rows past the free one and rewrites the header rows. Run before
// each calculation and after each reset of the inputs.
void prepareResultsTable(GridModel& grid, MessageSink& messages);

// Writes the results into the first free row, numbered and formatted with the user's decimal
// separator, and returns the result number written. With maxResults results standing the row
// selection is refused (GridSelectionRefused) before any cell changes. The numbers are the
// caller's to keep (ResultStore keeps them).
int writeResultRow(GridModel& grid, const ResultValues& values, const NumberFormat& format);

} // namespace kolmaris
