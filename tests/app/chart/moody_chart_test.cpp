// The Moody chart: its frame, its window beside the main window, and its pictures.

#include "app/chart/moody_points.h"
#include "app/chart/moody_window.h"
#include "app/chart/plot_axes.h"
#include "app/chart/window_placement.h"
#include "calc/colebrook_exact.h"
#include "results/result_store.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kolmaris {
namespace {

using test_support::german;
using test_support::Window;

TEST(MoodyMapping, LogarithmicOnTheFrame) {
    const MoodyMapping mapping(QRectF(100, 50, 800, 400));
    struct Case {
        double reynolds, lambda;
        QPointF pixel;
    };
    const Case cases[] = {
        {600, 0.1, {100, 50}},    // top left
        {1e8, 0.008, {900, 450}}, // bottom right
        // The geometric means of the ranges land in the middle only on log–log axes.
        {std::sqrt(600 * 1e8), std::sqrt(0.008 * 0.1), {500, 250}},
    };
    for (const Case& c : cases) {
        const QPointF pixel = mapping.toPixel(c.reynolds, c.lambda);
        EXPECT_NEAR(pixel.x(), c.pixel.x(), 1e-9) << c.reynolds;
        EXPECT_NEAR(pixel.y(), c.pixel.y(), 1e-9) << c.lambda;
    }
}

TEST(PlotAxis, LinearAndLogarithmic) {
    struct Case {
        PlotAxis axis;
        double value, pixel;
    };
    const Case cases[] = {
        {PlotAxis(PlotAxis::Scale::Linear, -4, 4, 100, 0), -2, 75},
        {PlotAxis(PlotAxis::Scale::Linear, -4, 4, 100, 0), 4, 0},
        {PlotAxis(PlotAxis::Scale::Logarithmic, 1e3, 1e7, 0, 400), 1e5, 200},
        {PlotAxis(PlotAxis::Scale::Logarithmic, 1e3, 1e7, 0, 400), 1e3, 0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(c.axis.toPixel(c.value), c.pixel, 1e-9) << c.value;
    }
}

TEST(PlotNumber, DropsTrailingZerosInTheLocalesDigits) {
    const QLocale& english = test_support::english;
    EXPECT_EQ(plotNumber(german, 0.025, 3), "0,025");
    EXPECT_EQ(plotNumber(german, 0.1, 3), "0,1");
    EXPECT_EQ(plotNumber(german, 50, 2), "50");
    EXPECT_EQ(plotNumber(german, 12345.5, 1), "12345,5") << "no digit grouping";
    EXPECT_EQ(plotNumber(english, 0.00003, 6), "0.00003");
}

MoodyWindow* openChart(Window& w) {
    w.find<QAction>("showMoodyChart")->trigger();
    return w->findChild<MoodyWindow*>();
}

TEST(MoodyWindow, HoldsTheTableResultsAndFollowsNewOnes) {
    Window w(german);
    w.addResults(3);
    MoodyWindow* chart = openChart(w);
    ASSERT_NE(chart, nullptr);
    EXPECT_TRUE(chart->isVisible());
    EXPECT_TRUE(chart->isWindow());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the main window stays usable";

    const auto& points = chart->chart().points();
    ASSERT_EQ(points.size(), 3u);
    // The numbers calculated, not the table's rounded texts of them.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(points[i].number, i + 1);
        EXPECT_EQ(points[i].reynolds, w->results().values()[i].reynolds);
        EXPECT_EQ(points[i].lambda, w->results().values()[i].lambda);
        EXPECT_NEAR(points[i].reynolds, 42004, 0.5);
        EXPECT_NEAR(points[i].lambda, 0.024, 0.000005);
    }
    // Every row keeps its inputs, so each knows its pipe's relative roughness.
    for (const MoodyPoint& point : points) {
        ASSERT_TRUE(point.relativeRoughness);
        EXPECT_DOUBLE_EQ(*point.relativeRoughness, 0.000045 / 0.05);
    }
    EXPECT_EQ(chart->chart().diameter(), std::optional<double>(0.05));

    // A new result, a failed run and the menu again: one window, one more point.
    w.type("Text2", "200");
    w.press("Command1");
    w.type("Text1", "x");
    w.press("Command1");
    EXPECT_EQ(openChart(w), chart);
    ASSERT_EQ(chart->chart().points().size(), 4u);
    EXPECT_NEAR(chart->chart().points().back().reynolds, 84008, 0.5);
}

TEST(MoodyWindow, ImportedResultsJoinTheChart) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("results.xlsx"));
    Window w(german);
    w.addResults(2);
    MoodyWindow* chart = openChart(w);
    w.files.saveName = path;
    w.find<QAction>("mnuexel2")->trigger();
    w.type("Text2", "200");
    w.press("Command1");
    w.files.openName = path;
    w.find<QAction>("mnuexcel1")->trigger();
    ASSERT_EQ(chart->chart().points().size(), 5u);
    EXPECT_EQ(chart->chart().points().back().number, 5);
    EXPECT_NEAR(chart->chart().points().back().reynolds, 42004, 0.5);
    ASSERT_TRUE(chart->chart().points().back().relativeRoughness)
        << "an imported row brings its inputs";
    EXPECT_DOUBLE_EQ(*chart->chart().points().back().relativeRoughness, 0.000045 / 0.05);
    // With its inputs it has its check calculation, which the hover text ends with.
    const MoodyPoint& imported = chart->chart().points().back();
    ASSERT_TRUE(imported.check);
    EXPECT_TRUE(chart->chart().describe(imported).section('\n', -1).startsWith("Prüfrechnung: "));
}

TEST(MoodyChart, HoverFindsAPointAndDescribesIt) {
    MoodyChart chart(german);
    chart.resize(860, 600);
    chart.setResults({{1, 42004, 0.024, 0.0009}, {2, 210021, 0.015, std::nullopt}}, 0.05);

    const QPointF at = chart.mapping().toPixel(42004, 0.024);
    EXPECT_EQ(chart.pointNear(at + QPointF(3, -2)), std::optional<std::size_t>(0));
    EXPECT_EQ(chart.pointNear(chart.mapping().toPixel(1e6, 0.05)), std::nullopt);

    EXPECT_EQ(chart.describe(chart.points()[0]),
              "Ergebnis Nr. 1\nRe = 42004\nλ = 0,02400\n"
              "λ exakt (Colebrook) = 0,02436\nAbweichung −1,5 %");
    EXPECT_EQ(chart.describe(chart.points()[1]), "Ergebnis Nr. 2\nRe = 210021\nλ = 0,01500");
}

TEST(MoodyChart, DescribesTheDifferenceWithItsSign) {
    const QLocale& english = test_support::english;
    struct Case {
        QLocale locale;
        MoodyPoint point;
        const char* lastLine;
    };
    const double exact = colebrookExact(1.5e-6, 21002100);
    const Case cases[] = {
        {german, {3, 21002100, 0.008, 1.5e-6}, "Abweichung +5,8 %"},
        {english, {3, 21002100, 0.008, 1.5e-6}, "Abweichung +5.8 %"},
        {german, {3, 21002100, exact, 1.5e-6}, "Abweichung 0,0 %"},
        {german, {3, 21002100, 0.008, 4.0}, "λ exakt: für diese Werte nicht bestimmbar"},
    };
    for (const Case& c : cases) {
        const MoodyChart chart(c.locale);
        const QString text = chart.describe(c.point);
        EXPECT_EQ(text.section(QLatin1Char('\n'), -1), QString::fromUtf8(c.lastLine))
            << text.toStdString();
    }
    // In laminar flow the yardstick is 64/Re, as in the check calculation.
    const QString laminar = MoodyChart(german).describe({4, 1050, 0.0600177, 0.0007});
    EXPECT_TRUE(laminar.contains("λ exakt (laminar, 64/Re) = 0,06095")) << laminar.toStdString();
}

TEST(MoodyChart, PointsOffTheRangesStayOnTheEdgeOrAreNamed) {
    Window w(german);
    MoodyWindow* chart = openChart(w);
    chart->setResults({{1, 100, 0.6, std::nullopt}, {2, 0, 0.02, std::nullopt}}, std::nullopt);
    const MoodyChart& c = chart->chart();
    const QRectF area = c.mapping().plotArea();
    EXPECT_EQ(c.pointNear(area.topLeft()), std::optional<std::size_t>(0));
    const QString summary = chart->findChild<QLabel*>("moodySummary")->text();
    EXPECT_TRUE(summary.contains("nicht darstellbar (Re oder λ nicht positiv): Nr. 2"))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains("Rauheitskurven nach der ersten Berechnung"))
        << summary.toStdString();
}

TEST(MoodyChart, ATinyReynoldsNumberIsShownOnTheEdgeNotRoundedToZero) {
    // The table shows Re 0,04 as "0"; the chart takes the number itself.
    ResultStore store;
    test_support::RecordingSink sink;
    store.prepare(sink);
    store.write({1e-6, 0.01, 0.1, 0.04, 0.05, {}}, NumberFormat{','});
    ASSERT_EQ(store.grid().cell(2, 4), "0");

    Window w(german);
    MoodyWindow* chart = openChart(w);
    chart->setResults(moodyPointsOf(store.values()), std::nullopt);
    const MoodyChart& c = chart->chart();
    const QPointF edge(c.mapping().plotArea().left(), c.mapping().toPixel(600, 0.05).y());
    EXPECT_EQ(c.pointNear(edge), std::optional<std::size_t>(0));
    const QString summary = chart->findChild<QLabel*>("moodySummary")->text();
    EXPECT_FALSE(summary.contains("nicht positiv")) << summary.toStdString();
}

TEST(MoodyChart, DrawsWhateverItIsGiven) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    MoodyChart chart(german);
    // Diameters no curve can be drawn for count as none.
    for (double diameter : {-0.05, 0.0, nan, inf}) {
        chart.setResults({}, diameter);
        EXPECT_EQ(chart.diameter(), std::nullopt) << diameter;
    }
    // A pipe thinner than its roughness has no curves; odd points and a tiny picture neither
    // crash nor hang the painting.
    chart.setResults({{1, nan, 0.02, 0.1},
                      {2, inf, inf, nan},
                      {3, -1e5, 0.02, -1.0},
                      {4, 1e300, 1e-300, 5.0},
                      {5, 5e-324, 1e300, 0.0}},
                     1e-7);
    for (QSize size : {QSize(860, 600), QSize(40, 30), QSize(1, 1)}) {
        QImage image(size, QImage::Format_RGB32);
        QPainter painter(&image);
        chart.render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        for (const MoodyPoint& p : chart.points()) {
            EXPECT_FALSE(chart.describe(p).isEmpty());
        }
    }
}

TEST(WindowPlacement, BesideTheMainWindowWhereTheScreenHasRoomElseCoveringLeast) {
    // Frames as a desktop gives them: the main window with title bar and borders, the chart
    // as it opens and at its least.
    const QSize mainSize(625, 650);
    const QSize preferred(884, 680);
    const QSize least(584, 490);
    struct Case {
        const char* name;
        QRect screen; // available area
        QPoint main;  // where the window system put the main window
        QRect expected;
    };
    const Case cases[] = {
        {"1920x1080, room for all", {0, 0, 1920, 1050}, {0, 0}, {633, 0, 884, 680}},
        {"1280x1024, narrower", {0, 0, 1280, 994}, {0, 0}, {633, 0, 647, 680}},
        {"1366x768, lower", {0, 0, 1366, 738}, {0, 30}, {633, 30, 733, 680}},
        {"main window on the right", {0, 0, 1366, 738}, {741, 0}, {0, 0, 733, 680}},
        {"second screen", {1920, 0, 1280, 1024}, {1920, 100}, {2553, 100, 647, 680}},
        {"1280x1024, centred: no side has room",
         {0, 0, 1280, 1024},
         {327, 187},
         {696, 534, 584, 490}},
        {"1024x768", {0, 0, 1024, 768}, {0, 0}, {440, 278, 584, 490}},
        {"800x600, smaller than the chart", {0, 0, 800, 600}, {0, 0}, {216, 0, 584, 490}},
    };
    for (const Case& c : cases) {
        const QRect main(c.main, mainSize);
        const QRect placed = placeBeside(main, preferred, least, c.screen);
        EXPECT_EQ(placed, c.expected) << c.name;
        EXPECT_TRUE(c.screen.contains(placed)) << c.name;
    }
}

TEST(MoodyWindow, OpensOnTheScreenAndIsNamed) {
    Window w(german);
    MoodyWindow* chart = openChart(w);
    const QRect screen = w->screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(chart->frameGeometry().topLeft()));
    EXPECT_EQ(chart->windowTitle(), "Moody-Diagramm");
    EXPECT_EQ(QAccessible::queryAccessibleInterface(chart->findChild<MoodyChart*>())
                  ->text(QAccessible::Name),
              "Moody-Diagramm");
}

TEST(MoodyChart, ArrowKeysStepThroughThePointsAndTellThemToAScreenReader) {
    MoodyChart chart(german);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    chart.setResults({{1, 42004, 0.024, std::nullopt},
                      {2, nan, 0.03, std::nullopt}, // not drawn, so never chosen
                      {3, 84008, 0.021, std::nullopt}},
                     0.05);
    chart.resize(chart.sizeHint());
    chart.show();
    chart.setFocus();
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(&chart);
    EXPECT_EQ(spoken->text(QAccessible::Description), MoodyChart::hint());
    // The point chosen is the one the screen reader hears of.
    const auto press = [&chart, spoken](Qt::Key key) {
        QTest::keyClick(&chart, key);
        return spoken->text(QAccessible::Description);
    };
    const QString first = chart.describe(chart.points()[0]);
    const QString third = chart.describe(chart.points()[2]);
    EXPECT_EQ(press(Qt::Key_Right), first);
    EXPECT_EQ(press(Qt::Key_Right), third);
    EXPECT_EQ(press(Qt::Key_Right), first) << "round again";
    EXPECT_EQ(press(Qt::Key_Left), third);
    EXPECT_EQ(press(Qt::Key_Home), first);
    EXPECT_EQ(press(Qt::Key_End), third);
    chart.setResults({}, std::nullopt);
    EXPECT_EQ(spoken->text(QAccessible::Description), MoodyChart::hint());
}

// A screen reader is told what a key chose through the window's notification, since Qt's change
// of the chart's description reaches none; the chart is a chart in a frame, and Esc closes it.
TEST(MoodyWindow, AKeyTellsItsPointAndEscClosesTheChart) {
    Window w(german);
    w.addResults(2);
    MoodyWindow* window = openChart(w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* chart = window->findChild<MoodyChart*>();
    EXPECT_EQ(QAccessible::queryAccessibleInterface(chart)->role(), QAccessible::Chart);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Window);
    auto* notice = window->findChild<QWidget*>(QStringLiteral("announcement"));
    ASSERT_NE(notice, nullptr);
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(notice);
    ASSERT_EQ(spoken->role(), QAccessible::Notification);
    chart->setFocus();
    for (int press = 0; press < 2; ++press) { // the same point again is told again
        notice->setAccessibleName({});
        QTest::keyClick(chart, Qt::Key_End);
        EXPECT_EQ(spoken->text(QAccessible::Name), "Ergebnis Nr. 2") << press;
        EXPECT_EQ(spoken->text(QAccessible::Description).section(", ", 0, 1),
                  "Re = 42004, λ = 0,02400");
        EXPECT_FALSE(spoken->state().invisible);
    }
    QTest::keyClick(chart, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&*w)) << "the main window has the keyboard again";
}

TEST(MoodyWindow, SavesPngAndSvgAndSaysWhyItCannot) {
    QTemporaryDir folder;
    Window w(german);
    w.addResults(1);
    MoodyWindow* chart = openChart(w);
    auto save = [&](const QString& name) {
        w.files.pictureName = name;
        QTest::mouseClick(chart->findChild<QPushButton*>("moodySave"), Qt::LeftButton);
    };

    save(folder.filePath("chart.png"));
    EXPECT_EQ(w.files.proposed, "Kolmaris-Moody-Diagramm.png");
    const QImage png(folder.filePath("chart.png"));
    EXPECT_EQ(png.size(), chart->chart().size() * 2);

    save(folder.filePath("chart.SVG"));
    QFile svg(folder.filePath("chart.SVG"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray text = svg.readAll();
    EXPECT_TRUE(text.contains("<svg")) << "SVG by the suffix, whatever its case";
    EXPECT_TRUE(text.contains("Reynolds-Zahl Re"));

    EXPECT_TRUE(w.messages.messages.empty());
    save(folder.filePath("missing/chart.png"));
    ASSERT_EQ(w.messages.messages.size(), 1u);
    EXPECT_EQ(w.messages.messages[0].style, WarningStyle);
    EXPECT_EQ(w.messages.messages[0].prompt.rfind("Das Bild wurde nicht gespeichert.", 0), 0u);

    save(QString()); // cancelled: nothing happens
    EXPECT_EQ(w.messages.messages.size(), 1u);
}

} // namespace
} // namespace kolmaris
