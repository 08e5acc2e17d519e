#include "chart_controls.h"

#include <qcustomplot.h>

#include <cmath>

namespace {

constexpr double PointHitRadius = 4.0;

} // namespace

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
