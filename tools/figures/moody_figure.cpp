// Renders the README's pictures of the friction factor:
//  - METHOD.png: the stepwise search's λ against the exact Colebrook root for water in a 50 mm
//    black-iron pipe over Re 1e3 to 1e7, with the difference in per cent below;
//  - CHART.png: the Moody chart window after a few calculations.
// It also prints the comparison table of the README.
// Usage: kolmaris_moody_figure METHOD.png CHART.png (run under QT_QPA_PLATFORM=offscreen)

#include "app/chart/moody_window.h"
#include "app/chart/plot_axes.h"
#include "calc/calculation.h"
#include "calc/colebrook_exact.h"
#include "calc/media.h"
#include "figure_support.h"

#include <QAction>
#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

using namespace kolmaris;

using figures::EchoSink;

double methodLambda(double diameter, double roughness, double reynolds) {
    CalculationRecord record;
    record.diameter = diameter;
    record.roughness = roughness;
    record.reynolds = reynolds;
    findFrictionFactor(record);
    return record.lambda;
}

struct Sample {
    double reynolds, method, exact;
    double percent() const { return (method - exact) / exact * 100; }
};

void printTable() {
    struct Case {
        const char* name;
        double diameter, flow;
        Material material;
    };
    const Case cases[] = {
        {"50 mm, Eisenrohr schwarz, 100 dm³/min", 50, 100, Material::BlackIron},
        {"100 mm, Chromstahlrohr, 1000 dm³/min", 100, 1000, Material::StainlessSteel},
        {"1000 mm, Chromstahlrohr, 1000000 dm³/min", 1000, 1e6, Material::StainlessSteel},
        {"10 mm, Kunststoffrohr, 0,5 dm³/min (laminar)", 10, 0.5, Material::Plastic},
    };
    EchoSink messages;
    QLocale german(QLocale::German, QLocale::Germany);
    german.setNumberOptions(QLocale::OmitGroupSeparator);
    std::printf("| Fall (Wasser, 20 °C) | Re | λ des Verfahrens | exakte Wurzel | Abweichung |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const Case& c : cases) {
        CalculationRecord r;
        r.diameterInput = c.diameter;
        r.flowRateInput = c.flow;
        r.lengthInput = 1;
        r.temperatureInput = 20;
        calculate(r, Medium::Water, c.material, messages);
        const double exact = colebrookExact(r.roughness / r.diameter, r.reynolds);
        const double percent = (r.lambda - exact) / exact * 100;
        const QString line =
            QStringLiteral("| %1 | %2 | %3 | %4 | %5%6 % |")
                .arg(QString::fromUtf8(c.name), german.toString(r.reynolds, 'f', 0),
                     german.toString(r.lambda, 'f', 6), german.toString(exact, 'f', 6),
                     percent < 0 ? QStringLiteral("−") : QStringLiteral("+"),
                     german.toString(std::abs(percent), 'f', 1));
        std::printf("%s\n", line.toUtf8().constData());
    }
}

void drawLine(QPainter& painter, const std::vector<QPointF>& points) {
    QPainterPath path;
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (i == 0) {
            path.moveTo(points[i]);
        } else {
            path.lineTo(points[i]);
        }
    }
    painter.drawPath(path);
}

const QColor frameColour(0x20, 0x20, 0x20), decadeColour(0xa8, 0xa8, 0xa8),
    minorColour(0xe2, 0xe2, 0xe2);
const QColor methodColour(0xd0, 0x5a, 0x10), exactColour(0x1f, 0x4e, 0x9c);

// The method figure's two panels over one Reynolds axis: λ above, the difference in per cent
// below.
struct MethodPanels {
    static constexpr double minRe = 1e3, maxRe = 1e7;
    QRectF upper{84, 48, 780, 360};
    QRectF lower{84, 448, 780, 160};
    PlotAxis x{PlotAxis::Scale::Logarithmic, minRe, maxRe, upper.left(), upper.right()};
    PlotAxis lambda{PlotAxis::Scale::Logarithmic, 0.015, 0.08, upper.bottom(), upper.top()};
    double low = 0, high = 0; // of the per cent axis, in steps of 2
    PlotAxis percent{PlotAxis::Scale::Linear, 0, 1, lower.bottom(), lower.top()};

    explicit MethodPanels(const std::vector<Sample>& samples) {
        for (const Sample& s : samples) {
            low = std::min(low, s.percent());
            high = std::max(high, s.percent());
        }
        low = std::floor(low / 2) * 2;
        high = std::ceil(high / 2) * 2;
        percent = PlotAxis(PlotAxis::Scale::Linear, low, high, lower.bottom(), lower.top());
    }
};

std::vector<Sample> methodSamples(double diameter, double roughness) {
    std::vector<Sample> samples;
    constexpr int count = 2400;
    for (int i = 0; i <= count; ++i) {
        const double re = MethodPanels::minRe *
                          std::pow(MethodPanels::maxRe / MethodPanels::minRe, double(i) / count);
        samples.push_back(
            {re, methodLambda(diameter, roughness, re), colebrookExact(roughness / diameter, re)});
    }
    return samples;
}

// The shaded bands, the grids and the tick labels of both panels.
void drawMethodGrid(QPainter& painter, const MethodPanels& p, const QLocale& locale) {
    const PlotAxis& x = p.x;
    for (const QRectF& panel : {p.upper, p.lower}) {
        painter.fillRect(QRectF(panel.left(), panel.top(), x.toPixel(laminarLimit) - panel.left(),
                                panel.height()),
                         QColor(0xf6, 0xf6, 0xf6));
        painter.fillRect(QRectF(x.toPixel(laminarLimit), panel.top(),
                                x.toPixel(4000) - x.toPixel(laminarLimit), panel.height()),
                         QColor(0xec, 0xec, 0xec));
        for (double d = 1e3; d < MethodPanels::maxRe; d *= 10) {
            for (int m = 1; m <= 9; ++m) {
                painter.setPen(QPen(m == 1 ? decadeColour : minorColour, 1));
                const double px = x.toPixel(d * m);
                painter.drawLine(QPointF(px, panel.top()), QPointF(px, panel.bottom()));
            }
        }
    }
    painter.setFont(plotFont(12));
    const QFontMetricsF metrics(painter.font(), painter.device());
    auto leftLabel = [&](double y, const QString& text) {
        painter.setPen(frameColour);
        painter.drawLine(QPointF(p.upper.left() - 4, y), QPointF(p.upper.left(), y));
        painter.drawText(QPointF(p.upper.left() - 7 - metrics.horizontalAdvance(text),
                                 y + metrics.capHeight() / 2),
                         text);
    };
    for (double lambda : {0.015, 0.02, 0.03, 0.04, 0.05, 0.06, 0.08}) {
        const double y = p.lambda.toPixel(lambda);
        painter.setPen(QPen(minorColour, 1));
        painter.drawLine(QPointF(p.upper.left(), y), QPointF(p.upper.right(), y));
        leftLabel(y, plotNumber(locale, lambda, 3));
    }
    for (double step = p.low; step <= p.high + 1e-9; step += 2) {
        const double y = p.percent.toPixel(step);
        painter.setPen(QPen(step == 0 ? frameColour : minorColour, 1));
        painter.drawLine(QPointF(p.lower.left(), y), QPointF(p.lower.right(), y));
        QString text = plotNumber(locale, std::abs(step), 0);
        if (step < 0) {
            text.prepend(QStringLiteral("−"));
        } else if (step > 0) {
            text.prepend(QStringLiteral("+"));
        }
        leftLabel(y, text);
    }
}

void drawMethodCurves(QPainter& painter, const MethodPanels& p,
                      const std::vector<Sample>& samples) {
    std::vector<QPointF> method, exact, difference;
    for (const Sample& s : samples) {
        method.emplace_back(p.x.toPixel(s.reynolds), p.lambda.toPixel(s.method));
        exact.emplace_back(p.x.toPixel(s.reynolds), p.lambda.toPixel(s.exact));
        difference.emplace_back(p.x.toPixel(s.reynolds), p.percent.toPixel(s.percent()));
    }
    painter.save();
    painter.setClipRect(p.upper);
    painter.setPen(QPen(exactColour, 2));
    drawLine(painter, exact);
    painter.setPen(QPen(methodColour, 1.4));
    drawLine(painter, method);
    painter.restore();
    painter.save();
    painter.setClipRect(p.lower);
    painter.setPen(QPen(methodColour, 1.2));
    drawLine(painter, difference);
    painter.restore();
}

// Frames, the Reynolds axis, the axis titles, the band names and the legend.
void drawMethodFrame(QPainter& painter, const MethodPanels& p) {
    painter.setPen(QPen(frameColour, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(p.upper);
    painter.drawRect(p.lower);
    for (int e = 3; e <= 7; ++e) {
        const double px = p.x.toPixel(std::pow(10.0, e));
        painter.drawLine(QPointF(px, p.lower.bottom()), QPointF(px, p.lower.bottom() + 4));
        drawPowerOfTen(painter, QPointF(px, p.lower.bottom() + 5), e);
    }

    painter.setFont(plotFont(13));
    painter.drawText(QRectF(p.lower.left(), p.lower.bottom() + 30, p.lower.width(), 24),
                     Qt::AlignCenter, QStringLiteral("Reynolds-Zahl Re"));
    auto sideTitle = [&](const QRectF& panel, const QString& text) {
        painter.save();
        painter.translate(panel.left() - 66, panel.center().y());
        painter.rotate(-90);
        painter.drawText(QRectF(-panel.height() / 2 - 40, -12, panel.height() + 80, 24),
                         Qt::AlignCenter, text);
        painter.restore();
    };
    sideTitle(p.upper, QStringLiteral("Rohrreibungszahl λ"));
    sideTitle(p.lower, QStringLiteral("Abweichung [%]"));

    painter.setFont(plotFont(11));
    painter.setPen(QColor(0x70, 0x70, 0x70));
    painter.drawText(QPointF(p.upper.left() + 6, p.upper.top() + 16), QStringLiteral("laminar"));
    painter.save();
    painter.translate((p.x.toPixel(laminarLimit) + p.x.toPixel(4000)) / 2, p.upper.top() + 6);
    painter.rotate(90);
    painter.drawText(QPointF(0, 4), QStringLiteral("Übergang"));
    painter.restore();

    // Legend, top right where both curves run low.
    const QRectF box(p.upper.right() - 292, p.upper.top() + 10, 282, 52);
    painter.setPen(QPen(decadeColour, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(box);
    painter.setFont(plotFont(12));
    const struct {
        QColor colour;
        double width;
        const char* text;
    } entries[] = {
        {methodColour, 1.4, "Verfahren (schrittweise Suche)"},
        {exactColour, 2, "Colebrook, exakt"},
    };
    double y = box.top() + 16;
    for (const auto& entry : entries) {
        painter.setPen(QPen(entry.colour, entry.width));
        painter.drawLine(QPointF(box.left() + 10, y), QPointF(box.left() + 38, y));
        painter.setPen(frameColour);
        painter.drawText(QPointF(box.left() + 48, y + 4), QString::fromUtf8(entry.text));
        y += 22;
    }
}

bool renderMethodFigure(const QString& path) {
    const std::vector<Sample> samples = methodSamples(0.05, roughnessOf(Material::BlackIron));
    const MethodPanels panels(samples);
    const auto [least, most] =
        std::minmax_element(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) {
            return a.percent() < b.percent();
        });
    std::printf("Abweichung von Re 1e3 bis 1e7: %.2f %% bis %+.2f %%\n", least->percent(),
                most->percent());

    const QSize size(900, 680);
    QImage image(size * 2, QImage::Format_RGB32);
    image.setDevicePixelRatio(2);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(frameColour);
    painter.setFont(plotFont(15, true));
    painter.drawText(QRectF(panels.upper.left(), 8, panels.upper.width(), 32),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Wasser in einem Eisenrohr schwarz, d = 50 mm, k = 0,045 mm"));
    drawMethodGrid(painter, panels, QLocale(QLocale::German, QLocale::Germany));
    drawMethodCurves(painter, panels, samples);
    drawMethodFrame(painter, panels);
    painter.end();
    return image.save(path, "PNG");
}

bool renderChartWindow(const QString& path) {
    figures::DrivenWindow driven;
    MainWindow& window = driven.window;
    driven.click("Option1_0"); // Wasser
    const struct {
        const char* material;
        const char* inputs[4];
    } runs[] = {
        {"Option6", {"50", "20", "10", "20"}},  {"Option6", {"50", "60", "10", "20"}},
        {"Option8", {"25", "3", "10", "20"}},   {"Option7", {"100", "1000", "10", "20"}},
        {"Option6", {"50", "400", "10", "20"}}, {"Option6", {"50", "100", "10", "20"}},
    };
    for (const auto& run : runs) {
        driven.click(run.material);
        driven.calculate(run.inputs);
    }
    window.findChild<QAction*>(QStringLiteral("showMoodyChart"))->trigger();
    auto* chart = window.findChild<MoodyWindow*>();
    if (chart != nullptr) {
        // The offscreen screen is small, so the window opened at its least size; the picture
        // shows it as a desktop with room does.
        chart->resize(chart->preferredSize());
    }
    QApplication::processEvents();
    return chart != nullptr && chart->grab().save(path, "PNG");
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s METHOD.png CHART.png\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    printTable();
    if (!renderMethodFigure(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    if (!renderChartWindow(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
