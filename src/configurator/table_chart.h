#pragma once
// The chart a table is edited on: its curves, the column of selector buttons that picks the curve the
// mouse edits, the "Interpolate" toggle, the point hint, double-click editing and rubber-band zoom.
// It only maps the mouse to table coordinates; the table decides what an edit does.

#include "table_model.h"

#include <QColor>
#include <QObject>
#include <QPoint>
#include <QString>
#include <QVector>

#include <optional>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCustomPlot;
class QMouseEvent;
class QPushButton;
class TRubberBandZoom;

class TTableChart : public QObject {
    Q_OBJECT
public:
    struct CurveStyle {
        QString title;
        QColor colour;
    };

    // Builds the curves of set 1 and the learned curve with their selectors, then the toggle. Without
    // the learned curve, that curve is switched off, its selector hidden, and the toggle takes its place.
    TTableChart(QCustomPlot* plot, bool learnedCurve, const CurveStyle& curve0, const CurveStyle& curve1);

    // Adds the curves of set 2 with their selectors below the toggle; the gradient's middle turns yellow.
    void AddSecondSet(const CurveStyle& curve3, const CurveStyle& curve4);

    CurveStyle Style(TableCurve curve) const;
    void SetCurve(TableCurve curve, const QVector<double>& maf, const QVector<double>& output);

    // The curve whose selector is down.
    std::optional<TableCurve> SelectedCurve() const;
    bool InterpolationOn() const;
    QPushButton* Selector(TableCurve curve) const;
    QPushButton* InterpolateToggle() const { return toggle; }

    // "MAF=…  OUT=…" of the point under the pointer, empty over no point.
    QString HintText() const { return hintText; }

    void RestoreAxes();

    QCustomPlot* Plot() const { return plot; }

signals:
    // A left-button double-click inside the plot chose this point of the selected curve.
    void PointChosen(int maf, int output);
    // The toggle was clicked, whichever way it went.
    void ToggleClicked();
    // The full view is back; the curves want refilling.
    void AxesRestored();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddCurve(const CurveStyle& style);
    QPushButton* AddSelector(const QString& caption, int top);
    void PlaceButtons();
    void UpdateHint(const QPoint& pointer, bool showNow);
    void DoubleClick();

    QCustomPlot* plot;
    TRubberBandZoom* zoom;
    QButtonGroup* selectors;
    QPushButton* toggle = nullptr;
    // Each button with its distance from the chart's top; they hang from the chart's top right corner.
    std::vector<std::pair<QAbstractButton*, int>> column;
    QPoint pressPosition;
    QString hintText;
};
