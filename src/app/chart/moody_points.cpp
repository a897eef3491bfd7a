#include "app/chart/moody_points.h"

#include "calc/media.h"
#include "results/recalculation.h"

#include <cmath>

namespace kolmaris {

std::vector<MoodyPoint> moodyPointsOf(const std::vector<ResultValues>& results) {
    std::vector<MoodyPoint> points;
    points.reserve(results.size());
    for (const ResultValues& result : results) {
        MoodyPoint point;
        point.number = static_cast<int>(points.size()) + 1;
        point.reynolds = result.reynolds;
        point.lambda = result.lambda;
        if (const auto& in = result.origin.inputs) {
            const double relative = roughnessOf(in->material) / (in->diameter / 1000);
            if (std::isfinite(relative) && relative >= 0) {
                point.relativeRoughness = relative;
            }
            point.check = checkOf(result);
        }
        points.push_back(point);
    }
    return points;
}

std::optional<double> curveDiameterOf(const std::vector<ResultValues>& results) {
    for (auto result = results.rbegin(); result != results.rend(); ++result) {
        if (const auto& in = result->origin.inputs) {
            const double diameter = in->diameter / 1000;
            if (std::isfinite(diameter) && diameter > 0) {
                return diameter;
            }
        }
    }
    return std::nullopt;
}

} // namespace kolmaris
