#pragma once
// The dashboard's view of the working table: the table in effect, the learned curve, the correction
// window's two edges and the live operating point, on a gradient whose middle shows the
// autocorrection's state.

#include "table_chart.h"
#include "table_image.h"

#include <QObject>

class QCustomPlot;
class TRubberBandZoom;

class TDashboardChart : public QObject {
    Q_OBJECT
public:
    struct Content {
        const TableImage* set1;
        const MafValues* learned; // null: no learned curve
        int windowBegin;
        int windowEnd;
        int liveMaf;
        int liveOut;
        bool table2InEffect;
    };

    TDashboardChart(QCustomPlot* plot, const TTableChart::CurveStyle& tab1,
                    const TTableChart::CurveStyle& tab2);

    void Fill(const Content& content);
    void SetColour(const QColor& middle);

signals:
    void AxesRestored();

private:
    QCustomPlot* plot;
    TRubberBandZoom* zoom;
};
