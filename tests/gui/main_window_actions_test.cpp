// Actions and their menu bars: what each bar shows, hidden items, and enabled states that follow the
// action in every bar at once.

#include "gui_test_support.h"
#include "main_window.h"

#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

namespace {

QAction* ActionOf(QAction* item) {
    return qobject_cast<QAction*>(item->property("zarniAction").value<QObject*>());
}

struct MenuItem {
    QAction* item;
    bool shown; // the item and every menu above it are visible
};

// Every item of a menu bar and its sub-menus that stands for an action.
std::vector<MenuItem> ItemsOf(QWidget* menu, bool menuShown = true) {
    std::vector<MenuItem> items;
    for (QAction* item : menu->actions()) {
        const bool shown = menuShown && item->isVisible();
        if (ActionOf(item))
            items.push_back({item, shown});
        if (item->menu())
            for (const MenuItem& inner : ItemsOf(item->menu(), shown))
                items.push_back(inner);
    }
    return items;
}

const char* const MenuBars[] = {"ActionMainMenuBarTableGraph",   "ActionMainMenuBarTableCompare",
                                "ActionMainMenuBarLogGraph",     "ActionMainMenuBarDashboard",
                                "ActionMainMenuBarOptionsSetup", "ActionMainMenuBarFirmwareUpgrade"};

struct TopItem {
    QString caption;
    QString action; // empty for a sub-menu
    bool hidden;
};

std::vector<TopItem> TopItemsOf(QMenuBar* bar) {
    std::vector<TopItem> items;
    for (QAction* item : bar->actions())
        items.push_back(
            {item->text(), ActionOf(item) ? ActionOf(item)->objectName() : QString(), !item->isVisible()});
    return items;
}

bool operator==(const TopItem& a, const TopItem& b) {
    return a.caption == b.caption && a.action == b.action && a.hidden == b.hidden;
}
void PrintTo(const TopItem& item, std::ostream* out) {
    *out << item.caption.toStdString() << "/" << item.action.toStdString() << (item.hidden ? " hidden" : "");
}

TEST(MainWindowActions, MenuBarsShowTheirItemsInOrder) {
    TForm1 form;
    const std::pair<const char*, std::vector<TopItem>> expected[] = {
        {"ActionMainMenuBarTableGraph",
         {{"Открыть", "TabFileOpen", false},
          {"Сохранить", "TabFileSave", false},
          {"Обнулить", "ActionNullTable", true},
          {"Замена &1:1", "ActionTableOneToOne", false},
          {"Копировать", "", false},
          {"Считать из конвертера", "ActionReadCoverter", false},
          {"Записать в конвертер", "ActionWriteConverter", false}}},
        {"ActionMainMenuBarTableCompare",
         {{"Открыть", "", false},
          {"Сохранить", "", false},
          {"Обнулить", "", true},
          {"Замена &1:1", "", true},
          {"Копировать ", "", true},
          {"Считать из конвертера", "", true},
          {"Записать в конвертер", "", true}}},
        {"ActionMainMenuBarLogGraph",
         {{"Открыть", "LogFileOpen", false},
          {"Сохранить", "LogFileSave", false},
          {"Папка записей", "LogRecordingsFolder", false},
          {"Экспорт CSV", "LogFileExportCsv", false}}},
        {"ActionMainMenuBarDashboard",
         {{"Сохранить все", "ActionSaveALL", false},
          {"Записать в конвертер", "ActionWriteConverter", false},
          {"Считать из конвертера", "ActionReadCoverter", false},
          {"Старт", "ActionStart", false},
          {"Стоп", "ActionStop", false}}},
        {"ActionMainMenuBarOptionsSetup",
         {{"Открыть ", "Nastroiki_FileOpen", false}, {"Сохранить", "Nastroiki_FileSaveAs", false}}},
        {"ActionMainMenuBarFirmwareUpgrade",
         {{"Обновить из файла", "FileOpenFirmware", false},
          {"Обновить с заменой &1:1", "ActionUpgradeFirmwareOneToOne", false}}}};
    for (const auto& [name, items] : expected) {
        auto* bar = Find<QMenuBar>(&form, name);
        ASSERT_TRUE(bar);
        EXPECT_EQ(TopItemsOf(bar), items) << name;
    }

    auto* graphBar = Find<QMenuBar>(&form, "ActionMainMenuBarTableGraph");
    QMenu* copy = graphBar->actions().at(4)->menu();
    ASSERT_TRUE(copy);
    ASSERT_EQ(copy->actions().size(), 2);
    EXPECT_EQ(copy->actions()[0]->text(), "&1.1->1.2");
    EXPECT_EQ(ActionOf(copy->actions()[0])->objectName(), "ActionCopyOneToTwo");
    EXPECT_EQ(copy->actions()[1]->text(), "1.&2->1.1");
    EXPECT_EQ(ActionOf(copy->actions()[1])->objectName(), "ActionCopyTwoToOne");

    auto* compareBar = Find<QMenuBar>(&form, "ActionMainMenuBarTableCompare");
    QMenu* open = compareBar->actions().at(0)->menu();
    ASSERT_TRUE(open);
    EXPECT_EQ(open->actions()[0]->text(), "&Tab1");
    EXPECT_EQ(ActionOf(open->actions()[0])->objectName(), "FileOpenCompare");
    EXPECT_EQ(open->actions()[1]->text(), "T&ab2");
    EXPECT_EQ(ActionOf(open->actions()[1])->objectName(), "FileOpenCompare2");
    EXPECT_EQ(compareBar->actions().at(4)->menu()->actions().size(), 8);
}

TEST(MainWindowActions, ReadWriteAndStopStartDisabledInEveryBarThatShowsThem) {
    TForm1 form;
    const QStringList disabledAtStart = {"ActionReadCoverter", "ActionWriteConverter", "ActionStop"};
    int readItems = 0;
    for (const char* name : MenuBars) {
        auto* bar = Find<QMenuBar>(&form, name);
        ASSERT_TRUE(bar);
        for (const auto& [item, shown] : ItemsOf(bar)) {
            if (!shown)
                continue;
            const QString action = ActionOf(item)->objectName();
            EXPECT_EQ(item->isEnabled(), !disabledAtStart.contains(action))
                << name << " " << action.toStdString();
            readItems += action == "ActionReadCoverter";
        }
    }
    EXPECT_EQ(readItems, 2) << "read is offered on the table graph and dashboard bars";

    // A change of the action's state reaches every item at once.
    Find<QAction>(&form, "ActionReadCoverter")->setEnabled(true);
    Find<QAction>(&form, "ActionStart")->setEnabled(false);
    for (const char* name : MenuBars)
        for (const auto& [item, shown] : ItemsOf(Find<QMenuBar>(&form, name))) {
            if (ActionOf(item) == Find<QAction>(&form, "ActionReadCoverter")) {
                EXPECT_TRUE(item->isEnabled()) << name;
            }
            if (ActionOf(item) == Find<QAction>(&form, "ActionStart")) {
                EXPECT_FALSE(item->isEnabled()) << name;
            }
        }
}

TEST(MainWindowActions, MenuItemExecutesItsAction) {
    TForm1 form;
    QSignalSpy nulled(Find<QAction>(&form, "ActionNullTable"), &QAction::triggered);
    Find<QMenuBar>(&form, "ActionMainMenuBarTableGraph")->actions().at(2)->trigger();
    EXPECT_EQ(nulled.count(), 1);

    // A disabled action cannot be executed from its menu item.
    QSignalSpy stopped(Find<QAction>(&form, "ActionStop"), &QAction::triggered);
    Find<QMenuBar>(&form, "ActionMainMenuBarDashboard")->actions().at(4)->trigger();
    EXPECT_EQ(stopped.count(), 0);
}

} // namespace
