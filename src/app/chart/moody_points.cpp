#include "app/chart/moody_points.h"

#include "calc/media.h"
#include "results/table_layout.h"

#include <cmath>
#include <limits>

namespace kolmaris {

std::vector<MoodyPoint> moodyPointsOf(const GridModel& grid, const ResultOrigins& origins,
                                      const NumberFormat& format) {
    const auto parse = [&format](const std::string& text) {
        return parseNumber(text, format).value_or(std::numeric_limits<double>::quiet_NaN());
    };
    std::vector<MoodyPoint> points;
    const int standing = standingResults(grid);
    for (int number = 1; number <= standing; ++number) {
        const int row = number + headerRows - 1;
        MoodyPoint point;
        point.number = number;
        point.reynolds = parse(grid.cell(row, 4));
        point.lambda = parse(grid.cell(row, 5));
        if (const auto& in = origins.of(number).inputs) {
            const double relative = roughnessOf(in->material) / (in->diameter / 1000);
            if (std::isfinite(relative) && relative >= 0) {
                point.relativeRoughness = relative;
            }
        }
        points.push_back(point);
    }
    return points;
}

} // namespace kolmaris
