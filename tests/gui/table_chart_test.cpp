// Editing the working table on its chart with the mouse: double-click mapping, selectors, the hint,
// zoom and its restore, and the "Interpolate" toggle.

#include "gui_test_support.h"
#include "main_window.h"
#include "table.h"

#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <qcustomplot.h>

namespace {

class TableChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.resize(727, 555);
        form.show();
        Find<QTabWidget>(&form, "MainPageControl")->setCurrentWidget(Find<QWidget>(&form, "TableTabSheet"));
        QApplication::processEvents();
        plot = Find<QCustomPlot>(&form, "ChartTableGraph");
        plot->replot();
    }

    QPoint PixelOf(double maf, double output) const {
        return QPoint(qRound(plot->xAxis->coordToPixel(maf)), qRound(plot->yAxis->coordToPixel(output)));
    }

    // As a mouse delivers it: a press and release, then the double-click (QTest's own double-click
    // on a widget skips the press).
    void DoubleClickAt(const QPoint& pixel, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(plot, button, {}, pixel);
        QTest::mouseRelease(plot, button, {}, pixel);
        SendDoubleClick(pixel, button);
    }

    void SendDoubleClick(const QPoint& pixel, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent doubleClick(QEvent::MouseButtonDblClick, pixel, plot->mapToGlobal(pixel), button, button,
                                {});
        QApplication::sendEvent(plot, &doubleClick);
    }

    void Drag(const QPoint& from, const QPoint& to) {
        QTest::mousePress(plot, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, plot->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, {});
        QApplication::sendEvent(plot, &move);
        QTest::mouseRelease(plot, Qt::LeftButton, {}, to);
    }

    const TableImage& Image() const { return form.WorkingTable()->Model().image(TableSet::First); }

    TForm1 form;
    QCustomPlot* plot = nullptr;
};

TEST_F(TableChartTest, DoubleClickPicksTheMafIndexWithHalvesRoundedUp) {
    // Zoom the MAF axis so that one pixel is exactly 1/128: pixel offsets then give exact values.
    const int px0 = qRound(plot->xAxis->coordToPixel(plot->xAxis->range().lower));
    const int px1 = qRound(plot->xAxis->coordToPixel(plot->xAxis->range().upper));
    const int y = PixelOf(0, 130).y();
    const struct {
        int pixelsPast100;
        int expectedMaf;
    } cases[] = {{64, 101}, {63, 100}}; // 100.5 and 100.49
    for (const auto& c : cases) {
        plot->xAxis->setRange(100, 100 + (px1 - px0) / 128.0);
        plot->replot();
        const TableImage before = Image();
        DoubleClickAt(QPoint(px0 + c.pixelsPast100, y));
        int changed = -1;
        for (int x = 0; x < MafCount; ++x)
            if (Image()[x] != before[x])
                changed = x;
        EXPECT_EQ(changed, c.expectedMaf) << "pixels past 100: " << c.pixelsPast100;
    }
}

TEST_F(TableChartTest, OnlyTheLeftButtonEdits) {
    const TableImage before = Image();
    for (const Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        DoubleClickAt(PixelOf(100, 200), button);
        EXPECT_EQ(Image(), before) << "button " << int(button);
    }
    DoubleClickAt(PixelOf(100, 200));
    EXPECT_EQ(Image()[100], 200);
}

TEST_F(TableChartTest, DoubleClickBeyondTheTableEndsIsHeldAt255AndOutsideThePlotDoesNothing) {
    DoubleClickAt(PixelOf(280, 258));
    EXPECT_EQ(Image()[255], 255);

    const TableImage before = Image();
    const int left = qRound(plot->xAxis->coordToPixel(0));
    DoubleClickAt(QPoint(left - 5, PixelOf(0, 100).y()));
    EXPECT_EQ(Image(), before) << "a double-click in the margin edits nothing";
}

TEST_F(TableChartTest, SecondDoubleClickWithoutANewPressDoesNothing) {
    DoubleClickAt(PixelOf(60, 100));
    ASSERT_EQ(Image()[60], 100);
    const TableImage before = Image();
    SendDoubleClick(PixelOf(70, 50));
    EXPECT_EQ(Image(), before);
}

TEST_F(TableChartTest, Tab2BelowMaf8CannotBeEditedAndUndoRestoresTheSameState) {
    TTableChart* chart = form.WorkingTable()->Chart();
    QTest::mouseClick(chart->Selector(TableCurve::Set1Tab2), Qt::LeftButton);
    ASSERT_EQ(chart->SelectedCurve(), TableCurve::Set1Tab2);
    ASSERT_EQ(chart->Selector(TableCurve::Set1Tab2)->text(), "Tab2");
    const TableImage before = Image();
    DoubleClickAt(PixelOf(5, 120));
    EXPECT_EQ(Image(), before);
    QTest::keyClick(plot, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Image(), before);
}

TEST_F(TableChartTest, HintNamesThePointOfTheHighestCurveUnderThePointer) {
    TTableChart* chart = form.WorkingTable()->Chart();
    QTest::mouseClick(chart->Selector(TableCurve::Set1Tab2), Qt::LeftButton);
    DoubleClickAt(PixelOf(12, 40));
    ASSERT_EQ(Image()[tab2Index(12)], 40);

    QTest::mouseMove(plot, PixelOf(12, 40));
    EXPECT_EQ(chart->HintText(), "MAF=12  OUT=40");
    EXPECT_EQ(plot->toolTip(), "MAF=12  OUT=40");
    // Tab1, Tab2 and the learned curve all have a point at (30, 0): the learned curve speaks.
    QTest::mouseMove(plot, PixelOf(30, 0));
    EXPECT_EQ(chart->HintText(), "MAF=30  OUT=0");
    QTest::mouseMove(plot, PixelOf(150, 200));
    EXPECT_EQ(chart->HintText(), "");
}

TEST_F(TableChartTest, ZoomThenRestoreGivesTheFullAxesBack) {
    Drag(PixelOf(50, 200), PixelOf(150, 50));
    EXPECT_NEAR(plot->xAxis->range().lower, 50, 2);
    EXPECT_NEAR(plot->xAxis->range().upper, 150, 2);
    EXPECT_NEAR(plot->yAxis->range().lower, 50, 2);
    EXPECT_NEAR(plot->yAxis->range().upper, 200, 2);

    // A rectangle dragged toward the upper left restores the full view.
    const QRect area = plot->axisRect()->rect();
    Drag(area.center() + QPoint(60, 60), area.center());
    EXPECT_EQ(plot->xAxis->range(), QCPRange(0, 300));
    EXPECT_EQ(plot->yAxis->range(), QCPRange(0, 260));
}

TEST_F(TableChartTest, InterpolateToggleClearsEveryKnotAndLeavesTheCurves) {
    TTableChart* chart = form.WorkingTable()->Chart();
    QTest::mouseClick(chart->InterpolateToggle(), Qt::LeftButton);
    ASSERT_TRUE(chart->InterpolationOn());
    DoubleClickAt(PixelOf(10, 20));
    DoubleClickAt(PixelOf(20, 40));
    EXPECT_EQ(Image()[15], 30) << "the knots were interpolated";
    const TableImage curves = Image();

    QTest::mouseClick(chart->InterpolateToggle(), Qt::LeftButton);
    EXPECT_FALSE(chart->InterpolationOn());
    const TableContent& content = form.WorkingTable()->Model().content();
    EXPECT_EQ(std::count(content.KnotMarks1.begin(), content.KnotMarks1.end(), 0), TableImageSize);
    EXPECT_EQ(std::count(content.LearnedKnotMarks.begin(), content.LearnedKnotMarks.end(), 0), MafCount);
    EXPECT_EQ(Image(), curves);
}

} // namespace

namespace {

TEST(TableChartButtons, HangFromTheChartsTopRightCornerAtTheirPlaces) {
    TForm1 form;
    form.resize(727, 555);
    form.show();
    QApplication::processEvents();
    const struct {
        TTableChart* chart;
        std::vector<std::pair<QPushButton*, int>> tops;
    } charts[] = {
        {form.WorkingTable()->Chart(),
         {{form.WorkingTable()->Chart()->Selector(TableCurve::Set1Tab1), 8},
          {form.WorkingTable()->Chart()->Selector(TableCurve::Set1Tab2), 41},
          {form.WorkingTable()->Chart()->Selector(TableCurve::Learned), 74},
          {form.WorkingTable()->Chart()->InterpolateToggle(), 107}}},
        {form.ComparisonTable()->Chart(),
         {{form.ComparisonTable()->Chart()->Selector(TableCurve::Set1Tab1), 8},
          {form.ComparisonTable()->Chart()->Selector(TableCurve::Set1Tab2), 41},
          {form.ComparisonTable()->Chart()->InterpolateToggle(), 74},
          {form.ComparisonTable()->Chart()->Selector(TableCurve::Set2Tab1), 107},
          {form.ComparisonTable()->Chart()->Selector(TableCurve::Set2Tab2), 140}}},
    };
    for (const auto& c : charts) {
        // Where the user sees them: on the page shown.
        Find<QTabWidget>(&form, "MainPageControl")->setCurrentWidget(Find<QWidget>(&form, "TableTabSheet"));
        Find<QTabWidget>(&form, "TablePageControl")->setCurrentWidget(c.chart->Plot()->parentWidget());
        QApplication::processEvents();
        const int width = c.chart->Plot()->width();
        for (const auto& [button, top] : c.tops) {
            EXPECT_EQ(button->geometry(), QRect(width - 78, top, 70, 25)) << button->text().toStdString();
        }
    }
    EXPECT_EQ(form.WorkingTable()->Chart()->InterpolateToggle()->text(), "Interpolate");
    EXPECT_TRUE(form.WorkingTable()->Chart()->Selector(TableCurve::Set1Tab1)->isChecked());
    EXPECT_FALSE(form.WorkingTable()->Chart()->InterpolateToggle()->isChecked());
}

} // namespace
