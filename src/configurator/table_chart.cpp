#include "table_chart.h"

#include "chart_controls.h"
#include "chart_look.h"
#include "numbers.h"

#include <QButtonGroup>
#include <QEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolTip>
#include <qcustomplot.h>

#include <algorithm>
#include <cmath>

namespace {} // namespace

TTableChart::TTableChart(QCustomPlot* plot, bool learnedCurve, const CurveStyle& curve0,
                         const CurveStyle& curve1)
    : QObject(plot), plot(plot), selectors(new QButtonGroup(this)) {
    SetGradientMiddle(plot, QColor("#669DB5"));
    plot->legend->setVisible(false);
    StyleTableAxes(plot);
    zoom = new TRubberBandZoom(plot);
    connect(zoom, &TRubberBandZoom::Restored, this, &TTableChart::AxesRestored);
    plot->setMouseTracking(true);
    plot->installEventFilter(this);

    selectors->setExclusive(true);
    AddCurve(curve0);
    AddCurve(curve1);
    AddCurve({"Trained", QColor("#008000")});
    for (int i = 0; i < 3; ++i)
        AddSelector(plot->graph(i)->name(), 8 + ChartButtonPitch * i);
    if (!learnedCurve) {
        plot->graph(int(TableCurve::Learned))->setVisible(false);
        Selector(TableCurve::Learned)->hide();
    }
    toggle = new QPushButton("Interpolate", plot);
    toggle->setObjectName("Interpolate");
    toggle->setCheckable(true);
    toggle->setFixedSize(ChartButtonWidth, ChartButtonHeight);
    column.emplace_back(toggle, learnedCurve ? 8 + ChartButtonPitch * 3 : ChartButtonPitch * 3 - 25);
    connect(toggle, &QPushButton::clicked, this, &TTableChart::ToggleClicked);
    Selector(TableCurve::Set1Tab1)->setChecked(true);
    PlaceButtons();
}

void TTableChart::AddSecondSet(const CurveStyle& curve3, const CurveStyle& curve4) {
    SetGradientMiddle(plot, QColor("#EDF06C"));
    AddCurve(curve3);
    AddCurve(curve4);
    AddSelector(curve3.title, ChartButtonPitch * 4 - 25);
    AddSelector(curve4.title, ChartButtonPitch * 5 - 25);
    Selector(TableCurve::Set1Tab1)->setChecked(true);
    PlaceButtons();
}

void TTableChart::AddCurve(const CurveStyle& style) {
    QCPGraph* graph = plot->addGraph();
    graph->setName(style.title);
    graph->setPen(QPen(style.colour, 1));
    graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, style.colour, 5));
}

QPushButton* TTableChart::AddSelector(const QString& caption, int top) {
    auto* button = new QPushButton(caption, plot);
    button->setObjectName("Selector" + QString::number(selectors->buttons().size()));
    button->setCheckable(true);
    button->setFixedSize(ChartButtonWidth, ChartButtonHeight);
    selectors->addButton(button, selectors->buttons().size());
    column.emplace_back(button, top);
    return button;
}

void TTableChart::PlaceButtons() {
    for (auto [button, top] : column)
        button->move(plot->width() - ChartButtonInsetFromRight, top);
}

TTableChart::CurveStyle TTableChart::Style(TableCurve curve) const {
    const QCPGraph* graph = plot->graph(int(curve));
    return {graph->name(), graph->pen().color()};
}

void TTableChart::SetCurve(TableCurve curve, const QVector<double>& maf, const QVector<double>& output) {
    plot->graph(int(curve))->setData(maf, output, true);
}

std::optional<TableCurve> TTableChart::SelectedCurve() const {
    const int checked = selectors->checkedId();
    if (checked < 0)
        return std::nullopt;
    return TableCurve(checked);
}

bool TTableChart::InterpolationOn() const {
    return toggle->isChecked();
}

QPushButton* TTableChart::Selector(TableCurve curve) const {
    return static_cast<QPushButton*>(selectors->button(int(curve)));
}

void TTableChart::RestoreAxes() {
    zoom->Restore();
}

bool TTableChart::eventFilter(QObject* watched, QEvent* event) {
    if (watched != plot)
        return false;
    switch (event->type()) {
    case QEvent::Resize:
        PlaceButtons();
        break;
    case QEvent::MouseButtonPress: {
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        pressPosition = position;
        UpdateHint(position, false);
        break;
    }
    case QEvent::MouseMove:
        UpdateHint(static_cast<QMouseEvent*>(event)->position().toPoint(), true);
        break;
    case QEvent::MouseButtonDblClick:
        // Only the left button edits; a double-click of another button does nothing.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            DoubleClick();
        return true;
    default:
        break;
    }
    return false;
}

void TTableChart::UpdateHint(const QPoint& pointer, bool showNow) {
    hintText.clear();
    // The last curve with a point under the pointer gives the hint; on a curve, the nearest point.
    if (const std::optional<PointUnderPointer> under = PointUnder(*plot, pointer))
        hintText = QString("MAF=%1  OUT=%2").arg(int(under->key)).arg(int(under->value));
    plot->setToolTip(hintText);
    if (showNow) {
        if (hintText.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(plot->mapToGlobal(pointer), hintText, plot);
    }
}

void TTableChart::DoubleClick() {
    const std::optional<AxisValues> at = ValuesAtPixel(*plot, pressPosition);
    if (!at)
        return;
    const int yv = roundHalfEven(at->y);
    // A second double-click without a new press falls outside the plot.
    pressPosition.setX(0);
    const int maf = std::clamp(roundHalfUp(std::clamp<long double>(at->x, 0, 255)), 0, 255);
    emit PointChosen(maf, std::clamp(yv, 0, 255));
}
