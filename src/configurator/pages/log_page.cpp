#include "log_page.h"

#include "actions.h"
#include "control_factory.h"
#include "default_file_name.h"
#include "file_action.h"
#include "log.h"
#include "log_chart.h"
#include "menu_items.h"

#include <QDesktopServices>
#include <QMenuBar>
#include <QUrl>
#include <QVBoxLayout>
#include <qcustomplot.h>

TLogPage::TLogPage(TActions& actions, Log& log) : actions(actions), log(log) {
    setObjectName("LogTabSheet");
    ActionMainMenuBarLogGraph = Named<QMenuBar>("ActionMainMenuBarLogGraph");
    ChartLog = Named<QCustomPlot>("ChartLog");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ActionMainMenuBarLogGraph);
    layout->addWidget(ChartLog, 1);

    AddItem(ActionMainMenuBarLogGraph, actions.LogFileOpen);
    AddItem(ActionMainMenuBarLogGraph, actions.LogFileSave);
    AddItem(ActionMainMenuBarLogGraph, actions.LogRecordingsFolder);
    AddItem(ActionMainMenuBarLogGraph, actions.LogFileExportCsv);
    log.SetupChart(ChartLog);

    connect(actions.LogFileOpen, &TFileAction::Accept, this, &TLogPage::LogFileOpenOpenDialogCanClose);
    connect(actions.LogFileSave, &TFileAction::Accept, this, &TLogPage::FileSaveAs1SaveDialogCanClose);
    connect(actions.LogFileSave, &TFileAction::BeforeExecute, this, &TLogPage::LogFileSaveBeforeExecute);
    connect(actions.ActionSaveALL, &QAction::triggered, this, &TLogPage::ActionSaveALLExecute);
    connect(actions.LogRecordingsFolder, &QAction::triggered, this, &TLogPage::LogRecordingsFolderExecute);
    connect(actions.LogFileExportCsv, &TFileAction::Accept, this,
            &TLogPage::LogFileExportCsvSaveDialogCanClose);
}

void TLogPage::LogFileOpenOpenDialogCanClose(const QString& fileName, bool&) {
    log.LoadLog(fileName);
}

void TLogPage::FileSaveAs1SaveDialogCanClose(const QString& fileName, bool&) {
    log.SaveLog(fileName);
}

void TLogPage::LogFileExportCsvSaveDialogCanClose(const QString& fileName, bool&) {
    log.ExportCsv(fileName);
}

void TLogPage::LogRecordingsFolderExecute() {
    QDesktopServices::openUrl(QUrl::fromLocalFile(Log::RecordingsFolder()));
}

void TLogPage::LogFileSaveBeforeExecute() {
    actions.LogFileSave->FileName = DefaultFileName();
}

void TLogPage::ActionSaveALLExecute() {
    actions.TabFileSave->FileName = DefaultFileName();
    actions.TabFileSave->trigger();
    actions.LogFileSave->FileName = DefaultFileName();
    actions.LogFileSave->trigger();
}

void TLogPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    LogTabSheetShow();
}

void TLogPage::LogTabSheetShow() {
    log.RedrawChart();
}

void TLogPage::ApplyLanguage(Language language) {
    SetMenuCaptions(ActionMainMenuBarLogGraph,
                    {{"Открыть", "Open"},
                     {"Сохранить", "Save"},
                     {"Папка записей", "Recordings folder"},
                     {"Экспорт CSV", "Export CSV"}},
                    language);
    // The design's vertical title is "Уровень сигнала"; the switch writes it with a capital С.
    log.Chart().SetAxisTitles(Caption{"Уровень Сигнала", "Signal Level"}.In(language),
                              Caption{"Время", "Time"}.In(language));
}
