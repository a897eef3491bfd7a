#include "app/chart/window_placement.h"

#include <algorithm>
#include <limits>

namespace kolmaris {

namespace {

// Between the two windows, so that their frames do not touch.
constexpr int gap = 8;

// `from` moved as little as possible to keep [from, from + length) inside [low, high).
int clampInto(int from, int length, int low, int high) {
    return std::max(low, std::min(from, high - length));
}

long long overlapArea(const QRect& a, const QRect& b) {
    const QRect both = a.intersected(b);
    return both.isEmpty() ? 0 : static_cast<long long>(both.width()) * both.height();
}

} // namespace

QRect placeBeside(const QRect& main, const QSize& preferred, const QSize& least,
                  const QRect& screen) {
    const int left = screen.x();
    const int top = screen.y();
    const int right = screen.x() + screen.width();
    const int bottom = screen.y() + screen.height();
    const int mainRight = main.x() + main.width();
    const int mainBottom = main.y() + main.height();

    const int height = std::min(preferred.height(), screen.height());
    const int width = std::min(preferred.width(), screen.width());
    const int besideY = clampInto(main.y(), height, top, bottom);
    const int besideX = clampInto(main.x(), width, left, right);

    // The sides in the order they are tried, with the room each leaves.
    const int roomRight = right - mainRight - gap;
    if (roomRight >= least.width()) {
        const int w = std::min(width, roomRight);
        return {mainRight + gap, besideY, w, height};
    }
    const int roomLeft = main.x() - gap - left;
    if (roomLeft >= least.width()) {
        const int w = std::min(width, roomLeft);
        return {main.x() - gap - w, besideY, w, height};
    }
    const int roomBelow = bottom - mainBottom - gap;
    if (roomBelow >= least.height()) {
        const int h = std::min(height, roomBelow);
        return {besideX, mainBottom + gap, width, h};
    }
    const int roomAbove = main.y() - gap - top;
    if (roomAbove >= least.height()) {
        const int h = std::min(height, roomAbove);
        return {besideX, main.y() - gap - h, width, h};
    }

    // No side has room: the least size, against one edge of the screen, where it covers least.
    const int w = std::min(least.width(), screen.width());
    const int h = std::min(least.height(), screen.height());
    const int nearY = clampInto(main.y(), h, top, bottom);
    const int nearX = clampInto(main.x(), w, left, right);
    const QRect candidates[] = {
        {right - w, nearY, w, h},      {left, nearY, w, h},
        {nearX, bottom - h, w, h},     {nearX, top, w, h},
        {right - w, bottom - h, w, h}, {right - w, top, w, h},
        {left, bottom - h, w, h},      {left, top, w, h},
    };
    QRect best = candidates[0];
    long long fewestCovered = std::numeric_limits<long long>::max();
    for (const QRect& candidate : candidates) {
        const long long covered = overlapArea(candidate, main);
        if (covered < fewestCovered) {
            fewestCovered = covered;
            best = candidate;
        }
    }
    return best;
}

} // namespace kolmaris
