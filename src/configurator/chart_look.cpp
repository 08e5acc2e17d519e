#include "chart_look.h"

#include "chart_controls.h"

#include <qcustomplot.h>

#include <cstdlib>

namespace {

void StyleAxis(QCPAxis* axis, const QString& title, double maximum) {
    QFont titleFont = axis->labelFont();
    titleFont.setPointSize(12);
    axis->setLabel(title);
    axis->setLabelFont(titleFont);
    axis->setLabelColor(Qt::black);
    axis->setTickLabelColor(Qt::black);
    axis->setBasePen(QPen(Qt::black));
    axis->setTickPen(QPen(Qt::black));
    axis->setSubTickPen(QPen(Qt::black));
    axis->setRange(0, maximum);
    axis->grid()->setPen(QPen(Qt::gray, 0, Qt::DotLine));
}

} // namespace

void SetGradientMiddle(QCustomPlot* plot, const QColor& middle) {
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectMode);
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(0.5, middle);
    gradient.setColorAt(1, Qt::white);
    plot->setBackground(QBrush(gradient));
    plot->axisRect()->setBackground(Qt::NoBrush);
    // Queued: a live tick changes the colour together with the rest of the dashboard, drawn once.
    plot->replot(QCustomPlot::rpQueuedReplot);
}

void StyleTableAxes(QCustomPlot* plot) {
    StyleAxis(plot->yAxis, "Выход конвертера", OutputAxisMax);
    StyleAxis(plot->xAxis, "MAF", MafAxisMax);
    plot->yAxis->setTickLengthIn(10);
    plot->yAxis->setTickLengthOut(10);
    plot->yAxis->setSubTickLength(5, 0);
    plot->xAxis->setTickLengthIn(10);
    plot->xAxis->setSubTickLength(3, 0);
}

TRubberBandZoom::TRubberBandZoom(QCustomPlot* plot) : QObject(plot), plot(plot) {
    plot->setSelectionRectMode(QCP::srmCustom);
    connect(plot->selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect& rectangle, QMouseEvent*) { RectangleDragged(rectangle); });
}

void TRubberBandZoom::Restore() {
    plot->yAxis->setRange(0, OutputAxisMax);
    plot->xAxis->setRange(0, MafAxisMax);
    emit Restored();
}

void TRubberBandZoom::RectangleDragged(const QRect& rectangle) {
    if (std::abs(rectangle.width()) < MinimumZoomDrag || std::abs(rectangle.height()) < MinimumZoomDrag)
        return;
    // Dragged toward the upper left: back to the full view.
    if (rectangle.width() < 0 && rectangle.height() < 0) {
        Restore();
        return;
    }
    plot->axisRect()->zoom(QRectF(rectangle.normalized()));
    plot->replot();
}
