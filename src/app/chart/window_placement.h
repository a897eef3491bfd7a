#pragma once

#include <QRect>
#include <QSize>

namespace kolmaris {

// Where a window goes beside the main window, all rectangles being frames in screen pixels:
// to its right where the screen has room for at least `least`, else to its left, below or
// above, as large as the room allows up to `preferred`. Where no side has room it takes its
// least size where it covers least of the main window. It always stays on `screen` (the
// available area of the main window's screen), unless the screen is smaller than `least`.
QRect placeBeside(const QRect& main, const QSize& preferred, const QSize& least,
                  const QRect& screen);

} // namespace kolmaris
