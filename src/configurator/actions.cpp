#include "actions.h"

#include "file_action.h"

#include <QWidget>

namespace {

QAction* NamedAction(const char* name, const QString& caption, QObject* parent) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    return action;
}

TFileAction* NamedFileAction(const char* name, TFileAction::Kind kind, const QString& caption,
                             const QString& filter, const QString& defaultExt, QObject* parent,
                             const QString& category = "File") {
    auto* action = new TFileAction(kind, caption, parent);
    action->setObjectName(name);
    action->Filter = filter;
    action->DefaultExt = defaultExt;
    action->Category = category;
    return action;
}

} // namespace

TActions::TActions(QWidget* window) {
    using Kind = TFileAction::Kind;
    LogFileOpen = NamedFileAction("LogFileOpen", Kind::OpenFile, "Открыть", "Log Files|*.log", {}, window);
    LogFileSave = NamedFileAction("LogFileSave", Kind::SaveAs, "Сохранить", "Log Files|*.log", "log", window);
    LogRecordingsFolder = NamedAction("LogRecordingsFolder", "Папка записей", window);
    LogFileExportCsv =
        NamedFileAction("LogFileExportCsv", Kind::SaveAs, "Экспорт CSV", "CSV Files|*.csv", "csv", window);
    ActionNullTable = NamedAction("ActionNullTable", "Обнулить", window);
    ActionTableOneToOne = NamedAction("ActionTableOneToOne", "Замена 1:1", window);
    ActionCopyOneToTwo = NamedAction("ActionCopyOneToTwo", "1.1->1.2", window);
    ActionCopyTwoToOne = NamedAction("ActionCopyTwoToOne", "1.2->1.1", window);
    ActionReadCoverter = NamedAction("ActionReadCoverter", "Считать из конвертера", window);
    ActionWriteConverter = NamedAction("ActionWriteConverter", "Записать в конвертер", window);
    ActionSaveALL = NamedAction("ActionSaveALL", "Сохранить все", window);
    ActionStart = NamedAction("ActionStart", "Start", window);
    ActionStop = NamedAction("ActionStop", "Stop", window);
    Nastroiki_FileOpen = NamedFileAction("Nastroiki_FileOpen", Kind::OpenFile, "Открыть настройки",
                                         "Autotuning Files|*.cfg", {}, window);
    Nastroiki_FileSaveAs = NamedFileAction("Nastroiki_FileSaveAs", Kind::SaveAs, "Сохранить настройки",
                                           "Autotuning Files|*.cfg", {}, window);
    Nastroiki_FileSaveAs->FileName = "config";
    TabFileOpen =
        NamedFileAction("TabFileOpen", Kind::OpenFile, "Открыть", "Tab files|*.tab", ".tab", window);
    TabFileSave =
        NamedFileAction("TabFileSave", Kind::SaveAs, "Сохранить", "Tab Files|*.tab", ".tab", window);
    FileOpenCompare =
        NamedFileAction("FileOpenCompare", Kind::OpenFile, "Открыть", "Tab files|*.tab", ".tab", window);
    FileSaveAsCompare =
        NamedFileAction("FileSaveAsCompare", Kind::SaveAs, "Сохранить", "Tab Files|*.tab", ".tab", window);
    FileOpenCompare2 =
        NamedFileAction("FileOpenCompare2", Kind::OpenFile, "Tab2", "Tab File|*.tab", ".tab", window);
    FileSaveAsCompare2 =
        NamedFileAction("FileSaveAsCompare2", Kind::SaveAs, "Tab2", "Tab File|*.tab", ".tab", window);
    FileOpenFirmware = NamedFileAction("FileOpenFirmware", Kind::OpenFile, "Обновить из файла",
                                       "Firmware files|*.enc", {}, window, "FileOpenfirmware");
    ActionUpgradeFirmwareOneToOne =
        NamedAction("ActionUpgradeFirmwareOneToOne", "ActionUpgradeFirmwareOneToOne", window);

    for (QAction* action : {ActionReadCoverter, ActionWriteConverter, ActionStop})
        action->setEnabled(false);
}
