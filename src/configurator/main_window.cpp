#include "main_window.h"

#include "control_factory.h"
#include "firmware_manual.h"
#include "key_preview.h"
#include "list_ports.h"
#include "log.h"
#include "rxtx.h"
#include "sound_player.h"
#include "table.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    setObjectName("Form1");
    setWindowTitle("ZarniConfigurator V3.6A");
    // Every window of the program, message boxes included, uses the base font.
    QApplication::setFont(BaseFont());
    resize(727, 555);

    CreateActions();

    MainPageControl = Named<QTabWidget>("MainPageControl");
    MainPageControl->setTabPosition(QTabWidget::South);
    MainPageControl->setStyleSheet("QTabBar::tab { height: 40px; }");
    MainTabSheet = BuildMainPage();
    TableTabSheet = Named<QWidget>("TableTabSheet");
    LogTabSheet = BuildLogPage();
    DashboardTabSheet = BuildDashboardPage();
    SetupTabSheet = Named<QWidget>("SetupTabSheet");

    TablePageControl = Named<QTabWidget>("TablePageControl");
    TablePageControl->setTabPosition(QTabWidget::South);
    TablePageControl->setStyleSheet("QTabBar::tab { height: 30px; }");
    TabSheetTableGraph = BuildTableGraphPage();
    TabSheetTableCompare = BuildTableComparePage();
    TablePageControl->addTab(TabSheetTableGraph, "График таблицы замены");
    TablePageControl->addTab(TabSheetTableCompare, "Устилита сравнения таблиц");

    PageControl1 = Named<QTabWidget>("PageControl1");
    PageControl1->setTabPosition(QTabWidget::South);
    PageControl1->setStyleSheet("QTabBar::tab { height: 30px; }");
    PageControl1->tabBar()->setExpanding(false);
    TabSheetAutotuningSetup = BuildAutotuningSetupPage();
    TabSheetFirmwareUpdate = BuildFirmwareUpdatePage();
    PageControl1->addTab(TabSheetAutotuningSetup, "Параметры автообучения");
    PageControl1->addTab(TabSheetFirmwareUpdate, "Обновление прошивки");

    for (auto [page, inner] :
         {std::pair{TableTabSheet, TablePageControl}, std::pair{SetupTabSheet, PageControl1}}) {
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(inner);
    }

    MainPageControl->addTab(MainTabSheet, " ");
    MainPageControl->addTab(TableTabSheet, "Таблица Замены");
    MainPageControl->addTab(LogTabSheet, "Графики лога");
    MainPageControl->addTab(DashboardTabSheet, "Панель приборов");
    MainPageControl->addTab(SetupTabSheet, "Настройки");
    setCentralWidget(MainPageControl);

    BuildMenuBars();
    ConnectTableHandlers();
    TabSheetTableGraph->installEventFilter(this);

    keyPreview = new TKeyPreview(
        this, [this](QKeyEvent& key) { return FormKeyDown(key); },
        [this](QKeyEvent& key) { return FormKeyUp(key); });

    FormCreate();
}

TForm1::~TForm1() {
    // The live reader must end before the link it reads goes.
    delete log;
}

void TForm1::FormCreate() {
    bus = std::make_unique<TZarniBroadcaster>();
    bus->AddListener(this);

    for (const std::string& name : ListPorts())
        ComComboBox1->addItem(QString::fromStdString(name));
    ComComboBox1->setCurrentIndex(-1);

    // Captions are UTF-8 throughout, so the Cyrillic code page needs no selecting here.

    CreateLink();
    BindO2TargetGrid();

    CreateWorkingTable();
    workingTable->SetLink(link);
    CreateLog();
    CreateComparisonTable();

    firmwareLabelPrefix = LabelFirmware->text();
}

void TForm1::FormClose() {
    // With a port open the converter gets "s", whether or not a run is going on.
    if (link->Connected)
        BroadcastStop();
}

void TForm1::closeEvent(QCloseEvent* event) {
    try {
        FormClose();
    } catch (...) {
        // Closing never stops on a failure; at worst the settings stay unsaved.
    }
    event->accept();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LabelFirmwareManual && event->type() == QEvent::MouseButtonRelease) {
        LabelFirmwareManualClick();
        return true;
    }
    if (watched == TabSheetTableGraph && event->type() == QEvent::Show)
        TabSheetTableGraphShow();
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::LabelFirmwareManualClick() {
    OpenFirmwareManual();
}
