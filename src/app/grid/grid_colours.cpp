#include "app/grid/grid_colours.h"

#include <algorithm>
#include <cmath>

namespace kolmaris {

namespace {

double relativeLuminance(const QColor& colour) {
    const auto linear = [](double v) {
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

// Lines between cells are parts of the picture, not text: 3:1 makes them visible.
constexpr double visibleLines = 3.0;

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = relativeLuminance(a);
    const double lb = relativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

GridColours gridColoursFor(const QPalette& palette, QPalette::ColorGroup group) {
    const QColor cells = palette.color(group, QPalette::Base);
    const QColor mid = palette.color(group, QPalette::Mid);
    const QColor dark = palette.color(group, QPalette::Dark);
    const bool darkTextOnLight =
        relativeLuminance(cells) > relativeLuminance(palette.color(group, QPalette::Text)) &&
        relativeLuminance(palette.color(group, QPalette::Button)) >
            relativeLuminance(palette.color(group, QPalette::ButtonText));
    // A high-contrast theme asks for strong edges: its mid tone already stands out from the
    // cells, where an ordinary theme's is a soft grey.
    const bool highContrast = contrastRatio(mid, cells) >= visibleLines;
    if (darkTextOnLight && !highContrast) {
        return {QColor(128, 128, 128), QColor(192, 192, 192)};
    }
    for (const QColor& candidate : {mid, dark}) {
        if (contrastRatio(candidate, cells) >= visibleLines) {
            return {dark, candidate};
        }
    }
    // Neither shade stands out from the cells: the softest step from the cells towards the
    // text that does, rather than lines as loud as the text.
    const QColor text = palette.color(group, QPalette::Text);
    QColor lines = text;
    for (int step = 1; step < 20; ++step) {
        const double t = step / 20.0;
        const QColor mixed = QColor::fromRgbF(cells.redF() + (text.redF() - cells.redF()) * t,
                                              cells.greenF() + (text.greenF() - cells.greenF()) * t,
                                              cells.blueF() + (text.blueF() - cells.blueF()) * t);
        if (contrastRatio(mixed, cells) >= visibleLines) {
            lines = mixed;
            break;
        }
    }
    return {dark, lines};
}

} // namespace kolmaris
