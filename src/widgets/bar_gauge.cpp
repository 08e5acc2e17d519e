#include "bar_gauge.h"

#include <QPainter>

#include <algorithm>

TGauge::TGauge(Kind kind, QWidget* parent) : QWidget(parent), kind(kind) {
    setSizePolicy(kind == Kind::VerticalBar ? QSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding)
                                            : QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed));
}

void TGauge::SetRange(int newMin, int newMax) {
    minValue = newMin;
    maxValue = std::max(newMin, newMax);
    SetProgress(progress);
}

void TGauge::SetProgress(int value) {
    const int held = std::clamp(value, minValue, maxValue);
    if (held == progress)
        return;
    progress = held;
    update();
}

void TGauge::SetForeColor(const QColor& colour) {
    if (colour == foreColor)
        return;
    foreColor = colour;
    update();
    emit ForeColorChanged(colour);
}

void TGauge::SetShowText(bool show) {
    showText = show;
    update();
}

int TGauge::PercentDone() const {
    const int span = maxValue - minValue;
    return span == 0 ? 0 : static_cast<int>((static_cast<long long>(progress - minValue) * 100) / span);
}

QSize TGauge::sizeHint() const {
    return kind == Kind::VerticalBar ? QSize(40, 160) : QSize(200, 18);
}

void TGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, Qt::black);
    const int span = maxValue - minValue;
    const double fraction = span == 0 ? 0.0 : double(progress - minValue) / span;
    QRect bar = area;
    if (kind == Kind::VerticalBar) {
        const int filled = static_cast<int>(area.height() * fraction + 0.5);
        bar.setTop(area.bottom() + 1 - filled);
    } else {
        bar.setWidth(static_cast<int>(area.width() * fraction + 0.5));
    }
    painter.fillRect(bar, foreColor);
    if (showText) {
        painter.setPen(Qt::white);
        painter.drawText(area, Qt::AlignCenter, QString::number(PercentDone()) + "%");
    }
}
