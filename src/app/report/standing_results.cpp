#include "app/report/standing_results.h"

#include "results/table_layout.h"

#include <limits>

namespace kolmaris {

std::vector<ResultValues> standingResultValues(const GridModel& grid, const ResultOrigins& origins,
                                               const NumberFormat& format) {
    std::vector<ResultValues> results;
    if (!isSetUp(grid)) {
        return results;
    }
    const auto value = [&](int row, int col) {
        return parseNumber(grid.cell(row, col), format)
            .value_or(std::numeric_limits<double>::quiet_NaN());
    };
    const int standing = standingResults(grid);
    for (int number = 1; number <= standing; ++number) {
        const int row = headerRows + number - 1;
        results.push_back({value(row, 1), value(row, 2), value(row, 3), value(row, 4),
                           value(row, 5), origins.of(number)});
    }
    return results;
}

} // namespace kolmaris
