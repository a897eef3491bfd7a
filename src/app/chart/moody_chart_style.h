#pragma once

#include <QColor>

// The Moody chart's measures and colours, shared by its layout and its painting.
namespace kolmaris::moody_style {

// Margins around the frame: tick labels and axis titles left and below, the curve labels on
// the right, the heading above.
inline constexpr double marginLeft = 74;
inline constexpr double marginRight = 178;
inline constexpr double marginTop = 40;
inline constexpr double marginBottom = 58;

// Where the turbulent curves hold; flow is laminar below calc's laminarLimit.
inline constexpr double turbulentFrom = 4000;

inline constexpr double hoverRadius = 7;

inline const QColor frameColour(0x20, 0x20, 0x20);
inline const QColor decadeColour(0xa8, 0xa8, 0xa8);
inline const QColor minorColour(0xe2, 0xe2, 0xe2);
inline const QColor bandColour(0xf0, 0xf0, 0xf0);
inline const QColor pointColour(0x1f, 0x4e, 0x9c);
inline const QColor newestColour(0xd0, 0x2c, 0x1c);

} // namespace kolmaris::moody_style
