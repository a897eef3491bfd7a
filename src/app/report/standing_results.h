#pragma once

#include "results/grid_model.h"
#include "results/number_format.h"
#include "results/result_row.h"

#include <vector>

namespace kolmaris {

// ADAPTER, to be replaced by the store of results that keeps each standing result's values
// beside the grid: until it exists the window keeps only the texts and the origins, so the
// values are read back from the table's texts here, and nowhere else.
std::vector<ResultValues> standingResultValues(const GridModel& grid, const ResultOrigins& origins,
                                               const NumberFormat& format);

} // namespace kolmaris
