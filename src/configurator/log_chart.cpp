#include "log_chart.h"

#include "chart_controls.h"
#include "colour.h"
#include "log.h"
#include "numbers.h"
#include "table.h"

#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr int ButtonTop = 8;
constexpr double LevelMax = 255;

struct SeriesLook {
    const char* title;
    const char* legend;
    int colour; // 0x00BBGGRR
};

constexpr SeriesLook Looks[kChartSeriesCount] = {
    {"MAF", "MAF", 0xA36644},         {"TPS", "TPS", 0xFF0080},       {"Converter", "Converter", 0x0080FF},
    {"Tab", "Tab", 0x0000B0},         {"Marker", "Marker", 0x0000FF}, {"Enrichment", "Enrichment", 0x00FFFF},
    {"RPM/100", "RPM", 0xFFD3A8},     {"O2", "O2", 0x0CD101},         {"Corr", "Corr", 0xC0DCBA},
    {"IAT", "IAT", 0xE49FEC},         {"ECT", "ECT", 0x8184ED},       {"O2SM", "O2SM", 0x9CE886},
    {"LogCorr", "LogCorr", 0xA8A5C9},
};

double SecondsOf(long index) {
    return static_cast<double>(index * kSampleMs) / 1000.0;
}

// Labels from the sample index alone: neither a time zone nor a calendar can shift them.
class SampleTimeTicker : public QCPAxisTicker {
protected:
    QString getTickLabel(double tick, const QLocale&, QChar, int) override {
        return QString::fromStdString(SampleTimeText(IndexAtSeconds(tick)));
    }
};

void StyleLogAxis(QCPAxis* axis, const QString& title) {
    const QColor labels = ColourFromBgr(0xC0C0C0);
    axis->setLabel(title);
    QFont font = axis->labelFont();
    font.setPointSize(12);
    axis->setLabelFont(font);
    axis->setLabelColor(labels);
    axis->setTickLabelColor(labels);
    axis->setBasePen(QPen(ColourFromBgr(0x808080)));
    axis->setTickPen(QPen(ColourFromBgr(0x808080)));
    axis->setSubTickPen(QPen(ColourFromBgr(0x808080)));
    axis->grid()->setPen(QPen(ColourFromBgr(0x808080), 0, Qt::DotLine));
}

} // namespace

TLogChart::TLogChart(QCustomPlot* plot, Log& log, Table& workingTable)
    : QObject(plot), plot(plot), log(log), workingTable(workingTable) {
    plot->clearGraphs();
    plot->setBackground(Qt::black);
    plot->axisRect()->setBackground(Qt::black);
    plot->legend->setVisible(false);
    StyleLogAxis(plot->yAxis, "Уровень сигнала");
    plot->yAxis->setRange(0, LevelMax);
    plot->yAxis->setTickLength(10, 10);
    plot->yAxis->setSubTickLength(5, 0);
    StyleLogAxis(plot->xAxis, "Время");
    plot->xAxis->setTicker(QSharedPointer<QCPAxisTicker>(new SampleTimeTicker));
    plot->xAxis->setTickLength(10, 0);
    plot->xAxis->setSubTickLength(3, 0);
    plot->xAxis->setRange(0, 1);
    // Each segment as a line of its own: Qt strokes a wide antialiased polyline as one path, which for
    // the jagged view of a long log (every point a step of minutes apart) took half a second a fill.
    // The points, pens and colours are the same; only the joins' antialiasing differs.
    plot->setPlottingHint(QCP::phFastPolylines, true);

    for (int j = 0; j < kChartSeriesCount; ++j) {
        QCPGraph* graph = plot->addGraph();
        graph->setName(Looks[j].legend);
        graph->setPen(QPen(ColourFromBgr(Looks[j].colour), 2));
        auto* button = new QPushButton(Looks[j].title, plot);
        button->setObjectName(QString("LogSeries") + Looks[j].legend);
        button->setCheckable(true);
        button->setChecked(true);
        button->setFixedSize(ChartButtonWidth, ChartButtonHeight);
        connect(button, &QPushButton::toggled, this, [this, j](bool on) {
            this->plot->graph(j)->setVisible(on);
            this->plot->replot();
        });
        buttons[static_cast<std::size_t>(j)] = button;
    }
    markers = new QPushButton("*****", plot);
    markers->setObjectName("LogSeriesMarkers");
    markers->setCheckable(true);
    markers->setFixedSize(ChartButtonWidth, ChartButtonHeight);
    connect(markers, &QPushButton::toggled, this, [this](bool on) {
        for (int j = 0; j < this->plot->graphCount(); ++j)
            this->plot->graph(j)->setScatterStyle(
                QCPScatterStyle(on ? QCPScatterStyle::ssCircle : QCPScatterStyle::ssNone, 5));
        this->plot->replot();
    });
    PlaceButtons();

    plot->setSelectionRectMode(QCP::srmCustom);
    connect(plot->selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect& rectangle, QMouseEvent*) { ZoomTo(rectangle); });
    plot->setMouseTracking(true);
    plot->installEventFilter(this);
}

void TLogChart::PlaceButtons() {
    const int left = plot->width() - ChartButtonInsetFromRight;
    for (int j = 0; j < kChartSeriesCount; ++j)
        buttons[static_cast<std::size_t>(j)]->move(left, j * ChartButtonPitch + ButtonTop);
    markers->move(left, kChartSeriesCount * ChartButtonPitch + ButtonTop);
}

void TLogChart::SetViewSpan(long count) {
    const ViewSpan view = ViewSpanFor(count);
    ViewStep = view.step;
    StepText = QString::fromStdString(view.text);
}

void TLogChart::FillChart(long step) {
    if (log.Running)
        return;
    std::array<QVector<double>, kChartSeriesCount> values;
    QVector<double> times;
    {
        LogStore::View view = log.Store().Lock();
        const std::vector<std::size_t> indexes = DrawnIndexes(ViewStart, ViewEnd, step, view.Size());
        if (indexes.empty())
            return;
        times.reserve(qsizetype(indexes.size()));
        for (auto& series : values)
            series.reserve(qsizetype(indexes.size()));
        const auto tab = [this](int maf, int tps) { return workingTable.ActiveTableValue(maf, tps); };
        for (const std::size_t index : indexes) {
            times.push_back(SecondsOf(static_cast<long>(index)));
            for (int j = 0; j < kChartSeriesCount; ++j)
                values[static_cast<std::size_t>(j)].push_back(DrawnValue(ChartSeries(j), view[index], tab));
        }
    }
    for (int j = 0; j < kChartSeriesCount; ++j)
        plot->graph(j)->setData(times, values[static_cast<std::size_t>(j)], true);
    if (axisFollowsView)
        plot->xAxis->setRange(0, std::max(times.back(), SecondsOf(1)));
    log.SetDataReceived(true);
    plot->replot();
}

void TLogChart::RedrawChart() {
    if (log.DataReceived())
        FillChart(ViewStep);
}

void TLogChart::SetAxisTitles(const QString& left, const QString& bottom) {
    plot->yAxis->setLabel(left);
    plot->xAxis->setLabel(bottom);
    plot->replot();
}

void TLogChart::ShowView(long first, long last) {
    ViewStart = first;
    ViewEnd = last;
    axisFollowsView = true;
    SetViewSpan(last - first);
    FillChart(ViewStep);
}

void TLogChart::ViewFromAxis() {
    ViewStart = IndexAtSeconds(plot->xAxis->range().lower);
    ViewEnd = IndexAtSeconds(plot->xAxis->range().upper);
}

void TLogChart::ZoomTo(const QRect& rectangle) {
    if (std::abs(rectangle.width()) < MinimumZoomDrag || std::abs(rectangle.height()) < MinimumZoomDrag)
        return;
    // Dragged toward the upper left: the whole log again.
    if (rectangle.width() < 0 && rectangle.height() < 0) {
        UndoZoom();
        return;
    }
    plot->axisRect()->zoom(QRectF(rectangle.normalized()));
    axisFollowsView = false;
    ViewFromAxis();
    SetViewSpan(ViewEnd - ViewStart);
    FillChart(ViewStep);
}

void TLogChart::UndoZoom() {
    plot->yAxis->setRange(0, LevelMax);
    ShowView(0, static_cast<long>(log.Store().Size()) - 1);
}

bool TLogChart::eventFilter(QObject* watched, QEvent* event) {
    if (watched != plot)
        return false;
    switch (event->type()) {
    case QEvent::Resize:
        PlaceButtons();
        break;
    case QEvent::MouseButtonPress:
        MousePress(static_cast<QMouseEvent&>(*event));
        break;
    case QEvent::MouseMove:
        MouseMove(static_cast<QMouseEvent&>(*event));
        break;
    case QEvent::MouseButtonDblClick:
        if (log.DataReceived())
            DoubleClick();
        return true;
    default:
        break;
    }
    return false;
}

std::optional<std::pair<int, int>> TLogChart::SeriesAt(const QPoint& pointer) const {
    if (const std::optional<PointUnderPointer> under = PointUnder(*plot, pointer))
        return std::pair{under->graph, under->point};
    return std::nullopt;
}

void TLogChart::ShowHint(const QString& text, const QPoint& pointer) {
    hint = text;
    plot->setToolTip(hint);
    if (hint.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(plot->mapToGlobal(pointer), hint, plot);
}

void TLogChart::MousePress(QMouseEvent& event) {
    if (!log.DataReceived())
        return;
    pressPosition = event.position().toPoint();
    pressButton = event.button();
    panFrom = pressPosition;
    const auto found = SeriesAt(pressPosition);
    if (!found || found->second == 0) {
        ShowHint({}, pressPosition);
        return;
    }
    const double value = (plot->graph(found->first)->data()->constBegin() + found->second)->value;
    ShowHint(QString::number(static_cast<long>(value)) + "  " + StepText, pressPosition);
}

void TLogChart::MouseMove(QMouseEvent& event) {
    if (!log.DataReceived())
        return;
    const QPoint pointer = event.position().toPoint();
    if (const auto found = SeriesAt(pointer)) {
        const auto valueAt = [this, point = found->second](int series) {
            return static_cast<long>((plot->graph(series)->data()->constBegin() + point)->value);
        };
        const int o2 = static_cast<int>(ChartSeries::O2);
        // The O2 line is in every hint, shown or hidden.
        ShowHint(QString("%1=%2\n%3=%4\n%5")
                     .arg(Looks[found->first].title)
                     .arg(valueAt(found->first))
                     .arg(Looks[o2].title)
                     .arg(valueAt(o2))
                     .arg(StepText),
                 pointer);
    } else {
        ShowHint({}, pointer);
    }
    if (pressButton == Qt::RightButton && (event.buttons() & Qt::RightButton)) {
        // The right button pans the time axis.
        QCPAxis* time = plot->xAxis;
        const double shift = time->pixelToCoord(panFrom.x()) - time->pixelToCoord(pointer.x());
        time->setRange(time->range().lower + shift, time->range().upper + shift);
        panFrom = pointer;
        axisFollowsView = false;
        ViewFromAxis();
        FillChart(ViewStep);
    }
}

void TLogChart::DoubleClick() {
    const std::optional<AxisValues> at = ValuesAtPixel(*plot, pressPosition);
    if (!at)
        return;
    const int level = roundHalfEven(at->y);
    const double time = std::max(at->x, 0.0);
    // A second double-click without a new press falls outside the plot.
    pressPosition.setX(0);

    const QCPGraph* mafGraph = plot->graph(static_cast<int>(ChartSeries::Maf));
    std::vector<double> times;
    times.reserve(std::size_t(mafGraph->data()->size()));
    for (auto p = mafGraph->data()->constBegin(); p != mafGraph->data()->constEnd(); ++p)
        times.push_back(p->key);
    const std::optional<std::size_t> point = NearestDrawnPoint(times, time);
    if (!point)
        return;
    const auto valueAt = [this, point](ChartSeries series) {
        return static_cast<int>(
            (plot->graph(static_cast<int>(series))->data()->constBegin() + int(*point))->value);
    };
    const int maf = std::clamp(valueAt(ChartSeries::Maf), 0, 255);
    const int tps = valueAt(ChartSeries::Tps);
    workingTable.SetActiveTableValue(maf, std::clamp(level, 0, 255), tps, true);
    FillChart(ViewStep);
}
