// The log chart of a recorded run, driven with the mouse: the fill threshold, the time labels, the
// series buttons and hints, zoom and its undo, panning with the right button, and the double-click
// that writes a table point.

#include "gui_test_support.h"
#include "log.h"
#include "log_chart.h"
#include "main_window.h"
#include "table.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <qcustomplot.h>

namespace {

class LogChartTest : public ::testing::Test {
protected:
    void SetUp() override {
        form.resize(727, 555);
        form.show();
        Find<QTabWidget>(&form, "MainPageControl")->setCurrentWidget(Find<QWidget>(&form, "LogTabSheet"));
        QApplication::processEvents();
        plot = Find<QCustomPlot>(&form, "ChartLog");
    }

    // A run of n samples: MAF 100, throttle 50, O2 rising with the index.
    void Record(int n) {
        for (int k = 0; k < n; ++k) {
            LogSample sample;
            sample[LogSeries::MAF] = 100;
            sample[LogSeries::TPS] = 50;
            sample[LogSeries::O2] = k % 200;
            sample[LogSeries::Converter] = 120;
            form.LiveData()->Store().Append(sample);
        }
        Chart().ShowView(0, n - 1);
    }

    TLogChart& Chart() { return form.LiveData()->Chart(); }
    int Points(ChartSeries series) { return plot->graph(int(series))->data()->size(); }

    QPoint PixelOf(double seconds, double level) const {
        return QPoint(qRound(plot->xAxis->coordToPixel(seconds)), qRound(plot->yAxis->coordToPixel(level)));
    }

    void Send(QEvent::Type type, const QPoint& at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, plot->mapToGlobal(at), button, held, {});
        QApplication::sendEvent(plot, &event);
    }
    void Drag(const QPoint& from, const QPoint& to, Qt::MouseButton button) {
        Send(QEvent::MouseButtonPress, from, button, button);
        Send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, button);
        Send(QEvent::MouseMove, to, Qt::NoButton, button);
        Send(QEvent::MouseButtonRelease, to, button, Qt::NoButton);
    }
    void DoubleClickAt(const QPoint& at) {
        Send(QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
        Send(QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
        Send(QEvent::MouseButtonDblClick, at, Qt::LeftButton, Qt::LeftButton);
    }

    TForm1 form;
    QCustomPlot* plot = nullptr;
};

} // namespace

TEST_F(LogChartTest, AStoreOf118SamplesFillsTheChartAnd117DoNot) {
    Record(117);
    EXPECT_EQ(Points(ChartSeries::Maf), 0);
    EXPECT_FALSE(form.LiveData()->DataReceived());
    form.LiveData()->Store().Clear();
    Record(118);
    EXPECT_EQ(Points(ChartSeries::Maf), 118);
    EXPECT_EQ(Points(ChartSeries::LogCorr), 118);
    EXPECT_TRUE(form.LiveData()->DataReceived());
    EXPECT_EQ(Chart().StepText, "0.01s");
}

TEST_F(LogChartTest, TimeLabelsComeFromTheSampleIndex) {
    Record(360001);
    EXPECT_EQ(Chart().ViewStep, 837);
    plot->xAxis->setRange(3599.9, 3600.1);
    plot->replot();
    EXPECT_TRUE(plot->xAxis->tickVectorLabels().contains("1:0:0:0"))
        << plot->xAxis->tickVectorLabels().join(" ").toStdString();
    plot->xAxis->setRange(59.9, 60.1);
    plot->replot();
    EXPECT_TRUE(plot->xAxis->tickVectorLabels().contains("0:1:0:0"));
}

TEST_F(LogChartTest, TheButtonsShowAndHideTheirSeriesAndTheHintsKeepO2) {
    Record(500);
    QPushButton* o2 = Chart().SeriesButton(ChartSeries::O2);
    ASSERT_TRUE(o2->isChecked());
    QTest::mouseClick(o2, Qt::LeftButton);
    EXPECT_FALSE(plot->graph(int(ChartSeries::O2))->visible());
    EXPECT_FALSE(Chart().MarkersButton()->isChecked());

    // Over the MAF line at sample 300: its value, the hidden O2 line's value there, the step.
    Send(QEvent::MouseMove, PixelOf(3.00, 100), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Chart().HintText(), "MAF=100\nO2=100\n0.01s");
    Send(QEvent::MouseMove, PixelOf(3.00, 40), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(Chart().HintText(), "");
}

TEST_F(LogChartTest, ZoomRedrawsTheViewAndItsUndoShowsTheWholeLog) {
    Record(43001);
    EXPECT_EQ(Chart().ViewStep, 100) << "a view of 43000 samples";
    EXPECT_EQ(Chart().StepText, "1.00s");
    Drag(PixelOf(100, 250), PixelOf(143, 10), Qt::LeftButton);
    EXPECT_NEAR(Chart().ViewStart, 10000, 100);
    EXPECT_NEAR(Chart().ViewEnd, 14300, 100);
    EXPECT_EQ(Chart().ViewStep, 10);
    EXPECT_EQ(Chart().StepText, "0.10s");

    // Dragged toward the upper left.
    Drag(PixelOf(130, 50), PixelOf(110, 200), Qt::LeftButton);
    EXPECT_EQ(Chart().ViewStart, 0);
    EXPECT_EQ(Chart().ViewEnd, 43000);
    EXPECT_EQ(Chart().ViewStep, 100);
}

TEST_F(LogChartTest, TheRightButtonPansAndRefills) {
    Record(43000);
    Drag(PixelOf(100, 250), PixelOf(143, 10), Qt::LeftButton);
    const long start = Chart().ViewStart;
    const double firstKey = plot->graph(0)->data()->constBegin()->key;
    Drag(PixelOf(130, 100), PixelOf(110, 100), Qt::RightButton);
    EXPECT_NEAR(Chart().ViewStart - start, 2000, 100) << "dragged 20 s to the left";
    EXPECT_GT(plot->graph(0)->data()->constBegin()->key, firstKey + 19) << "the view was drawn again";
}

TEST_F(LogChartTest, ADoubleClickOnTheBottomEdgeWritesTheMinimumAndOnTheTopEdgeTheMaximum) {
    Record(500);
    // The edges as the axes map them: the left axis' minimum and maximum.
    const int bottom = PixelOf(0, plot->yAxis->range().lower).y();
    const int top = PixelOf(0, plot->yAxis->range().upper).y();
    for (const auto& [y, level] : {std::pair{bottom, 0}, std::pair{top, 255}}) {
        DoubleClickAt(QPoint(PixelOf(2.5, 0).x(), y));
        EXPECT_EQ(form.WorkingTable()->ActiveTableValue(100, 50), level);
    }
    // Past the last drawn point: the last point's MAF still counts.
    form.WorkingTable()->SetActiveTableValue(100, 7, 50, false);
    DoubleClickAt(QPoint(PixelOf(plot->xAxis->range().upper, 0).x(), bottom));
    EXPECT_EQ(form.WorkingTable()->ActiveTableValue(100, 50), 0);
}
