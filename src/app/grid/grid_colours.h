#pragma once

#include <QColor>
#include <QPalette>

namespace kolmaris {

// What the grid paints besides its cells: the area behind them and the lines between them.
struct GridColours {
    QColor background;
    QColor lines;
};

// Under an ordinary light palette the grid has its classic greys, dark grey behind the cells
// and light grey lines. A dark or high-contrast palette would lose them, so there they come
// from the palette, the lines at least 3:1 against the cells.
GridColours gridColoursFor(const QPalette& palette, QPalette::ColorGroup group = QPalette::Active);

// The contrast ratio of two colours, 1 to 21, as the accessibility guidelines measure it.
double contrastRatio(const QColor& a, const QColor& b);

} // namespace kolmaris
