#include "app/chart/plot_axes.h"

#include <QFontMetricsF>
#include <QPainter>

namespace kolmaris {

QFont plotFont(int pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(bold);
    // Without shaping, DejaVu's "ff" and "fi" stay two letters: a PDF or SVG of the chart then
    // holds "Kunststoffrohr" as a search finds it, not a ligature glyph.
    font.setStyleStrategy(QFont::PreferNoShaping);
    return font;
}

QString plotNumber(const QLocale& locale, double value, int maxDecimals) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = plain.toString(value, 'f', maxDecimals);
    const QString point = plain.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(QLatin1Char('0'))) {
            text.chop(1);
        }
        if (text.endsWith(point)) {
            text.chop(point.size());
        }
    }
    return text;
}

void drawPowerOfTen(QPainter& painter, const QPointF& anchor, int exponent) {
    const QFont base = painter.font();
    QFont raised = base;
    raised.setPixelSize(qMax(6, base.pixelSize() * 3 / 4));
    const QString mantissa = QStringLiteral("10");
    const QString power = QString::number(exponent);
    const QFontMetricsF baseMetrics(base, painter.device());
    const QFontMetricsF raisedMetrics(raised, painter.device());
    const double width =
        baseMetrics.horizontalAdvance(mantissa) + raisedMetrics.horizontalAdvance(power);
    const double left = anchor.x() - width / 2;
    const double baseline = anchor.y() + raisedMetrics.ascent() * 0.45 + baseMetrics.ascent();
    painter.drawText(QPointF(left, baseline), mantissa);
    painter.setFont(raised);
    painter.drawText(QPointF(left + baseMetrics.horizontalAdvance(mantissa),
                             baseline - baseMetrics.ascent() * 0.45),
                     power);
    painter.setFont(base);
}

} // namespace kolmaris
