#pragma once
// A table object of the main window: the working table (mirrors the converter) or the comparison
// table (two table files side by side). It binds the table rules to the parameter boxes and the table
// chart; the rules themselves live in TableModel.

#include "table_chart.h"
#include "table_model.h"

#include <QObject>
#include <QString>

#include <array>

class QCustomPlot;
class QLineEdit;

class Table : public QObject {
    Q_OBJECT
public:
    // In parameter order: MafTime, Treshold, EnrichmentFactor, EnleanmentFactor, SmoothMaf, SmoothTps,
    // SmoothRpm, TpsThreshold.
    using ParameterBoxes = std::array<QLineEdit*, ParameterCount>;

    explicit Table(QObject* owner);

    void SetupTableChart(QCustomPlot* chart, bool learnedCurve, const TTableChart::CurveStyle& curve0,
                         const TTableChart::CurveStyle& curve1, const ParameterBoxes& boxes);
    void SetupSecondSet(const TTableChart::CurveStyle& curve3, const TTableChart::CurveStyle& curve4,
                        const ParameterBoxes& boxes);

    // set is 1 or 2.
    void SetDefaultParameters(int set);
    void ShowParameters(int set);
    void ReadParameters(int set);

    void CopyRegion(CopyMode mode, int source, int target);
    void SetPoint(int x, int y);
    void SetActiveTableValue(int x, int value, int tps, bool markKnot);
    int ActiveTableValue(int x, int tps) const;
    void InterpolateKnots(int a);
    void SetInvert(bool on) { model.SetInvert(on); }
    void SetEndsInterpolation(bool on) { model.SetEndsInterpolation(on); }
    // The identity line in both tables of set 1 and default parameters; undoable.
    void ReplaceWithIdentity();
    void TakeSnapshot() { model.TakeSnapshot(); }
    void Undo() { model.Undo(); }
    void Redraw();

    // Failures are shown to the user; the table and any existing file stay as they were.
    void SaveTabFile(int set, const QString& fileName);
    void LoadTabFile(int set, const QString& fileName);

    const TableModel& Model() const { return model; }
    TTableChart* Chart() const { return chart; }
    const ParameterBoxes& Boxes(int set) const { return set == 2 ? boxes2 : boxes1; }

private:
    static TableSet SetOf(int set) { return set == 2 ? TableSet::Second : TableSet::First; }
    std::string ThresholdText() const;

    TableModel model;
    TTableChart* chart = nullptr;
    ParameterBoxes boxes1{};
    ParameterBoxes boxes2{};
    bool hasLearnedCurve = false;
    bool hasSecondSet = false;
};
