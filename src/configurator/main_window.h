#pragma once
// The configurator's main window: every page and control, the actions and their menu bars, and the
// window's own life (creation of the long-lived objects in a fixed order, closing). The pages are
// built in main_window_*.cpp, one file per page.

#include "o2_target_grid.h"
#include "zarni_broadcaster.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QCheckBox;
class QComboBox;
class QCustomPlot;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;
class QTableWidget;
class QKeyEvent;
class QPainter;
class QRect;
class TFileAction;
class TGauge;
class TKeyPreview;
class TUpDown;
class Table;
class Log;
class TSoundPlayer;
class TRXTX;

class TForm1 : public QMainWindow, public TListener {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    void FormCreate();
    void FormClose();
    void LabelFirmwareManualClick();
    void ActionNullTableExecute() {}

    // Keys reach these before the focused control; true means the key was consumed.
    bool FormKeyDown(QKeyEvent& key);
    bool FormKeyUp(QKeyEvent& key);

    void Dispatch(TMessage& message) override;

    // Table files, copies and the 1:1 table (the table pages).
    void TabFileOpenOpenDialogCanClose(const QString& fileName, bool& canClose);
    void TabFileSaveSaveDialogCanClose(const QString& fileName, bool& canClose);
    void TabFileSaveBeforeExecute();
    void FileOpenCompareOpenDialogCanClose(const QString& fileName, bool& canClose);
    void FileOpenCompare2OpenDialogCanClose(const QString& fileName, bool& canClose);
    void FileSaveAsCompareSaveDialogCanClose(const QString& fileName, bool& canClose);
    void FileSaveAsCompare2SaveDialogCanClose(const QString& fileName, bool& canClose);
    void ActionTableOneToOneExecute();
    void ActionCopyOneToTwoExecute();
    void ActionCopyTwoToOneExecute();
    void TabSheetTableGraphShow();
    void RadioButtonVRiseClick();
    void RadioButtonIntEndsOnClick();

    Table* WorkingTable() const { return workingTable; }
    Table* ComparisonTable() const { return comparisonTable; }

    TZarniBroadcaster* Broadcaster() const { return bus.get(); }
    TRXTX* Link() const { return link; }

    // The converter link: port selection and the read and write actions (main_window_link.cpp).
    void ComComboBox1Change();
    void ActionReadCoverterExecute();
    void ActionWriteConverterExecute();

    // A live run (main_window_live.cpp).
    void ActionStartExecute();
    void ActionStopExecute();
    void UpDown1Changing();
    void CheckBoxAutocorrClick();
    void ButtonCalibrateClick();
    void TrackBarMafNachChange(QSlider* sender);
    void MaskEditCorrectionChange();
    void ButtonAplToTableClick();
    void ButtonClrCorrWindowClick();
    void ButtonClrAllLearnedClick();
    Log* LiveData() const { return log; }
    // Tests listen to the cues through their own output.
    void SetSoundPlayer(std::unique_ptr<TSoundPlayer> player);

    const QString& FirmwareLabelPrefix() const { return firmwareLabelPrefix; }
    const QString& SoundDir() const { return soundDir; }

    // The O2 sensor and its target grid (main_window_o2.cpp).
    void ComboBoxO2Change();
    void MaskEditO2REFMouseEnter();
    QString StringGridO2TableGetEditMask(int column, int row);
    void StringGridO2TableDrawCell(QPainter& canvas, int column, int row, const QRect& rect);
    void StringGridO2TableSelectCell(int column, int row);
    void ButtonFillLoadTableWithO2RefValueClick();
    // A key handler drops the key by setting it to 0.
    void MaskEditO2REFKeyPress(char32_t& key);
    void MaskEditDeltaEnter(QLineEdit* sender);
    void MaskEditDeltaKeyPress(char32_t& key);
    // Also owns the throttle calibration.
    std::unique_ptr<O2TargetGrid> O2Grid;

    // Pages
    QTabWidget* MainPageControl;
    QWidget* MainTabSheet;
    QWidget* TableTabSheet;
    QWidget* LogTabSheet;
    QWidget* DashboardTabSheet;
    QWidget* SetupTabSheet;
    QTabWidget* TablePageControl;
    QWidget* TabSheetTableGraph;
    QWidget* TabSheetTableCompare;
    QTabWidget* PageControl1;
    QWidget* TabSheetAutotuningSetup;
    QWidget* TabSheetFirmwareUpdate;

    // Main page
    QLabel* Label20;
    QComboBox* ComComboBox1;
    QLabel* Label21;
    QComboBox* ComboBoxLanguage;
    QLabel* LabelFirmware;

    // Table graph page
    QMenuBar* ActionMainMenuBarTableGraph;
    QCustomPlot* ChartTableGraph;
    QLineEdit* MaskEditSmoothMaf;
    QLineEdit* MaskEditTps;
    QLineEdit* MaskEditRpm;
    QLineEdit* MaskEditMafTime;
    QLineEdit* MaskEditTreshold;
    QLineEdit* MaskEditEnrichmentFactor;
    QLineEdit* MaskEditEnleanmentFactor;
    QLineEdit* MaskEditTpsThreshold;
    QLabel* LabelMaf;
    QLabel* LabelTps;
    QLabel* LabelRpm;
    QLabel* LabelSmooth;
    QLabel* LabelMafTime;
    QLabel* LabelThreshold;
    QLabel* LabelEnrichmentFactor;
    QLabel* LabelEnleanmentFactor;
    QLabel* LabelEnrichment;
    QLabel* LabelTpsThrhdValue;
    QLabel* LabelTpsThreshold;

    // Table comparison page
    QMenuBar* ActionMainMenuBarTableCompare;
    QCustomPlot* ChartCompare;
    QLabel* Label4;
    QLabel* Label5;
    QLineEdit* MaskEditMaf1Compare;
    QLineEdit* MaskEditTps1Compare;
    QLineEdit* MaskEditRpm1Compare;
    QLineEdit* MaskEditMafTime1Compare;
    QLineEdit* MaskEditTreshold1Compare;
    QLineEdit* MaskEditEnrichmentFactor1Compare;
    QLineEdit* MaskEditEnleanmentFactor1Compare;
    QLineEdit* MaskEditTpsThreshold1Compare;
    QLineEdit* MaskEditMaf2Compare;
    QLineEdit* MaskEditTps2Compare;
    QLineEdit* MaskEditRpm2Compare;
    QLineEdit* MaskEditMafTime2Compare;
    QLineEdit* MaskEditTreshold2Compare;
    QLineEdit* MaskEditEnrichmentFactor2Compare;
    QLineEdit* MaskEditEnleanmentFactor2Compare;
    QLineEdit* MaskEditTpsThreshold2Compare;
    QLabel* Label1;
    QLabel* Label6;
    QLabel* Label7;
    QLabel* LabelMafTimeCompare;
    QLabel* LabelThresholdCompare;
    QLabel* LabelEnrichmentFactor1Compare;
    QLabel* LabelEnleanmentFactorCompare;
    QLabel* LabelTpsThrhd;
    QLabel* LabelSm;
    QLabel* LabelEnrch;

    // Log page
    QMenuBar* ActionMainMenuBarLogGraph;
    QCustomPlot* ChartLog;

    // Dashboard page
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

    // Autotuning options page
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

    // Firmware update page
    QMenuBar* ActionMainMenuBarFirmwareUpgrade;
    QLabel* LabelFirmwareManual;
    QLabel* LabelAttention;
    QLabel* LabelFollowFUpgrade;
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

    // Actions
    TFileAction* LogFileOpen;
    TFileAction* LogFileSave;
    QAction* ActionNullTable;
    QAction* ActionTableOneToOne;
    QAction* ActionCopyOneToTwo;
    QAction* ActionCopyTwoToOne;
    QAction* ActionReadCoverter;
    QAction* ActionWriteConverter;
    QAction* ActionSaveALL;
    QAction* ActionStart;
    QAction* ActionStop;
    TFileAction* Nastroiki_FileOpen;
    TFileAction* Nastroiki_FileSaveAs;
    TFileAction* TabFileOpen;
    TFileAction* TabFileSave;
    TFileAction* FileOpenCompare;
    TFileAction* FileSaveAsCompare;
    TFileAction* FileOpenCompare2;
    TFileAction* FileSaveAsCompare2;
    TFileAction* FileOpenFirmware;
    QAction* ActionUpgradeFirmwareOneToOne;

protected:
    void closeEvent(QCloseEvent* event) override;
    // Raises the handlers of control events that Qt has no signal for (a click on a label).
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    QWidget* BuildMainPage();
    QWidget* BuildTableGraphPage();
    QWidget* BuildTableComparePage();
    QWidget* BuildLogPage();
    QWidget* BuildDashboardPage();
    QWidget* BuildAutotuningSetupPage();
    QWidget* BuildFirmwareUpdatePage();
    void BuildMenuBars();
    void CreateWorkingTable();
    void CreateComparisonTable();
    void ConnectTableHandlers();
    void CreateLink();
    void BindO2TargetGrid();
    void CreateLog();
    void BroadcastStop();
    void ShowDashData(const TMsgDashData& dash);
    void DoAutocorrStep(const TMsgAutocorrStep& step);
    void DoSmoothingStep(const TMsgSmoothingStep& step);

    std::unique_ptr<TZarniBroadcaster> bus;
    Table* workingTable = nullptr;
    Table* comparisonTable = nullptr;
    TRXTX* link = nullptr;
    Log* log = nullptr;
    std::unique_ptr<TSoundPlayer> sounds;
    TKeyPreview* keyPreview = nullptr;
    QString firmwareLabelPrefix;
    QString soundDir;
};
