#pragma once

#include "app/chart/moody_chart.h"
#include "results/result_row.h"

#include <optional>
#include <vector>

namespace kolmaris {

// Reynolds number and friction factor of every result, numbered from 1 in their order, with
// the relative roughness of the pipe it was calculated for where that is kept.
std::vector<MoodyPoint> moodyPointsOf(const std::vector<ResultValues>& results);

// The inner diameter in m whose roughness curves the chart draws: that of the newest result
// whose inputs are kept, none when no result has usable ones.
std::optional<double> curveDiameterOf(const std::vector<ResultValues>& results);

} // namespace kolmaris
