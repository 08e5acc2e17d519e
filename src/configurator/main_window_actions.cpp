// The window's actions and the menu bars that show them. A menu bar item is a stand-in for its
// action: it may carry its own caption or be hidden, but it always follows the action's enabled state
// and executes the action, so disabling an action disables it in every menu bar at once.

#include "main_window.h"

#include "file_action.h"

#include <QMenu>
#include <QMenuBar>

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

// The action a menu bar item stands for; tests and the language switch reach it through this.
constexpr const char* ItemActionProperty = "zarniAction";

QAction* AddItem(QWidget* menu, QAction* action, const QString& caption = {}, bool hidden = false) {
    auto* item = new QAction(caption.isEmpty() ? action->text() : caption, menu);
    item->setProperty(ItemActionProperty, QVariant::fromValue<QObject*>(action));
    item->setEnabled(action->isEnabled());
    item->setVisible(!hidden);
    QObject::connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
    menu->addAction(item);
    return item;
}

QMenu* AddSubMenu(QMenuBar* bar, const QString& caption, bool hidden = false) {
    auto* menu = bar->addMenu(caption);
    menu->menuAction()->setVisible(!hidden);
    return menu;
}

void AddTabPair(QMenu* menu, QAction* tab1, QAction* tab2) {
    AddItem(menu, tab1, "&Tab1");
    AddItem(menu, tab2, "T&ab2");
}

} // namespace

void TForm1::CreateActions() {
    using Kind = TFileAction::Kind;
    LogFileOpen = NamedFileAction("LogFileOpen", Kind::OpenFile, "Открыть", "Log Files|*.log", {}, this);
    LogFileSave = NamedFileAction("LogFileSave", Kind::SaveAs, "Сохранить", "Log Files|*.log", "log", this);
    ActionNullTable = NamedAction("ActionNullTable", "Обнулить", this);
    ActionTableOneToOne = NamedAction("ActionTableOneToOne", "Замена 1:1", this);
    ActionCopyOneToTwo = NamedAction("ActionCopyOneToTwo", "1.1->1.2", this);
    ActionCopyTwoToOne = NamedAction("ActionCopyTwoToOne", "1.2->1.1", this);
    ActionReadCoverter = NamedAction("ActionReadCoverter", "Считать из конвертера", this);
    ActionWriteConverter = NamedAction("ActionWriteConverter", "Записать в конвертер", this);
    ActionSaveALL = NamedAction("ActionSaveALL", "Сохранить все", this);
    ActionStart = NamedAction("ActionStart", "Start", this);
    ActionStop = NamedAction("ActionStop", "Stop", this);
    Nastroiki_FileOpen = NamedFileAction("Nastroiki_FileOpen", Kind::OpenFile, "Открыть настройки",
                                         "Autotuning Files|*.cfg", {}, this);
    Nastroiki_FileSaveAs = NamedFileAction("Nastroiki_FileSaveAs", Kind::SaveAs, "Сохранить настройки",
                                           "Autotuning Files|*.cfg", {}, this);
    Nastroiki_FileSaveAs->FileName = "config";
    TabFileOpen = NamedFileAction("TabFileOpen", Kind::OpenFile, "Открыть", "Tab files|*.tab", ".tab", this);
    TabFileSave = NamedFileAction("TabFileSave", Kind::SaveAs, "Сохранить", "Tab Files|*.tab", ".tab", this);
    FileOpenCompare =
        NamedFileAction("FileOpenCompare", Kind::OpenFile, "Открыть", "Tab files|*.tab", ".tab", this);
    FileSaveAsCompare =
        NamedFileAction("FileSaveAsCompare", Kind::SaveAs, "Сохранить", "Tab Files|*.tab", ".tab", this);
    FileOpenCompare2 =
        NamedFileAction("FileOpenCompare2", Kind::OpenFile, "Tab2", "Tab File|*.tab", ".tab", this);
    FileSaveAsCompare2 =
        NamedFileAction("FileSaveAsCompare2", Kind::SaveAs, "Tab2", "Tab File|*.tab", ".tab", this);
    FileOpenFirmware = NamedFileAction("FileOpenFirmware", Kind::OpenFile, "Обновить из файла",
                                       "Firmware files|*.enc", {}, this, "FileOpenfirmware");
    ActionUpgradeFirmwareOneToOne =
        NamedAction("ActionUpgradeFirmwareOneToOne", "ActionUpgradeFirmwareOneToOne", this);

    for (QAction* action : {ActionReadCoverter, ActionWriteConverter, ActionStop})
        action->setEnabled(false);

    connect(ActionNullTable, &QAction::triggered, this, &TForm1::ActionNullTableExecute);
}

void TForm1::BuildMenuBars() {
    QMenuBar* bar = ActionMainMenuBarTableGraph;
    AddItem(bar, TabFileOpen);
    AddItem(bar, TabFileSave);
    AddItem(bar, ActionNullTable, {}, true);
    AddItem(bar, ActionTableOneToOne, "Замена &1:1");
    QMenu* copy = AddSubMenu(bar, "Копировать");
    AddItem(copy, ActionCopyOneToTwo, "&1.1->1.2");
    AddItem(copy, ActionCopyTwoToOne, "1.&2->1.1");
    AddItem(bar, ActionReadCoverter);
    AddItem(bar, ActionWriteConverter);

    bar = ActionMainMenuBarTableCompare;
    AddTabPair(AddSubMenu(bar, FileOpenCompare->text()), FileOpenCompare, FileOpenCompare2);
    AddTabPair(AddSubMenu(bar, FileSaveAsCompare->text()), FileSaveAsCompare, FileSaveAsCompare2);
    // Kept hidden: these commands exist for the comparison tables but are not offered.
    AddTabPair(AddSubMenu(bar, "Обнулить", true), ActionNullTable, ActionNullTable);
    AddTabPair(AddSubMenu(bar, "Замена &1:1", true), ActionTableOneToOne, ActionTableOneToOne);
    QMenu* hiddenCopy = AddSubMenu(bar, "Копировать ", true);
    for (const char* caption :
         {"&1.1->2.1", "1.1->&2.2", "1.2->2.1", "1.2->2.2", "2.1->1.1", "2.1->1.2", "2.2->1.1", "2.2->1.2"})
        AddItem(hiddenCopy, ActionCopyOneToTwo, caption);
    AddTabPair(AddSubMenu(bar, "Считать из конвертера", true), ActionReadCoverter, ActionReadCoverter);
    AddTabPair(AddSubMenu(bar, "Записать в конвертер", true), ActionWriteConverter, ActionWriteConverter);

    bar = ActionMainMenuBarLogGraph;
    AddItem(bar, LogFileOpen);
    AddItem(bar, LogFileSave);

    bar = ActionMainMenuBarDashboard;
    AddItem(bar, ActionSaveALL);
    AddItem(bar, ActionWriteConverter);
    AddItem(bar, ActionReadCoverter);
    AddItem(bar, ActionStart, "Старт");
    AddItem(bar, ActionStop, "Стоп");

    bar = ActionMainMenuBarOptionsSetup;
    AddItem(bar, Nastroiki_FileOpen, "Открыть ");
    AddItem(bar, Nastroiki_FileSaveAs, "Сохранить");

    bar = ActionMainMenuBarFirmwareUpgrade;
    AddItem(bar, FileOpenFirmware);
    AddItem(bar, ActionUpgradeFirmwareOneToOne, "Обновить с заменой &1:1");
}
