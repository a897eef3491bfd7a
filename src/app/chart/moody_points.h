#pragma once

#include "app/chart/moody_chart.h"
#include "results/grid_model.h"
#include "results/number_format.h"
#include "results/result_row.h"

#include <vector>

namespace kolmaris {

// Reynolds number and friction factor of every standing result, read back from the table's
// texts, with the relative roughness of the pipe it was calculated for where that is kept.
std::vector<MoodyPoint> moodyPointsOf(const GridModel& grid, const ResultOrigins& origins,
                                      const NumberFormat& format);

} // namespace kolmaris
