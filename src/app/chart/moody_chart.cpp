#include "app/chart/moody_chart.h"

#include "app/chart/moody_chart_style.h"
#include "app/platform/accessible_role.h"
#include "app/platform/number_text.h"
#include "calc/calculation.h"
#include "calc/colebrook_exact.h"
#include "calc/media.h"
#include "results/check_text.h"

#include <QAccessible>
#include <QFontMetricsF>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <map>

namespace kolmaris {

using namespace moody_style;

MoodyMapping::MoodyMapping(const QRectF& plotArea)
    : area_(plotArea), reynolds_(PlotAxis::Scale::Logarithmic, minReynolds, maxReynolds,
                                 plotArea.left(), plotArea.right()),
      lambda_(PlotAxis::Scale::Logarithmic, minLambda, maxLambda, plotArea.bottom(),
              plotArea.top()) {}

QPointF MoodyMapping::toPixel(double reynolds, double lambda) const {
    return {reynolds_.toPixel(reynolds), lambda_.toPixel(lambda)};
}

bool MoodyMapping::inRange(double reynolds, double lambda) {
    return reynolds >= minReynolds && reynolds <= maxReynolds && lambda >= minLambda &&
           lambda <= maxLambda;
}

MoodyChart::MoodyChart(const QLocale& locale, QWidget* parent) : QWidget(parent), locale_(locale) {
    giveAccessibleRole<MoodyChart, QAccessible::Chart>();
    setObjectName(QStringLiteral("moodyChart"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // The hover text must be reachable without a mouse.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(QStringLiteral("Moody-Diagramm"));
    setAccessibleDescription(hint());
}

QString MoodyChart::hint() {
    return QStringLiteral("Pfeiltasten oder Maus auf einen Punkt: Werte und Abweichung vom "
                          "exakten λ");
}

void MoodyChart::setResults(std::vector<MoodyPoint> points, std::optional<double> diameterMetres) {
    points_ = std::move(points);
    choosePoint(std::nullopt);
    // A diameter the curves cannot be drawn for is no diameter.
    if (diameterMetres && !(std::isfinite(*diameterMetres) && *diameterMetres > 0)) {
        diameterMetres.reset();
    }
    diameter_ = diameterMetres;
    update();
}

MoodyMapping MoodyChart::mappingFor(const QRectF& bounds) {
    return MoodyMapping(bounds.adjusted(marginLeft, marginTop, -marginRight, -marginBottom));
}

bool MoodyChart::placeable(const MoodyPoint& point) {
    return std::isfinite(point.reynolds) && std::isfinite(point.lambda) && point.reynolds > 0 &&
           point.lambda > 0;
}

QPointF MoodyChart::placeOf(const MoodyPoint& point, const MoodyMapping& mapping) const {
    const QPointF pixel = mapping.toPixel(point.reynolds, point.lambda);
    const QRectF& area = mapping.plotArea();
    return {std::clamp(pixel.x(), area.left(), area.right()),
            std::clamp(pixel.y(), area.top(), area.bottom())};
}

std::optional<std::size_t> MoodyChart::pointNear(const QPointF& pixel) const {
    const MoodyMapping frame = mapping();
    std::optional<std::size_t> nearest;
    double best = hoverRadius * hoverRadius;
    // From the newest back, so the point drawn on top wins a tie.
    for (std::size_t i = points_.size(); i-- > 0;) {
        if (!placeable(points_[i])) {
            continue;
        }
        const QPointF d = placeOf(points_[i], frame) - pixel;
        const double distance = d.x() * d.x() + d.y() * d.y();
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    return nearest;
}

QString MoodyChart::number(double value, int decimals) const {
    QLocale plain = locale_;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(value, 'f', decimals);
}

QString MoodyChart::describe(const MoodyPoint& point) const {
    QString text = QStringLiteral("Ergebnis Nr. %1\nRe = %2\nλ = %3")
                       .arg(point.number)
                       .arg(number(point.reynolds, 0), number(point.lambda, 5));
    if (!point.relativeRoughness) {
        return text;
    }
    try {
        const ExactFriction exact = exactFrictionFactor(*point.relativeRoughness, point.reynolds);
        const double percent = (point.lambda - exact.lambda) / exact.lambda * 100;
        QString difference = number(std::abs(percent), 1);
        if (difference != number(0, 1)) {
            difference.prepend(percent < 0 ? QStringLiteral("−") : QStringLiteral("+"));
        }
        text += QStringLiteral("\nλ exakt (%1) = %2\nAbweichung %3 %")
                    .arg(exact.law == FrictionLaw::Laminar ? QStringLiteral("laminar, 64/Re")
                                                           : QStringLiteral("Colebrook"),
                         number(exact.lambda, 5), difference);
    } catch (const ColebrookArgumentError&) {
        text += QStringLiteral("\nλ exakt: für diese Werte nicht bestimmbar");
    }
    if (point.check) {
        text += QLatin1Char('\n') +
                QString::fromStdString(checkText(*point.check, numberSettingsOf(locale_).format));
    }
    return text;
}

void MoodyChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    render(painter, QRectF(rect()));
    // The chosen point's mark belongs to the screen only, not to saved pictures.
    if (chosen_ && hasFocus()) {
        const QPointF place = placeOf(points_[*chosen_], mapping());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(place, hoverRadius + 6, hoverRadius + 6);
    }
}

void MoodyChart::choosePoint(std::optional<std::size_t> index) {
    if (index == chosen_) {
        return;
    }
    chosen_ = index;
    const QString description = chosen_ ? describe(points_[*chosen_]) : hint();
    setAccessibleDescription(description);
    if (chosen_ && hasFocus()) {
        const QPointF place = placeOf(points_[*chosen_], mapping());
        QToolTip::showText(mapToGlobal(place.toPoint()), description, this);
    }
    update();
}

void MoodyChart::keyPressEvent(QKeyEvent* event) {
    std::vector<std::size_t> drawn;
    for (std::size_t i = 0; i < points_.size(); ++i) {
        if (placeable(points_[i])) {
            drawn.push_back(i);
        }
    }
    if (drawn.empty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const auto at = chosen_ ? std::find(drawn.begin(), drawn.end(), *chosen_) : drawn.end();
    const bool none = at == drawn.end();
    switch (event->key()) {
    case Qt::Key_Right:
    case Qt::Key_Down:
        choosePoint(none || at + 1 == drawn.end() ? drawn.front() : *(at + 1));
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        choosePoint(none || at == drawn.begin() ? drawn.back() : *(at - 1));
        break;
    case Qt::Key_Home:
        choosePoint(drawn.front());
        break;
    case Qt::Key_End:
        choosePoint(drawn.back());
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    // Every key that chooses says so, the same point again included: a change of the chart's
    // description alone reaches no screen reader.
    if (chosen_) {
        emit pointChosen(describe(points_[*chosen_]));
    }
}

bool MoodyChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const auto index = pointNear(help->pos())) {
            QToolTip::showText(help->globalPos(), describe(points_[*index]), this);
        } else {
            QToolTip::hideText();
            event->ignore();
        }
        return true;
    }
    return QWidget::event(event);
}

} // namespace kolmaris
