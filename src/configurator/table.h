#pragma once
// A table object of the main window: the working table (mirrors the converter) or the comparison
// table (two table files side by side). It binds the table rules to the parameter boxes and the table
// chart; the rules themselves live in TableModel.

#include "converter_protocol.h"
#include "dashboard_chart.h"
#include "table_chart.h"
#include "table_model.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <array>
#include <chrono>

class QCustomPlot;
class QLineEdit;
class QProgressBar;
class TRXTX;
class TableBackups;

// What a change of the correction group tells the converter.
enum class CorrectionSend { Nothing, Correction, Window };

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

    void SetDefaultParameters(TableSet set);
    void ShowParameters(TableSet set);
    void ReadParameters(TableSet set);
    // One box of set 1, as the user would type it.
    void SetParameterText(Parameter parameter, const QString& text);
    QString ParameterText(Parameter parameter) const;

    void CopyRegion(CopyMode mode, TableSet source, TableSet target);
    void SetPoint(int x, int y);
    void SetActiveTableValue(int x, int value, int tps, bool markKnot);
    int ActiveTableValue(int x, int tps) const;
    void InterpolateKnots(int a);
    void SetInvert(bool on) { model.SetInvert(on); }
    void SetEndsInterpolation(bool on) { model.SetEndsInterpolation(on); }
    // The identity line in both tables of set 1 and default parameters; undoable.
    void ReplaceWithIdentity();
    void TakeSnapshot() { model.TakeSnapshot(); }
    // Restores the snapshot, and the boxes show its parameters: writing and saving read the boxes.
    void Undo();
    void Redraw();

    // The dashboard (working table only): the table in effect at the live throttle, the learned
    // curve, the correction window and the live point.
    void SetupDashboard(QCustomPlot* plot);
    void RedrawDashboard();
    void ShowLiveSample(int maf, int out, int tps);
    // colour: 0x00BBGGRR, the middle of the chart's background.
    void SetDashboardColour(int colour);
    // Mirrors the correction group into the dashboard and tells the converter what send names.
    void SetCorrectionWindow(int value, int begin, int end, CorrectionSend send);
    void ApplyCorrection(int value, int begin, int end, CorrectionScope scope);
    void ClearLearned(int begin, int end);

    // Failures are shown to the user; the table and any existing file stay as they were.
    void SaveTabFile(TableSet set, const QString& fileName);
    void LoadTabFile(TableSet set, const QString& fileName);

    // Exchanges with the converter (table_exchanges.cpp), of the working table only. Each does
    // nothing without an open port; failures are reported through the link, except those of
    // SendCorrection and SendWindow, which reach the caller.
    void SetLink(TRXTX* rxtx) { link = rxtx; }
    // Where the tables read from the converter are kept before a write replaces them.
    void SetBackups(TableBackups* kept) { backups = kept; }
    // The progress window hands itself over when it is created; WriteTables shows it.
    void SetProgressWindow(QWidget* window, QProgressBar* bar);
    // Tests shorten the paced wait of WriteTables; the converter needs the full one.
    void SetWriteStepPause(std::chrono::milliseconds pause) { writeStepPause = pause; }
    int ReadVersion();
    void ReadTables();
    // True only when the image went out and read back the same: nothing else may count as written.
    bool WriteTables();
    void SendTablesLive(LiveStream stream);
    void SendCorrection(int correction);
    void SendWindow();

    const TableModel& Model() const { return model; }
    TTableChart* Chart() const { return chart; }
    const ParameterBoxes& Boxes(TableSet set) const { return set == TableSet::Second ? boxes2 : boxes1; }

private:
    std::string ThresholdText() const;
    // Before a write: the tables last read go to the backups once; a failure is shown and the
    // write goes on.
    void KeepBackup();

    TableModel model;
    TTableChart* chart = nullptr;
    ParameterBoxes boxes1{};
    ParameterBoxes boxes2{};
    bool hasLearnedCurve = false;
    TDashboardChart* dashboard = nullptr;
    int WindowBegin = 0;
    int WindowEnd = 0;
    int LiveMaf = 0;
    int LiveOut = 0;
    int LiveTps = 255;
    bool hasSecondSet = false;
    TRXTX* link = nullptr;
    TableBackups* backups = nullptr;
    QPointer<QWidget> progressWindow;
    QPointer<QProgressBar> progressBar;
    std::chrono::milliseconds writeStepPause = WriteStepPause;
};
