#pragma once
// The dashboard page: the working table's live chart, the gauges with their read-outs, and the
// correction group (pending correction, correction window, autocorrection switches). The pending
// correction is the Log's; the up-down box shows it.

#include "language.h"

#include <QWidget>

class QCheckBox;
class QColor;
class QCustomPlot;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QSlider;
class Log;
class O2TargetGrid;
class TActions;
class TGauge;
class TUpDown;
class Table;
struct AutocorrOptions;
struct TMsgAutocorrStep;
struct TMsgDashData;

class TDashboardPage : public QWidget {
    Q_OBJECT
public:
    // Binds the working table's dashboard chart to the page.
    TDashboardPage(TActions& actions, Table& workingTable, Log& log, O2TargetGrid& targetGrid);

    void UpDown1Changing();
    void CheckBoxAutocorrClick();
    void TrackBarMafNachChange(QSlider* sender);
    void MaskEditCorrectionChange();
    void ButtonAplToTableClick();
    void ButtonClrCorrWindowClick();
    void ButtonClrAllLearnedClick();

    // The pending correction, held within the up-down's range. A change is recorded in the Log,
    // shown, and previewed on the converter.
    void SetCorrection(int value);
    // What a start copies from this page.
    void CopyOptionsTo(AutocorrOptions& options) const;
    void ShowDashData(const TMsgDashData& dash);
    // The widest correction window the autocorrection accepts (the position of UpDown1).
    int MaxWindowSpan() const;
    void SetMaxWindowSpan(int span);
    void ApplyLanguage(Language language);
    // The bar colours of the throttle and engine speed gauges, which the target grid's headers share.
    QColor ThrottleBarColour() const;
    QColor SpeedBarColour() const;
    // Moves the correction window and the pending correction as the step says, and commits it when
    // told to. Stops early when the ticks were stopped meanwhile.
    void DoAutocorrStep(const TMsgAutocorrStep& step);

signals:
    // Either of the two bar colours changed.
    void BarColoursChanged();

private:
    void BuildLayout();
    void ConnectHandlers();

    Table& workingTable;
    Log& log;
    O2TargetGrid& targetGrid;

    QMenuBar* ActionMainMenuBarDashboard;
    QCustomPlot* ChartDashboard;
    TGauge* GaugeO2;
    TGauge* GaugeRpm;
    TGauge* GaugeTps;
    TGauge* GaugeMarker;
    QLabel* LabelOS;
    QLineEdit* MaskEditO2;
    QLineEdit* MaskEditRpmDash;
    QLineEdit* MaskEditTpsDash;
    QLabel* Label15;
    QGroupBox* GroupBoxCorr;
    QLineEdit* MaskEditCorrection;
    TUpDown* UpDownCorrection;
    QPushButton* ButtonAplToTable;
    QPushButton* ButtonClrCorrWindow;
    QPushButton* ButtonClrAllLearned;
    QCheckBox* CheckBoxAutocorr;
    QCheckBox* CheckBoxWotCorr;
    QLabel* LabelMafBeg;
    QLineEdit* MaskEditMafNach;
    QSlider* TrackBarMafNach;
    QLabel* LabelMafEnd;
    QLineEdit* MaskEditMafKon;
    QSlider* TrackBarMafKon;
    QLabel* Label9;
    QLabel* Label13;
    QLineEdit* MaskEditDelta;
    TUpDown* UpDown1;
};
