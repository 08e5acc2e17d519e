#pragma once
// The log chart: the log store against time in thirteen series with their toggle buttons, the view
// (a range of samples drawn with a step), zoom, undo zoom, panning with the right button, the hints
// and the double-click that writes a table point. The chart's rules are the core's (log_view.h);
// this draws them. Drawing is refused while a live run goes on.

#include "log_view.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <array>
#include <optional>

class Log;
class QCustomPlot;
class QMouseEvent;
class QPushButton;
class Table;

class TLogChart : public QObject {
    Q_OBJECT
public:
    TLogChart(QCustomPlot* plot, Log& log, Table& workingTable);

    void SetViewSpan(long count);
    void FillChart(long step);
    // A fill with the current step, once the chart has been filled.
    void RedrawChart();
    void SetAxisTitles(const QString& left, const QString& bottom);
    // The view of samples first..last, with the step for that span, drawn.
    void ShowView(long first, long last);

    long ViewStart = 0;
    long ViewEnd = 0;
    long ViewStep = 1;
    QString StepText = "0.01s";

    QPushButton* SeriesButton(ChartSeries series) const { return buttons[static_cast<std::size_t>(series)]; }
    QPushButton* MarkersButton() const { return markers; }
    // The hint of the last press or move, empty when hints are off.
    const QString& HintText() const { return hint; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceButtons();
    void ZoomTo(const QRect& rectangle);
    void UndoZoom();
    // The series (last in order) and point under the pointer, among the drawn points.
    std::optional<std::pair<int, int>> SeriesAt(const QPoint& pointer) const;
    void MousePress(QMouseEvent& event);
    void MouseMove(QMouseEvent& event);
    void DoubleClick();
    void ShowHint(const QString& text, const QPoint& pointer);
    void ViewFromAxis();

    QCustomPlot* plot;
    Log& log;
    Table& workingTable;
    std::array<QPushButton*, kChartSeriesCount> buttons{};
    QPushButton* markers = nullptr;
    // The time axis follows the view until the user zooms or pans.
    bool axisFollowsView = true;
    QPoint pressPosition;
    Qt::MouseButton pressButton = Qt::NoButton;
    QPoint panFrom;
    QString hint;
};
