#pragma once

#include "app/chart/moody_chart.h"
#include "results/result_row.h"

#include <vector>

namespace kolmaris {

// Reynolds number and friction factor of every result, numbered from 1 in their order, with
// the relative roughness of the pipe it was calculated for where that is kept.
std::vector<MoodyPoint> moodyPointsOf(const std::vector<ResultValues>& results);

} // namespace kolmaris
