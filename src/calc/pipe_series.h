#pragma once

#include <cstddef>
#include <iterator>

// The standard pipe series of the materials, nominal outer diameter × wall in mm, cross-checked
// against the published dimension tables of each standard. The material table names the series
// of each material; the pipe sizing calculates over it.
namespace kolmaris {

// One size as its table gives it.
struct PipeDimension {
    const char* name; // as engineers write it: "DN 15 (1/2")", "Cu 22", "PE 32", "22 mm"
    double outerDiameter;
    double wall;
};

// A series, by strictly increasing inner diameter.
struct PipeSeriesFacts {
    const PipeDimension* sizes;
    std::size_t count;
};

namespace series_data {

// Threaded steel tube EN 10255, medium series, DN 10 to DN 150. The nominal outer diameter, not
// the British maximum (21,7 for DN 15), which alone would move the loss by some 13 %.
inline constexpr PipeDimension threadedSteel[] = {
    {"DN 10 (3/8\")", 17.2, 2.3}, {"DN 15 (1/2\")", 21.3, 2.6},   {"DN 20 (3/4\")", 26.9, 2.6},
    {"DN 25 (1\")", 33.7, 3.2},   {"DN 32 (1 1/4\")", 42.4, 3.2}, {"DN 40 (1 1/2\")", 48.3, 3.2},
    {"DN 50 (2\")", 60.3, 3.6},   {"DN 65 (2 1/2\")", 76.1, 3.6}, {"DN 80 (3\")", 88.9, 4.0},
    {"DN 100 (4\")", 114.3, 4.5}, {"DN 125 (5\")", 139.7, 5.0},   {"DN 150 (6\")", 165.1, 5.0},
};

// Stainless tube for press-fitting systems, EN 10312 series 2.
inline constexpr PipeDimension stainlessPress[] = {
    {"15 mm", 15, 1.0},     {"18 mm", 18, 1.0},     {"22 mm", 22, 1.2},   {"28 mm", 28, 1.2},
    {"35 mm", 35, 1.5},     {"42 mm", 42, 1.5},     {"54 mm", 54, 1.5},   {"64 mm", 64, 2.0},
    {"76,1 mm", 76.1, 2.0}, {"88,9 mm", 88.9, 2.0}, {"108 mm", 108, 2.0},
};

// PE 100 SDR 11 after EN 12201-2.
inline constexpr PipeDimension polyethylene[] = {
    {"PE 20", 20, 2.0},    {"PE 25", 25, 2.3},    {"PE 32", 32, 3.0},    {"PE 40", 40, 3.7},
    {"PE 50", 50, 4.6},    {"PE 63", 63, 5.8},    {"PE 75", 75, 6.8},    {"PE 90", 90, 8.2},
    {"PE 110", 110, 10.0}, {"PE 125", 125, 11.4}, {"PE 140", 140, 12.7}, {"PE 160", 160, 14.6},
};

// EN 1057 with the walls long usual in German installation; newer copper has thinner walls in
// some sizes (28 × 1,0), which is why the sizing shows the wall.
inline constexpr PipeDimension copper[] = {
    {"Cu 12", 12, 1},   {"Cu 15", 15, 1},     {"Cu 18", 18, 1},     {"Cu 22", 22, 1},
    {"Cu 28", 28, 1.5}, {"Cu 35", 35, 1.5},   {"Cu 42", 42, 1.5},   {"Cu 54", 54, 2},
    {"Cu 64", 64, 2},   {"Cu 76,1", 76.1, 2}, {"Cu 88,9", 88.9, 2}, {"Cu 108", 108, 2.5},
};

template <std::size_t N> constexpr PipeSeriesFacts seriesOf(const PipeDimension (&sizes)[N]) {
    return {sizes, N};
}

} // namespace series_data

} // namespace kolmaris
