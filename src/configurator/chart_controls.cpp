#include "chart_controls.h"

#include <qcustomplot.h>

#include <cmath>

namespace {

constexpr double PointHitRadius = 4.0;

} // namespace

std::optional<AxisValues> ValuesAtPixel(const QCustomPlot& plot, const QPoint& pixel) {
    const QCPRange h = plot.xAxis->range();
    const QCPRange v = plot.yAxis->range();
    const double px0 = plot.xAxis->coordToPixel(h.lower);
    const double px1 = plot.xAxis->coordToPixel(h.upper);
    const double py0 = plot.yAxis->coordToPixel(v.lower);
    const double py1 = plot.yAxis->coordToPixel(v.upper);
    const double x = pixel.x();
    const double y = pixel.y();
    if (x < px0 || x > px1 || y > py0 || y < py1)
        return std::nullopt;
    return AxisValues{(h.upper - h.lower) / (px1 - px0) * (x - px0) + h.lower,
                      (v.upper - v.lower) / (py0 - py1) * (py0 - y) + v.lower};
}

std::optional<PointUnderPointer> PointUnder(const QCustomPlot& plot, const QPoint& pointer) {
    std::optional<PointUnderPointer> found;
    for (int g = 0; g < plot.graphCount(); ++g) {
        const QCPGraph* graph = plot.graph(g);
        if (!graph->visible())
            continue;
        double nearest = PointHitRadius;
        int index = 0;
        for (auto point = graph->data()->constBegin(); point != graph->data()->constEnd(); ++point, ++index) {
            const double distance = std::hypot(plot.xAxis->coordToPixel(point->key) - pointer.x(),
                                               plot.yAxis->coordToPixel(point->value) - pointer.y());
            if (distance <= nearest) {
                nearest = distance;
                found = PointUnderPointer{g, index, point->key, point->value};
            }
        }
    }
    return found;
}
