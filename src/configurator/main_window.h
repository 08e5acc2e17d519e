#pragma once
// The configurator's main window. It creates the long-lived objects and the pages in the order of
// start-up, puts the pages into their tabs and wires them; each page owns its widgets and handlers,
// and the live-run controller carries what spans pages.

#include "zarni_broadcaster.h"

#include <QMainWindow>

#include <memory>

class Log;
class O2TargetGrid;
class QTabWidget;
class TActions;
class TAutotuningSetupPage;
class TDashboardPage;
class TFirmwarePage;
class TFirmwareUpdate;
class TableBackups;
class TKeyPreview;
class TLanguageSwitch;
class TLiveRun;
class TLogPage;
class TMainPage;
class TRXTX;
class TSettings;
class TTableComparePage;
class TTableGraphPage;
class Table;

class TForm1 : public QMainWindow, public TListener {
    Q_OBJECT
public:
    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    void FormCreate();
    // Stops the converter's stream if a port is open, then saves the settings; nothing that fails
    // here keeps the window from closing.
    void FormClose();
    // The progress window, created after this one, follows the language switch.
    void AdoptProgressWindow(QWidget* progressWindow);
    // The bus's first listener; the live-run controller does the window's share.
    void Dispatch(TMessage& message) override;

    TZarniBroadcaster* Broadcaster() const { return bus.get(); }
    TRXTX* Link() const { return link; }
    O2TargetGrid* O2Grid() const { return targetGrid; }
    Table* WorkingTable() const { return workingTable; }
    Table* ComparisonTable() const { return comparisonTable; }
    Log* LiveData() const { return log; }
    TableBackups* Backups() const { return backups.get(); }

    TMainPage* MainPage() const { return mainPage; }
    TTableGraphPage* TableGraphPage() const { return tableGraphPage; }
    TTableComparePage* TableComparePage() const { return tableComparePage; }
    TDashboardPage* DashboardPage() const { return dashboardPage; }
    TAutotuningSetupPage* SetupPage() const { return setupPage; }
    TFirmwarePage* FirmwarePage() const { return firmwarePage; }
    TLiveRun* LiveRun() const { return liveRun; }
    TFirmwareUpdate* FirmwareUpdate() const { return firmwareUpdate; }
    TSettings* Settings() const { return settings; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreatePages();
    void PutPagesIntoTabs();

    std::unique_ptr<TActions> actions;
    std::unique_ptr<TZarniBroadcaster> bus;
    std::unique_ptr<TableBackups> backups;
    TRXTX* link = nullptr;
    O2TargetGrid* targetGrid = nullptr;
    Table* workingTable = nullptr;
    Log* log = nullptr;
    Table* comparisonTable = nullptr;

    TMainPage* mainPage = nullptr;
    TTableGraphPage* tableGraphPage = nullptr;
    TTableComparePage* tableComparePage = nullptr;
    TLogPage* logPage = nullptr;
    TDashboardPage* dashboardPage = nullptr;
    TAutotuningSetupPage* setupPage = nullptr;
    TFirmwarePage* firmwarePage = nullptr;
    TLiveRun* liveRun = nullptr;
    TFirmwareUpdate* firmwareUpdate = nullptr;
    TSettings* settings = nullptr;
    std::unique_ptr<TLanguageSwitch> languageSwitch;
    TKeyPreview* keyPreview = nullptr;
};
