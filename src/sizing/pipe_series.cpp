#include "sizing/pipe_sizing.h"

#include "calc/media.h"

#include <array>
#include <cmath>
#include <iterator>

namespace kolmaris {

namespace {

// The inner diameter as the decimal the table means, to the micrometre, so that the text
// written into the diameter box is "16,1" and not the last bits of 21,3 − 2 · 2,6.
PipeSize sizeOf(const PipeDimension& d) {
    return {d.name, d.outerDiameter, d.wall,
            std::round((d.outerDiameter - 2 * d.wall) * 1000) / 1000};
}

using AllSeries = std::array<std::vector<PipeSize>, std::size(materialTable)>;

AllSeries allSeries() {
    AllSeries all;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const PipeSeriesFacts& series = materialTable[i].series;
        for (std::size_t k = 0; k < series.count; ++k) {
            all[i].push_back(sizeOf(series.sizes[k]));
        }
    }
    return all;
}

} // namespace

const std::vector<PipeSize>& standardSeries(Material material) {
    // Constant tables, built once on first use.
    static const AllSeries all = allSeries();
    return all[static_cast<std::size_t>(&factsOf(material) - materialTable)];
}

} // namespace kolmaris
