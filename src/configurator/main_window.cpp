#include "main_window.h"

#include "actions.h"
#include "autotuning_setup_page.h"
#include "control_factory.h"
#include "dashboard_page.h"
#include "firmware_page.h"
#include "firmware_update.h"
#include "key_preview.h"
#include "language_switch.h"
#include "link_report_presenter.h"
#include "live_run.h"
#include "log.h"
#include "log_page.h"
#include "main_page.h"
#include "o2_target_grid.h"
#include "rxtx.h"
#include "settings.h"
#include "path_text.h"
#include "table.h"
#include "table_backups.h"
#include "table_compare_page.h"
#include "table_graph_page.h"

#include <QApplication>
#include <QCloseEvent>
#include <QStandardPaths>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QTabWidget* PageControl(const char* name, int tabHeight) {
    auto* control = Named<QTabWidget>(name);
    control->setTabPosition(QTabWidget::South);
    control->setStyleSheet(QString("QTabBar::tab { height: %1px; }").arg(tabHeight));
    return control;
}

// A tab sheet that holds an inner page control.
QWidget* SheetOf(const char* name, QTabWidget* inner) {
    auto* sheet = Named<QWidget>(name);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(inner);
    return sheet;
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle("ZarniConfigurator V3.6A");
    // Every window of the program, message boxes included, uses the base font.
    QApplication::setFont(BaseFont());
    resize(727, 555);
    actions = std::make_unique<TActions>(this);
    FormCreate();
    keyPreview = new TKeyPreview(
        this, [this](QKeyEvent& key) { return liveRun->FormKeyDown(key); },
        [this](QKeyEvent& key) { return liveRun->FormKeyUp(key); });
}

TForm1::~TForm1() {
    // Its handlers reach the live-run controller, which goes with the window's other children.
    delete keyPreview;
    // The live reader must end before the link it reads goes; a closed port wakes it at once.
    link->ClosePort();
    delete log;
}

void TForm1::FormCreate() {
    bus = std::make_unique<TZarniBroadcaster>();
    bus->AddListener(this);
    link = new TRXTX(this, *bus);
    PresentLinkReports(*link);
    targetGrid = new O2TargetGrid(this);
    workingTable = new Table(this);
    workingTable->SetLink(link);
    backups = std::make_unique<TableBackups>(
        ToPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/Backups"));
    workingTable->SetBackups(backups.get());
    log = new Log(this, *link, *bus, *workingTable, *targetGrid);
    comparisonTable = new Table(this);
    CreatePages();
    PutPagesIntoTabs();
    settings = new TSettings(this, {*actions, *mainPage, *dashboardPage, *setupPage, *targetGrid});
    settings->LoadAtStart();
    mainPage->CaptureFirmwareLabelPrefix();
}

void TForm1::CreatePages() {
    mainPage = new TMainPage(*actions, *bus, *workingTable);
    tableGraphPage = new TTableGraphPage(*actions, *workingTable);
    tableComparePage = new TTableComparePage(*actions, *comparisonTable);
    logPage = new TLogPage(*actions, *log);
    dashboardPage = new TDashboardPage(*actions, *workingTable, *log, *targetGrid);
    setupPage =
        new TAutotuningSetupPage({*actions, *link, *log, *targetGrid, *workingTable, *comparisonTable});
    const auto shareBarColours = [this] {
        targetGrid->SetHeaderColours(dashboardPage->ThrottleBarColour(), dashboardPage->SpeedBarColour());
    };
    shareBarColours();
    connect(dashboardPage, &TDashboardPage::BarColoursChanged, this, shareBarColours);
    firmwarePage = new TFirmwarePage(*actions);
    liveRun = new TLiveRun(this, {*actions, *bus, *link, *log, *workingTable, *mainPage, *dashboardPage,
                                  *setupPage, *firmwarePage});
    firmwareUpdate =
        new TFirmwareUpdate(this, {*actions, *link, *log, *firmwarePage, *setupPage, *workingTable});
}

void TForm1::PutPagesIntoTabs() {
    QTabWidget* tablePageControl = PageControl("TablePageControl", 30);
    tablePageControl->addTab(tableGraphPage, "График таблицы замены");
    tablePageControl->addTab(tableComparePage, "Устилита сравнения таблиц");

    QTabWidget* pageControl1 = PageControl("PageControl1", 30);
    pageControl1->tabBar()->setExpanding(false);
    pageControl1->addTab(setupPage, "Параметры автообучения");
    pageControl1->addTab(firmwarePage, "Обновление прошивки");

    QTabWidget* mainPageControl = PageControl("MainPageControl", 40);
    mainPageControl->addTab(mainPage, " ");
    mainPageControl->addTab(SheetOf("TableTabSheet", tablePageControl), "Таблица Замены");
    mainPageControl->addTab(logPage, "Графики лога");
    mainPageControl->addTab(dashboardPage, "Панель приборов");
    mainPageControl->addTab(SheetOf("SetupTabSheet", pageControl1), "Настройки");
    setCentralWidget(mainPageControl);

    languageSwitch = std::make_unique<TLanguageSwitch>(TLanguageSwitch::Objects{
        *mainPageControl, *tablePageControl, *pageControl1, *mainPage, *tableGraphPage, *tableComparePage,
        *logPage, *dashboardPage, *setupPage, *firmwarePage, *liveRun});
    connect(mainPage, &TMainPage::LanguageChosen, this,
            [this](int index) { languageSwitch->ApplyLanguage(index); });
}

void TForm1::AdoptProgressWindow(QWidget* progressWindow) {
    languageSwitch->AdoptProgressWindow(progressWindow);
}

void TForm1::Dispatch(TMessage& message) {
    // The controller is created last; nothing is broadcast before it exists.
    if (liveRun)
        liveRun->Dispatch(message);
}

void TForm1::FormClose() {
    // With a port open the converter gets "s", whether or not a run is going on.
    if (link->Connected()) {
        try {
            TMsgLogStop stop;
            bus->Broadcast(stop);
        } catch (...) {
            // An adapter pulled out: the settings are saved all the same.
        }
    }
    settings->SaveAtClose();
}

void TForm1::closeEvent(QCloseEvent* event) {
    // An upload cut short leaves the converter without a whole firmware.
    if (firmwareUpdate->Uploading()) {
        event->ignore();
        return;
    }
    try {
        FormClose();
    } catch (...) {
        // Closing never stops on a failure.
    }
    event->accept();
}
