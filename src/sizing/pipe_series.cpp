// The standard pipe series, nominal outer diameter × wall in mm, cross-checked against the
// published dimension tables of each standard:
// - Eisenrohr verzinkt and schwarz: threaded steel tube EN 10255, medium series, DN 10 to
//   DN 150. The nominal outer diameter, not the British maximum (21,7 for DN 15), which alone
//   would move the loss by some 13 %.
// - Chromstahlrohr: stainless tube for press-fitting systems, EN 10312 series 2.
// - Kunststoffrohr: PE 100 SDR 11 after EN 12201-2.
// - Kupferrohr: EN 1057 with the walls long usual in German installation; newer copper has
//   thinner walls in some sizes (28 × 1,0), which is why the dialog shows the wall.
#include "sizing/pipe_sizing.h"

#include <cmath>

namespace kolmaris {

namespace {

// The inner diameter as the decimal the table means, to the micrometre, so that the text
// written into the diameter box is "16,1" and not the last bits of 21,3 − 2 · 2,6.
PipeSize size(const char* name, double outer, double wall) {
    return {name, outer, wall, std::round((outer - 2 * wall) * 1000) / 1000};
}

std::vector<PipeSize> threadedSteel() {
    return {
        size("DN 10 (3/8\")", 17.2, 2.3),   size("DN 15 (1/2\")", 21.3, 2.6),
        size("DN 20 (3/4\")", 26.9, 2.6),   size("DN 25 (1\")", 33.7, 3.2),
        size("DN 32 (1 1/4\")", 42.4, 3.2), size("DN 40 (1 1/2\")", 48.3, 3.2),
        size("DN 50 (2\")", 60.3, 3.6),     size("DN 65 (2 1/2\")", 76.1, 3.6),
        size("DN 80 (3\")", 88.9, 4.0),     size("DN 100 (4\")", 114.3, 4.5),
        size("DN 125 (5\")", 139.7, 5.0),   size("DN 150 (6\")", 165.1, 5.0),
    };
}

std::vector<PipeSize> stainlessPress() {
    return {
        size("15 mm", 15, 1.0),     size("18 mm", 18, 1.0),   size("22 mm", 22, 1.2),
        size("28 mm", 28, 1.2),     size("35 mm", 35, 1.5),   size("42 mm", 42, 1.5),
        size("54 mm", 54, 1.5),     size("64 mm", 64, 2.0),   size("76,1 mm", 76.1, 2.0),
        size("88,9 mm", 88.9, 2.0), size("108 mm", 108, 2.0),
    };
}

std::vector<PipeSize> polyethylene() {
    return {
        size("PE 20", 20, 2.0),    size("PE 25", 25, 2.3),    size("PE 32", 32, 3.0),
        size("PE 40", 40, 3.7),    size("PE 50", 50, 4.6),    size("PE 63", 63, 5.8),
        size("PE 75", 75, 6.8),    size("PE 90", 90, 8.2),    size("PE 110", 110, 10.0),
        size("PE 125", 125, 11.4), size("PE 140", 140, 12.7), size("PE 160", 160, 14.6),
    };
}

std::vector<PipeSize> copper() {
    return {
        size("Cu 12", 12, 1),     size("Cu 15", 15, 1),     size("Cu 18", 18, 1),
        size("Cu 22", 22, 1),     size("Cu 28", 28, 1.5),   size("Cu 35", 35, 1.5),
        size("Cu 42", 42, 1.5),   size("Cu 54", 54, 2),     size("Cu 64", 64, 2),
        size("Cu 76,1", 76.1, 2), size("Cu 88,9", 88.9, 2), size("Cu 108", 108, 2.5),
    };
}

} // namespace

const std::vector<PipeSize>& standardSeries(Material material) {
    // Constant tables, built once on first use.
    static const std::vector<PipeSize> steel = threadedSteel();
    static const std::vector<PipeSize> stainless = stainlessPress();
    static const std::vector<PipeSize> plastic = polyethylene();
    static const std::vector<PipeSize> cu = copper();
    switch (material) {
    case Material::GalvanisedIron:
    case Material::BlackIron:
        return steel;
    case Material::StainlessSteel:
        return stainless;
    case Material::Plastic:
        return plastic;
    case Material::Copper:
        return cu;
    }
    return steel; // unreachable: every enumerator is handled above
}

} // namespace kolmaris
