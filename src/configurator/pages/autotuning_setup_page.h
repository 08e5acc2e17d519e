#pragma once
// The autotuning options page: the O2 sensor and its reference value, the O2 target grid, the
// autocorrection intervals, forced idle, ends interpolation, the air-flow meter's direction and the
// throttle calibration.

#include "language.h"

#include <QWidget>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPainter;
class QPushButton;
class QRadioButton;
class QRect;
class QTableWidget;
class Log;
class O2TargetGrid;
class TActions;
class TRXTX;
class Table;
struct AutocorrOptions;
struct SettingsRead;
struct SettingsValues;

class TAutotuningSetupPage : public QWidget {
    Q_OBJECT
public:
    struct Objects {
        TActions& actions;
        TRXTX& link;
        Log& log;
        O2TargetGrid& targetGrid;
        Table& workingTable;
        Table& comparisonTable;
    };
    // Binds the target grid to the page's grid widget.
    explicit TAutotuningSetupPage(const Objects& objects);

    void ComboBoxO2Change();
    void MaskEditO2REFMouseEnter();
    // A key handler drops the key by setting it to 0.
    void MaskEditO2REFKeyPress(char32_t& key);
    QString StringGridO2TableGetEditMask(int column, int row);
    void StringGridO2TableDrawCell(QPainter& canvas, int column, int row, const QRect& rect);
    void StringGridO2TableSelectCell(int column, int row);
    void ButtonFillLoadTableWithO2RefValueClick();
    void RadioButtonVRiseClick();
    void RadioButtonIntEndsOnClick();
    void ButtonCalibrateClick();

    // The item index of the sensor selector (-1 for none).
    int SensorType() const;
    // Selects a sensor type without its change handler: the reference value stays as it was.
    void SelectSensorTypeQuietly(int index);
    // The sensor cannot change while a run reads it.
    void SetSensorTypeEnabled(bool enabled);
    // What a start copies from this page, in the order the fields are read. A field that is not a
    // whole number throws "'…' is not a valid integer value"; the fields before it stay copied.
    void CopyOptionsTo(AutocorrOptions& options) const;
    void ApplyLanguage(Language language);

    // The page's share of the settings file.
    void SaveTo(SettingsValues& values) const;
    // Loading goes in steps, since the language switch and other pages' fields come between them.
    // Each step takes only the fields the file held.
    // The sensor type, then its default reference value (ComboBoxO2Change).
    void LoadSensorType(const SettingsRead& read);
    // The three display choices; a choice not set checks its partner, and the VAF direction takes
    // effect at once.
    void LoadDisplayChoices(const SettingsRead& read);
    void LoadO2Reference(const SettingsRead& read);
    void LoadIntervals(const SettingsRead& read);
    // The labels show the target grid's calibration.
    void ShowCalibration();

private:
    void BuildLayout();
    QWidget* BuildPanel();
    void ConnectHandlers();

    Objects objects;

    QMenuBar* ActionMainMenuBarOptionsSetup;
    QGroupBox* GroupBoxRefO2;
    QLabel* Label17;
    QLineEdit* MaskEditO2REF;
    QPushButton* ButtonFillLoadTableWithO2RefValue;
    QTableWidget* StringGridO2Table;
    QLabel* Label18;
    QLabel* Label19;
    QGroupBox* GroupBox3;
    QLabel* Label8;
    QLineEdit* MaskEditFast;
    QLabel* Label10;
    QLineEdit* MaskEditFine;
    QLabel* Label11;
    QGroupBox* GroupBox2;
    QLabel* Label2;
    QLineEdit* MaskEditForcedIdleRpm;
    QLabel* Label3;
    QLineEdit* MaskEditForcedIdleTps;
    QGroupBox* GroupBox1;
    QRadioButton* RadioButtonIntEndsOn;
    QRadioButton* RadioButtonIntEndsOff;
    QGroupBox* GroupBoxO2;
    QLabel* LabelO2Type;
    QComboBox* ComboBoxO2;
    QRadioButton* RadioButtonO2ShowVAFR;
    QRadioButton* RadioButtonO2ShowN;
    QGroupBox* GroupBoxMaf;
    QRadioButton* RadioButtonVRise;
    QRadioButton* RadioButtonVFall;
    QGroupBox* GroupBox4;
    QPushButton* ButtonCalibrate;
    QLabel* LabelTpsMin;
    QLabel* LabelTpsMax;
    QRadioButton* RadioButtonTPSN;
    QRadioButton* RadioButtonTPSPercent;
};
