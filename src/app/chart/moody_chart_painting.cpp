// Painting the Moody chart: grid and axes, the exact curves, the legend and the results.
#include "app/chart/moody_chart.h"

#include "app/chart/moody_chart_style.h"

#include "calc/calculation.h"
#include "calc/colebrook_exact.h"
#include "calc/media.h"

#include <QFontMetricsF>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>

namespace kolmaris {

using namespace moody_style;

namespace {

// One colour per curve, in the order the curves first appear among the materials; materials
// of equal roughness share one curve.
const QColor curveColours[] = {
    QColor(0x8c, 0x51, 0x0a), QColor(0x3a, 0x3a, 0x3a), QColor(0x76, 0x2a, 0x83),
    QColor(0x1a, 0x85, 0x4a), QColor(0xd9, 0x5f, 0x02), QColor(0x01, 0x66, 0x5e),
};

struct CurveGroup {
    double roughness = 0; // absolute, m
    QStringList names;
    QColor colour;
};

std::vector<CurveGroup> curveGroups() {
    std::vector<CurveGroup> groups;
    for (const MaterialFacts& m : materialTable) {
        const double k = m.roughness;
        auto same = std::find_if(groups.begin(), groups.end(),
                                 [k](const CurveGroup& g) { return g.roughness == k; });
        if (same == groups.end()) {
            const QColor colour = curveColours[groups.size() % std::size(curveColours)];
            groups.push_back({k, {QString::fromUtf8(m.name)}, colour});
        } else {
            same->names.append(QString::fromUtf8(m.name));
        }
    }
    return groups;
}

// 2 significant digits, enough to tell the curves apart.
QString relativeRoughnessText(const QLocale& locale, double value) {
    const int decimals = std::clamp(1 - static_cast<int>(std::floor(std::log10(value))), 0, 12);
    return plotNumber(locale, value, decimals);
}

// Labels in the right margin, pushed apart where curves end close together.
struct CurveLabel {
    double y; // of the first line
    QStringList names;
    QString roughness;
    QColor colour;
    double curveY;
};

void drawCurveLabels(QPainter& painter, std::vector<CurveLabel> labels, const QRectF& area) {
    const QFont nameFont = plotFont(12, true);
    const QFont detailFont = plotFont(11);
    const QFontMetricsF nameMetrics(nameFont, painter.device());
    const double lineHeight = nameMetrics.height();
    auto blockHeight = [lineHeight](const CurveLabel& label) {
        return (label.names.size() + 1) * lineHeight + 4;
    };
    std::sort(labels.begin(), labels.end(),
              [](const CurveLabel& a, const CurveLabel& b) { return a.y < b.y; });
    for (std::size_t i = 0; i < labels.size(); ++i) {
        labels[i].y = std::max(labels[i].y, area.top() + lineHeight / 2);
        if (i > 0) {
            labels[i].y = std::max(labels[i].y, labels[i - 1].y + blockHeight(labels[i - 1]));
        }
    }
    // Back up from the bottom where the pushing ran past the frame.
    for (std::size_t i = labels.size(); i-- > 0;) {
        const double limit = i + 1 < labels.size()
                                 ? labels[i + 1].y - blockHeight(labels[i])
                                 : area.bottom() - blockHeight(labels[i]) + lineHeight / 2;
        labels[i].y = std::min(labels[i].y, limit);
    }
    const double x = area.right() + 14;
    const double width = marginRight - 18;
    for (const CurveLabel& label : labels) {
        painter.setPen(QPen(label.colour, 1));
        painter.drawLine(QPointF(area.right(), label.curveY), QPointF(x - 3, label.y));
        double baseline = label.y + nameMetrics.capHeight() / 2;
        painter.setFont(nameFont);
        for (const QString& name : label.names) {
            painter.drawText(QPointF(x, baseline),
                             nameMetrics.elidedText(name, Qt::ElideRight, width));
            baseline += lineHeight;
        }
        painter.setFont(detailFont);
        painter.drawText(QPointF(x, baseline), label.roughness);
    }
}

// The exact friction factor's mark: a hollow diamond.
void drawExactMark(QPainter& painter, const QPointF& at) {
    constexpr double r = 4.5;
    const QPointF corners[] = {at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r),
                               at + QPointF(-r, 0)};
    painter.setPen(QPen(pointColour, 1.6));
    painter.setBrush(Qt::white);
    painter.drawPolygon(corners, 4);
}

const QString exactMarkEntry = QStringLiteral("λ exakt je Ergebnis (Prüfrechnung)");

} // namespace

void MoodyChart::render(QPainter& painter, const QRectF& bounds) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(bounds, Qt::white);
    const MoodyMapping frame = mappingFor(bounds);

    painter.setPen(frameColour);
    painter.setFont(plotFont(14, true));
    QString heading = QStringLiteral("Moody-Diagramm der Ergebnisse");
    if (diameter_) {
        heading += QStringLiteral(" – Rauheitskurven für d = %1 mm")
                       .arg(plotNumber(locale_, *diameter_ * 1000, 2));
    }
    painter.drawText(QRectF(frame.plotArea().left(), bounds.top(), bounds.width(), marginTop),
                     Qt::AlignLeft | Qt::AlignVCenter, heading);

    drawGrid(painter, frame);
    drawCurves(painter, frame);
    drawLegend(painter, frame);
    drawExactMarks(painter, frame);
    drawPoints(painter, frame);
    painter.restore();
}

void MoodyChart::drawGrid(QPainter& painter, const MoodyMapping& frame) const {
    const QRectF& area = frame.plotArea();

    // The transition band first, so that every line stays visible over it.
    const double bandLeft = frame.toPixel(laminarLimit, 1).x();
    const double bandRight = frame.toPixel(turbulentFrom, 1).x();
    painter.fillRect(QRectF(bandLeft, area.top(), bandRight - bandLeft, area.height()), bandColour);

    auto verticalLine = [&](double reynolds, const QColor& colour) {
        painter.setPen(QPen(colour, 1));
        const double x = frame.toPixel(reynolds, 1).x();
        painter.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    };
    auto horizontalLine = [&](double lambda, const QColor& colour) {
        painter.setPen(QPen(colour, 1));
        const double y = frame.toPixel(1, lambda).y();
        painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
    };
    for (double decade = 100; decade < MoodyMapping::maxReynolds; decade *= 10) {
        for (int m = 2; m <= 9; ++m) {
            const double re = decade * m;
            if (re > MoodyMapping::minReynolds && re < MoodyMapping::maxReynolds) {
                verticalLine(re, minorColour);
            }
        }
    }
    for (double decade = 0.001; decade < MoodyMapping::maxLambda; decade *= 10) {
        for (int m = 2; m <= 9; ++m) {
            const double lambda = decade * m;
            if (lambda > MoodyMapping::minLambda && lambda < MoodyMapping::maxLambda) {
                horizontalLine(lambda, minorColour);
            }
        }
    }
    for (int e = 3; e <= 7; ++e) {
        verticalLine(std::pow(10.0, e), decadeColour);
    }
    horizontalLine(0.01, decadeColour);

    painter.setPen(QPen(frameColour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);

    // Decade labels below, the friction factors engineers read off on the left.
    painter.setFont(plotFont(12));
    for (int e = 3; e <= 8; ++e) {
        const double x = frame.toPixel(std::pow(10.0, e), 1).x();
        painter.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 4));
        drawPowerOfTen(painter, QPointF(x, area.bottom() + 5), e);
    }
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double ticks[] = {0.008, 0.01, 0.015, 0.02, 0.025, 0.03, 0.04, 0.05, 0.06, 0.08, 0.1};
    for (double lambda : ticks) {
        const double y = frame.toPixel(1, lambda).y();
        painter.drawLine(QPointF(area.left() - 4, y), QPointF(area.left(), y));
        const QString text = plotNumber(locale_, lambda, 3);
        painter.drawText(
            QPointF(area.left() - 7 - metrics.horizontalAdvance(text), y + metrics.capHeight() / 2),
            text);
    }

    painter.setFont(plotFont(13));
    painter.drawText(QRectF(area.left(), area.bottom() + 28, area.width(), 24), Qt::AlignCenter,
                     QStringLiteral("Reynolds-Zahl Re"));
    painter.save();
    painter.translate(area.left() - 62, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, -12, area.height(), 24), Qt::AlignCenter,
                     QStringLiteral("Rohrreibungszahl λ"));
    painter.restore();

    painter.setPen(QColor(0x70, 0x70, 0x70));
    painter.setFont(plotFont(11));
    painter.save();
    painter.translate((bandLeft + bandRight) / 2, area.top() + 6);
    painter.rotate(90);
    painter.drawText(QPointF(0, metrics.capHeight() / 2 - 1), QStringLiteral("Übergang"));
    painter.restore();
}

void MoodyChart::drawCurves(QPainter& painter, const MoodyMapping& frame) const {
    const QRectF& area = frame.plotArea();
    painter.save();
    painter.setClipRect(area);

    // The laminar line ends where the band begins.
    painter.setPen(QPen(frameColour, 1.8));
    painter.drawLine(frame.toPixel(64 / MoodyMapping::maxLambda, MoodyMapping::maxLambda),
                     frame.toPixel(laminarLimit, 64 / laminarLimit));
    painter.setFont(plotFont(12));
    const QPointF laminarLabel = frame.toPixel(1150, 64 / 1150.0);
    painter.drawText(laminarLabel + QPointF(8, 4), QStringLiteral("laminar: λ = 64/Re"));

    if (!diameter_) {
        painter.restore();
        return;
    }

    std::vector<CurveLabel> labels;
    constexpr int samples = 240;
    for (const CurveGroup& group : curveGroups()) {
        const double relative = group.roughness / *diameter_;
        QPainterPath path;
        double lastLambda = 0;
        for (int i = 0; i <= samples; ++i) {
            const double re = laminarLimit * std::pow(MoodyMapping::maxReynolds / laminarLimit,
                                                      double(i) / samples);
            try {
                lastLambda = colebrookExact(relative, re);
            } catch (const ColebrookArgumentError&) {
                break; // a roughness larger than the pipe: no curve
            }
            const QPointF p = frame.toPixel(re, lastLambda);
            if (i == 0) {
                path.moveTo(p);
            } else {
                path.lineTo(p);
            }
        }
        if (path.elementCount() < 2) {
            continue;
        }
        painter.setPen(QPen(group.colour, 1.8));
        painter.drawPath(path);
        const double endY = frame.toPixel(MoodyMapping::maxReynolds, lastLambda).y();
        labels.push_back({endY, group.names,
                          QStringLiteral("k/d = ") + relativeRoughnessText(locale_, relative),
                          group.colour, endY});
    }
    painter.restore();
    drawCurveLabels(painter, std::move(labels), area);
}

void MoodyChart::drawLegend(QPainter& painter, const MoodyMapping& frame) const {
    const QRectF& area = frame.plotArea();
    painter.setFont(plotFont(11));
    const QFontMetricsF metrics(painter.font(), painter.device());
    QStringList entries;
    if (diameter_) {
        entries << QStringLiteral("Colebrook, exakt");
    }
    entries << QStringLiteral("Ergebnis (Nr. der Tabelle)") << QStringLiteral("neuestes Ergebnis");
    const bool marked = std::any_of(points_.begin(), points_.end(),
                                    [](const MoodyPoint& p) { return p.relativeRoughness; });
    if (marked) {
        entries << exactMarkEntry;
    }
    const bool outside = std::any_of(points_.begin(), points_.end(), [](const MoodyPoint& p) {
        return placeable(p) && !MoodyMapping::inRange(p.reynolds, p.lambda);
    });
    if (outside) {
        entries << QStringLiteral("außerhalb, am Rand");
    }
    double textWidth = 0;
    for (const QString& entry : entries) {
        textWidth = std::max(textWidth, metrics.horizontalAdvance(entry));
    }
    const double rowHeight = metrics.height() + 2;
    const QRectF box(area.left() + 8, area.bottom() - 8 - rowHeight * entries.size() - 8,
                     textWidth + 44, rowHeight * entries.size() + 8);
    painter.setPen(QPen(decadeColour, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(box);

    double y = box.top() + 4 + rowHeight / 2;
    auto marker = [&](const QColor& colour, bool filled) {
        painter.setPen(QPen(filled ? Qt::white : colour, filled ? 1 : 1.6));
        painter.setBrush(filled ? QBrush(colour) : QBrush(Qt::white));
        painter.drawEllipse(QPointF(box.left() + 16, y), 4, 4);
    };
    for (const QString& entry : entries) {
        if (entry.startsWith(QStringLiteral("Colebrook"))) {
            painter.setPen(QPen(frameColour, 1.8));
            painter.drawLine(QPointF(box.left() + 6, y), QPointF(box.left() + 26, y));
        } else if (entry.startsWith(QStringLiteral("neuestes"))) {
            marker(newestColour, true);
        } else if (entry.startsWith(QStringLiteral("außerhalb"))) {
            marker(pointColour, false);
        } else if (entry == exactMarkEntry) {
            drawExactMark(painter, QPointF(box.left() + 16, y));
        } else {
            marker(pointColour, true);
        }
        painter.setPen(frameColour);
        painter.drawText(QPointF(box.left() + 34, y + metrics.capHeight() / 2), entry);
        y += rowHeight;
    }
}

void MoodyChart::drawExactMarks(QPainter& painter, const MoodyMapping& frame) const {
    painter.save();
    painter.setClipRect(frame.plotArea());
    for (const MoodyPoint& p : points_) {
        if (!p.relativeRoughness || !MoodyMapping::inRange(p.reynolds, p.lambda)) {
            continue;
        }
        double exact = 0;
        try {
            exact = exactFrictionFactor(*p.relativeRoughness, p.reynolds).lambda;
        } catch (const ColebrookArgumentError&) {
            continue;
        }
        // A thin line from the point to where the exact λ lies at its Reynolds number.
        const QPointF from = frame.toPixel(p.reynolds, p.lambda);
        const QPointF to = frame.toPixel(p.reynolds, exact);
        painter.setPen(QPen(pointColour, 1, Qt::DotLine));
        painter.drawLine(from, to);
        drawExactMark(painter, to);
    }
    painter.restore();
}

void MoodyChart::drawPoints(QPainter& painter, const MoodyMapping& frame) const {
    // Points that land on the same spot share one marker and one label.
    struct Cluster {
        QPointF place;
        std::vector<int> numbers;
        bool newest = false;
        bool inRange = true;
    };
    std::vector<Cluster> clusters;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const MoodyPoint& p = points_[i];
        if (!placeable(p)) {
            continue;
        }
        const QPointF place = placeOf(p, frame);
        const bool newest = i + 1 == points_.size();
        const bool inRange = MoodyMapping::inRange(p.reynolds, p.lambda);
        auto same = std::find_if(clusters.begin(), clusters.end(), [&](const Cluster& c) {
            return c.inRange == inRange && std::abs(c.place.x() - place.x()) < 4 &&
                   std::abs(c.place.y() - place.y()) < 4;
        });
        if (same == clusters.end()) {
            clusters.push_back({place, {p.number}, newest, inRange});
        } else {
            same->numbers.push_back(p.number);
            same->newest = same->newest || newest;
        }
    }
    // The newest on top.
    std::stable_partition(clusters.begin(), clusters.end(),
                          [](const Cluster& c) { return !c.newest; });

    painter.setFont(plotFont(11, true));
    for (const Cluster& c : clusters) {
        const QColor colour = c.newest ? newestColour : pointColour;
        const double radius = c.newest ? 5.5 : 4.5;
        if (c.inRange) {
            painter.setPen(QPen(Qt::white, 1.2));
            painter.setBrush(colour);
        } else {
            painter.setPen(QPen(colour, 1.8));
            painter.setBrush(Qt::white);
        }
        painter.drawEllipse(c.place, radius, radius);
        if (c.newest) {
            painter.setPen(QPen(colour, 1.4));
            painter.setBrush(Qt::NoBrush);
            painter.drawEllipse(c.place, radius + 3.5, radius + 3.5);
        }
        QStringList numbers;
        if (c.numbers.size() <= 4) {
            for (int n : c.numbers) {
                numbers << QString::number(n);
            }
        } else {
            numbers << QString::number(c.numbers.front()) << QStringLiteral("…")
                    << QString::number(c.numbers.back());
        }
        const QString text = numbers.join(QStringLiteral(", "));
        const QFontMetricsF metrics(painter.font(), painter.device());
        QPointF at = c.place + QPointF(radius + 4, -radius - 2);
        // Keep the label inside the frame.
        const QRectF& area = frame.plotArea();
        if (at.x() + metrics.horizontalAdvance(text) > area.right() - 2) {
            at.setX(c.place.x() - radius - 4 - metrics.horizontalAdvance(text));
        }
        if (at.y() - metrics.ascent() < area.top() + 2) {
            at.setY(c.place.y() + radius + 2 + metrics.ascent());
        }
        painter.setPen(colour);
        painter.drawText(at, text);
    }
}

} // namespace kolmaris
