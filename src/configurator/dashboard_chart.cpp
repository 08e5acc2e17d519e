#include "dashboard_chart.h"

#include "chart_look.h"

#include <qcustomplot.h>

namespace {

enum Curve { Tab1, Tab2, Learned, MafBeg, MafEnd, ConvOut };

void AddCurve(QCustomPlot* plot, const QString& title, const QColor& colour, int width, bool markers) {
    QCPGraph* graph = plot->addGraph();
    graph->setName(title);
    graph->setPen(QPen(colour, width));
    if (markers)
        graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssCircle, colour, 7));
}

} // namespace

TDashboardChart::TDashboardChart(QCustomPlot* plot, const TTableChart::CurveStyle& tab1,
                                 const TTableChart::CurveStyle& tab2)
    : QObject(plot), plot(plot), zoom(new TRubberBandZoom(plot)) {
    plot->clearGraphs();
    SetGradientMiddle(plot, QColor("#EDF06C"));
    StyleTableAxes(plot);
    plot->legend->setVisible(true);
    AddCurve(plot, tab1.title, tab1.colour, 2, false);
    AddCurve(plot, tab2.title, tab2.colour, 2, false);
    AddCurve(plot, "Learned", QColor("#008000"), 2, false);
    AddCurve(plot, "MafBeg", QColor("#0000FF"), 1, false);
    AddCurve(plot, "MafEnd", QColor("#0000FF"), 1, false);
    AddCurve(plot, "ConvOut", QColor("#FF0000"), 1, true);
    connect(zoom, &TRubberBandZoom::Restored, this, &TDashboardChart::AxesRestored);
}

void TDashboardChart::Fill(const Content& c) {
    QVector<double> maf(MafCount), tab1(MafCount), tab2(MafCount), learned(MafCount);
    for (int x = 0; x < MafCount; ++x) {
        maf[x] = x;
        tab1[x] = (*c.set1)[x];
        tab2[x] = tab2Value(*c.set1, x);
        learned[x] = c.learned ? (*c.learned)[x] : 0;
    }
    plot->graph(Tab1)->setData(maf, tab1, true);
    plot->graph(Tab2)->setData(maf, tab2, true);
    if (c.learned)
        plot->graph(Learned)->setData(maf, learned, true);
    else
        plot->graph(Learned)->data()->clear();
    plot->graph(MafBeg)->setData({double(c.windowBegin), double(c.windowBegin)}, {0, MafAxisMax}, true);
    plot->graph(MafEnd)->setData({double(c.windowEnd), double(c.windowEnd)}, {0, MafAxisMax}, true);
    plot->graph(ConvOut)->setData({double(c.liveMaf)}, {double(c.liveOut)}, true);
    plot->graph(Tab1)->setVisible(!c.table2InEffect);
    plot->graph(Tab2)->setVisible(c.table2InEffect);
    // One live tick fills the chart several times (the live point, each edge of the window, the
    // correction): drawn once, with the last of them, when the tick is over.
    plot->replot(QCustomPlot::rpQueuedReplot);
}

void TDashboardChart::SetColour(const QColor& middle) {
    SetGradientMiddle(plot, middle);
}
