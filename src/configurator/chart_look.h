#pragma once
// What the table chart and the dashboard chart share: their look (gradient, axes 0..300 MAF and
// 0..260 output) and rubber-band zoom, where a rectangle dragged toward the upper left restores the
// full view.

#include <QColor>
#include <QObject>

class QCustomPlot;
class QRect;

constexpr double MafAxisMax = 300;
constexpr double OutputAxisMax = 260;

// White at the top and bottom, the given colour in the middle.
void SetGradientMiddle(QCustomPlot* plot, const QColor& middle);

// Axis titles, ranges, ticks and dotted grid of a table chart.
void StyleTableAxes(QCustomPlot* plot);

class TRubberBandZoom : public QObject {
    Q_OBJECT
public:
    explicit TRubberBandZoom(QCustomPlot* plot);

    // Both axes back to their full ranges.
    void Restore();

signals:
    void Restored();

private:
    void RectangleDragged(const QRect& rectangle);

    QCustomPlot* plot;
};
