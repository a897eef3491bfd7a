#pragma once

#include <QFont>
#include <QLocale>
#include <QPointF>
#include <QString>

#include <cmath>

class QPainter;

namespace kolmaris {

// One axis of a plot: values between `min` and `max` onto pixels between `first` and `last`
// (which may run backwards, as a vertical axis does). Logarithmic or linear.
class PlotAxis {
public:
    enum class Scale { Linear, Logarithmic };

    PlotAxis(Scale scale, double min, double max, double first, double last)
        : scale_(scale), min_(transform(scale, min)), max_(transform(scale, max)), first_(first),
          last_(last) {}

    double toPixel(double value) const {
        return first_ + (transform(scale_, value) - min_) / (max_ - min_) * (last_ - first_);
    }

private:
    static double transform(Scale scale, double value) {
        return scale == Scale::Logarithmic ? std::log10(value) : value;
    }

    Scale scale_;
    double min_, max_; // transformed
    double first_, last_;
};

// A font of `pixels` height, the same on screen, in a PNG and in an SVG.
QFont plotFont(int pixels, bool bold = false);

// `value` with at most `maxDecimals` decimals and no trailing zeros, in the locale's digits,
// without digit grouping: 0.025 gives "0,025", 0.1 gives "0,1".
QString plotNumber(const QLocale& locale, double value, int maxDecimals);

// Draws "10" with `exponent` raised after it, centred horizontally on `anchor.x()`, its top at
// `anchor.y()`: the label of a decade on a logarithmic axis.
void drawPowerOfTen(QPainter& painter, const QPointF& anchor, int exponent);

} // namespace kolmaris
