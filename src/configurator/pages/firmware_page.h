#pragma once
// The firmware update page: the instructions link, the warning, the upload's progress bar, and the
// factory test group that shows the converter's raw inputs and output during a live run.

#include "language.h"

#include <QWidget>

class QGroupBox;
class QLabel;
class QMenuBar;
class QProgressBar;
class QSpacerItem;
class QVBoxLayout;
class QPushButton;
class TActions;
class TGauge;
struct TMsgDashData;

class TFirmwarePage : public QWidget {
    Q_OBJECT
public:
    explicit TFirmwarePage(TActions& actions);

    void LabelFirmwareManualClick();
    void ShowDashData(const TMsgDashData& dash);
    // Shown at once: the window takes no events while an upload runs.
    void ShowUploadProgress(int percent);
    // The warning moves too: its left edge to 56 pixels for the Russian text, 180 for the shorter
    // English one.
    void ApplyLanguage(Language language);

signals:
    // The factory test's Start and Stop buttons; they stay usable during a run, unlike the actions.
    void StartPressed();
    void StopPressed();

protected:
    // A click on the instructions label, which Qt has no signal for.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMenuBar* ActionMainMenuBarFirmwareUpgrade;
    QLabel* LabelFirmwareManual;
    QLabel* LabelAttention;
    QLabel* LabelFollowFUpgrade;
    QSpacerItem* followIndent;
    QVBoxLayout* panelLayout;
    QProgressBar* ProgressBar1;
    QGroupBox* GroupBox5;
    TGauge* GaugeMaf_1;
    TGauge* GaugeTps_1;
    TGauge* GaugeConv;
    TGauge* GaugeO2_1;
    QLabel* Label26;
    QLabel* Label27;
    QLabel* Label28;
    QLabel* Label29;
    QPushButton* Button2;
    QPushButton* Button6;
};
