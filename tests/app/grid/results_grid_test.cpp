#include "app/grid/grid_colours.h"
#include "app/grid/results_grid.h"
#include "results/results_table.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace kolmaris {
namespace {

// The grid as the window places it: 393 x 153 pixels.
struct GridFixture : ::testing::Test {
    GridFixture()
        : view(
              grid, [this](GridObserver* o) { grid.setObserver(o); }, nullptr) {
        view.place(QRect(0, 0, 393, 153));
        tester = new QAbstractItemModelTester(view.itemModel(),
                                              QAbstractItemModelTester::FailureReportingMode::Fatal,
                                              view.itemModel());
        initResultsTable(grid);
    }

    void setRow(int row, const std::string& text) {
        grid.setRow(row);
        for (int col = 0; col < grid.cols(); ++col) {
            grid.setCol(col);
            grid.setText(text);
        }
    }

    GridModel grid;
    ResultsGridView view;
    QAbstractItemModelTester* tester = nullptr;
};

TEST_F(GridFixture, FixedRowAndColumnBecomeHeadersAndCorner) {
    const GridItemModel& model = *view.itemModel();
    ASSERT_EQ(model.rowCount(), 3);
    ASSERT_EQ(model.columnCount(), 5);
    EXPECT_EQ(model.cornerText(), "        Nr.");
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "   Geschw.");
    EXPECT_EQ(model.headerData(4, Qt::Horizontal).toString(), "    Lamda");
    EXPECT_EQ(model.headerData(0, Qt::Vertical).toString(), "");
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "      [m/s]");
    EXPECT_EQ(model.data(model.index(0, 1)).toString(), "   [Pascal]");
    EXPECT_EQ(model.data(model.index(2, 4)).toString(), "");
}

TEST_F(GridFixture, FollowsTheGridAsItGrowsAndShrinks) {
    grid.setRows(30);
    EXPECT_EQ(view.itemModel()->rowCount(), 29);
    grid.setRow(29);
    grid.setCol(0);
    grid.setText("28");
    EXPECT_EQ(view.itemModel()->headerData(28, Qt::Vertical).toString(), "28");
    EXPECT_EQ(view.verticalHeader()->count(), 29);

    grid.setCols(3);
    grid.setRows(2);
    EXPECT_EQ(view.itemModel()->rowCount(), 1);
    EXPECT_EQ(view.itemModel()->columnCount(), 2);
    grid.setRows(1);
    grid.setCols(1);
    EXPECT_EQ(view.itemModel()->rowCount(), 0);
    EXPECT_EQ(view.itemModel()->columnCount(), 0);
    grid.setRows(5);
    grid.setCols(6);
    EXPECT_EQ(view.itemModel()->rowCount(), 4);
    EXPECT_EQ(view.itemModel()->columnCount(), 5);
    // The model tester has checked every announcement on the way (it aborts on a wrong one).
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 5; ++c) {
            EXPECT_EQ(view.itemModel()->data(view.itemModel()->index(r, c)).toString(), "");
        }
    }
}

TEST_F(GridFixture, ReportsEachWrittenCellWhereTheViewShowsIt) {
    QSignalSpy cells(view.itemModel(), &QAbstractItemModel::dataChanged);
    QSignalSpy headers(view.itemModel(), &QAbstractItemModel::headerDataChanged);
    QSignalSpy corner(view.itemModel(), &GridItemModel::cornerChanged);

    grid.setRow(2);
    grid.setCol(3);
    grid.setText("1728,02");
    ASSERT_EQ(cells.count(), 1);
    EXPECT_EQ(cells.at(0).at(0).toModelIndex(), view.itemModel()->index(1, 2));

    grid.setCol(0);
    grid.setText("1");
    ASSERT_EQ(headers.count(), 1);
    EXPECT_EQ(headers.at(0).at(0).value<Qt::Orientation>(), Qt::Vertical);
    EXPECT_EQ(headers.at(0).at(1).toInt(), 1);

    grid.setRow(0);
    grid.setText("x");
    EXPECT_EQ(corner.count(), 1);
}

TEST_F(GridFixture, NumbersStandRightTextsLeft) {
    grid.setRow(2);
    grid.setCol(1);
    grid.setText("-0,85");
    const GridItemModel& model = *view.itemModel();
    auto alignment = [&](int r, int c) {
        return Qt::Alignment(model.data(model.index(r, c), Qt::TextAlignmentRole).toInt());
    };
    EXPECT_TRUE(alignment(1, 0) & Qt::AlignRight);
    EXPECT_TRUE(alignment(0, 0) & Qt::AlignLeft);
}

TEST_F(GridFixture, AllSixColumnsFitTheWidthEvenWithTheScrollBar) {
    const int frame = 2 * view.frameWidth();
    const int scrollBar = view.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &view);
    int total = view.verticalHeader()->width();
    for (int c = 0; c < view.itemModel()->columnCount(); ++c) {
        total += view.columnWidth(c);
    }
    EXPECT_LE(total + frame + scrollBar, 393);

    // Every header text fits its column.
    const QFontMetrics metrics(view.font());
    const int width = view.columnWidth(0);
    EXPECT_LE(metrics.horizontalAdvance(view.itemModel()->cornerText()), width);
    for (int c = 0; c < 5; ++c) {
        for (const QString& text :
             {view.itemModel()->headerData(c, Qt::Horizontal).toString(),
              view.itemModel()->data(view.itemModel()->index(0, c)).toString()}) {
            EXPECT_LE(metrics.horizontalAdvance(text) + 6, width) << text.toStdString();
        }
    }
}

TEST_F(GridFixture, ColumnsFitTheirWidestTextOnceTheWritingIsDone) {
    const int least = view.columnWidth(2);
    const QString wide = QStringLiteral("-123456789012345,67");
    grid.setRow(2);
    grid.setCol(3);
    grid.setText(wide.toStdString());
    QApplication::processEvents();
    EXPECT_EQ(view.columnWidth(2), view.widthFor(wide));

    // A shorter text in its place is measured anew: the column narrows again.
    grid.setText("1");
    QApplication::processEvents();
    EXPECT_EQ(view.columnWidth(2), least);

    // Under a larger font every text is measured again at the next write.
    grid.setText(wide.toStdString());
    QApplication::processEvents();
    const int before = view.widthFor(wide);
    QFont larger = view.font();
    larger.setPointSizeF(2 * larger.pointSizeF());
    view.setFont(larger);
    grid.setRow(3);
    grid.setText("1");
    QApplication::processEvents();
    ASSERT_GT(view.widthFor(wide), before);
    EXPECT_EQ(view.columnWidth(2), view.widthFor(wide));
}

TEST_F(GridFixture, ScrollBarsAppearOnlyWhenTheRowsExceedTheHeight) {
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    EXPECT_FALSE(view.verticalScrollBar()->isVisible());
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible());

    grid.setRows(30);
    EXPECT_TRUE(QTest::qWaitFor([this] { return view.verticalScrollBar()->isVisible(); }, 2000));
    EXPECT_FALSE(view.horizontalScrollBar()->isVisible());

    // The fixed row stays in place while the rows scroll.
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QApplication::processEvents();
    EXPECT_TRUE(view.horizontalHeader()->isVisible());
    EXPECT_EQ(view.horizontalHeader()->geometry().top(), view.frameWidth());
}

TEST_F(GridFixture, ColoursUnderALightADarkAndAHighContrastPalette) {
    const QPalette light = QApplication::style()->standardPalette();
    QPalette dark(QColor(53, 53, 53));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    QPalette highContrast(Qt::black, Qt::white); // black texts and edges on white
    highContrast.setColor(QPalette::Base, Qt::white);
    highContrast.setColor(QPalette::Text, Qt::black);
    struct Case {
        const char* name;
        QPalette palette;
        bool classicGreys;
    };
    for (const Case& c : {Case{"light", light, true}, Case{"dark", dark, false},
                          Case{"high contrast", highContrast, false}}) {
        view.setPalette(c.palette);
        view.show();
        QApplication::processEvents();
        const QImage picture = view.grab().toImage();
        const int row3 = view.horizontalHeader()->height() + view.rowViewportPosition(2) +
                         view.frameWidth() + view.rowHeight(2) / 2;
        const int fixedX = view.frameWidth() + view.verticalHeader()->width() / 2;
        const int cellX = view.frameWidth() + view.verticalHeader()->width() +
                          view.columnViewportPosition(1) + view.columnWidth(1) / 2;
        const int lineX = cellX - view.columnWidth(1) / 2 + view.columnWidth(1) - 1;
        const int below = view.height() - view.frameWidth() - 3;
        const QColor base = c.palette.color(QPalette::Active, QPalette::Base);

        // Row 3 of the grid is empty, so these points show the pure cell colours: fixed cells
        // on the button face, the others on the window colour.
        EXPECT_EQ(picture.pixelColor(fixedX, row3),
                  c.palette.color(QPalette::Active, QPalette::Button))
            << c.name;
        EXPECT_EQ(picture.pixelColor(cellX, row3), base) << c.name;
        const QColor lines = picture.pixelColor(lineX, row3);
        const QColor behindCells = picture.pixelColor(cellX, below);
        EXPECT_EQ(picture.pixelColor(fixedX, below), behindCells) << c.name;
        if (c.classicGreys) {
            EXPECT_EQ(behindCells, QColor(128, 128, 128)) << c.name;
            EXPECT_EQ(lines, QColor(192, 192, 192)) << c.name;
        } else {
            EXPECT_EQ(behindCells.rgb(), c.palette.color(QPalette::Active, QPalette::Dark).rgb())
                << c.name;
            EXPECT_GE(contrastRatio(lines, base), 3.0) << c.name;
        }
    }
}

TEST_F(GridFixture, CtrlCCopiesTheSelectionOrTheWholeTableForASpreadsheet) {
    setRow(2, "1,25");
    QGuiApplication::clipboard()->clear();
    view.show();
    view.setFocus();

    // Nothing selected, or everything (Ctrl+A): the whole table, header rows and numbers
    // included, without the layout blanks and the free rows.
    const QString whole = "Nr.\tGeschw.\tDV/m\tDV Total\tReynold\tLamda\n"
                          "\t[m/s]\t[Pascal]\t[Pascal]\t[-]\t[-]\n"
                          "1,25\t1,25\t1,25\t1,25\t1,25\t1,25\n";
    QTest::keySequence(&view, QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), whole);
    QTest::keySequence(&view, QKeySequence::SelectAll);
    QTest::keySequence(&view, QKeySequence::Copy);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), whole);
    view.clearSelection();

    // Two cells of the result row, with a gap between them.
    view.selectionModel()->select(view.itemModel()->index(1, 0), QItemSelectionModel::Select);
    view.selectionModel()->select(view.itemModel()->index(1, 2), QItemSelectionModel::Select);
    view.findChild<QAction*>(QStringLiteral("copyCells"))->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "1,25\t\t1,25\n");
}

} // namespace
} // namespace kolmaris
