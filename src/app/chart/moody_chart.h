#pragma once

#include "app/chart/plot_axes.h"
#include "calc/result_check.h"

#include <QLocale>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <optional>
#include <vector>

class QPainter;

namespace kolmaris {

// One result of the table as the chart shows it. The relative roughness k/d is known only for
// results whose inputs are known; without it the exact friction factor cannot be given.
struct MoodyPoint {
    int number = 0;
    double reynolds = 0;
    double lambda = 0;
    std::optional<double> relativeRoughness;
    // The check calculation beside the result, where its inputs are known.
    std::optional<ResultCheck> check = std::nullopt;
};

// The chart's log–log frame: Re from 600 to 1e8 across, λ from 0.008 to 0.1 upwards, inside
// `plotArea` (pixels).
class MoodyMapping {
public:
    static constexpr double minReynolds = 600;
    static constexpr double maxReynolds = 1e8;
    static constexpr double minLambda = 0.008;
    static constexpr double maxLambda = 0.1;

    explicit MoodyMapping(const QRectF& plotArea);

    const QRectF& plotArea() const { return area_; }
    QPointF toPixel(double reynolds, double lambda) const;
    // Whether the point lies on the chart's ranges.
    static bool inRange(double reynolds, double lambda);

private:
    QRectF area_;
    PlotAxis reynolds_;
    PlotAxis lambda_;
};

// The Moody chart of the results: the exact Colebrook curves of the five pipe materials for one
// diameter, the laminar line, the transition band, and every result as a numbered point.
// Hovering over a point shows its values and how far they are from the exact root.
class MoodyChart : public QWidget {
    Q_OBJECT

public:
    explicit MoodyChart(const QLocale& locale, QWidget* parent = nullptr);

    // The results in table order (the last is the newest) and the diameter the material curves
    // are drawn for; without one the chart shows no material curves.
    void setResults(std::vector<MoodyPoint> points, std::optional<double> diameterMetres);
    const std::vector<MoodyPoint>& points() const { return points_; }
    std::optional<double> diameter() const { return diameter_; }

    // The frame for a picture of the given bounds (the widget uses its own rectangle).
    static MoodyMapping mappingFor(const QRectF& bounds);
    MoodyMapping mapping() const { return mappingFor(QRectF(rect())); }

    // The index of the point drawn nearest to `pixel` within a few pixels, if any.
    std::optional<std::size_t> pointNear(const QPointF& pixel) const;
    // The text shown when hovering over a point.
    QString describe(const MoodyPoint& point) const;

    // The arrow keys step through the points that can be drawn, Home and End go to the first
    // and the newest; the chosen point shows the hover text and is what a screen reader reads
    // as the chart's description. This is what it hears before any point is chosen.
    static QString hint();

    // Draws the whole chart into `bounds`: the widget, a PNG and an SVG all go through here.
    void render(QPainter& painter, const QRectF& bounds) const;

    QSize sizeHint() const override { return {860, 600}; }
    QSize minimumSizeHint() const override { return {560, 400}; }

signals:
    // A key chose a point (again): its hover text, for a screen reader to be told.
    void pointChosen(const QString& description);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Where a point is drawn: on the frame's edge when its values lie outside the ranges.
    QPointF placeOf(const MoodyPoint& point, const MoodyMapping& mapping) const;
    static bool placeable(const MoodyPoint& point);

    void drawGrid(QPainter& painter, const MoodyMapping& mapping) const;
    void drawCurves(QPainter& painter, const MoodyMapping& mapping) const;
    void drawPoints(QPainter& painter, const MoodyMapping& mapping) const;
    // Beside each point the exact friction factor at its Reynolds number, as the check finds it.
    void drawExactMarks(QPainter& painter, const MoodyMapping& mapping) const;
    void drawLegend(QPainter& painter, const MoodyMapping& mapping) const;

    QString number(double value, int decimals) const;

    void choosePoint(std::optional<std::size_t> index);

    QLocale locale_;
    std::vector<MoodyPoint> points_;
    std::optional<double> diameter_;
    std::optional<std::size_t> chosen_;
};

} // namespace kolmaris
