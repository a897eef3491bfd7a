#pragma once

#include <QRect>

namespace kolmaris {

// Window geometry is laid out in twips; at 96 dots per inch 15 twips make one pixel.
constexpr int twipsPerPixel = 15;

constexpr int fromTwips(int twips) {
    return (twips + twipsPerPixel / 2) / twipsPerPixel;
}

constexpr QRect rectFromTwips(int left, int top, int width, int height) {
    return QRect(fromTwips(left), fromTwips(top), fromTwips(width), fromTwips(height));
}

} // namespace kolmaris
