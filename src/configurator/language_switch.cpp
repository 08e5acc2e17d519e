#include "language_switch.h"

#include "autotuning_setup_page.h"
#include "dashboard_page.h"
#include "firmware_page.h"
#include "live_run.h"
#include "log_page.h"
#include "main_page.h"
#include "sound_folder.h"
#include "table_compare_page.h"
#include "table_graph_page.h"

#include <QTabWidget>

namespace {

void SetTabCaption(QTabWidget& tabs, QWidget* page, const Caption& caption, Language language) {
    tabs.setTabText(tabs.indexOf(page), caption.In(language));
}

} // namespace

TLanguageSwitch::TLanguageSwitch(const Objects& objects) : objects(objects) {}

void TLanguageSwitch::ApplyLanguage(int index) {
    const Language language = LanguageOf(index);
    QTabWidget& main = objects.mainPageControl;
    SetTabCaption(main, main.widget(1), {"Таблица Замены", "Conversion Table"}, language);
    SetTabCaption(main, &objects.logPage, {"Графики лога", "Log Graph"}, language);
    SetTabCaption(main, &objects.dashboardPage, {"Панель приборов", "Dashboard"}, language);
    SetTabCaption(main, main.widget(4), {"Настройки", "Options/Setup"}, language);
    SetTabCaption(objects.tablePageControl, &objects.tableGraphPage, {"График таблицы замены", "Table Graph"},
                  language);
    SetTabCaption(objects.tablePageControl, &objects.tableComparePage,
                  {"Утилита сранения таблиц", "Comparison"}, language);
    SetTabCaption(objects.pageControl1, &objects.setupPage, {"Параметры автообучения", "Autotuning options"},
                  language);
    SetTabCaption(objects.pageControl1, &objects.firmwarePage, {"Обновление прошивки", "Firmware Update"},
                  language);
    objects.mainPage.ApplyLanguage(language);
    objects.tableGraphPage.ApplyLanguage(language);
    objects.tableComparePage.ApplyLanguage(language);
    objects.logPage.ApplyLanguage(language);
    objects.dashboardPage.ApplyLanguage(language);
    objects.setupPage.ApplyLanguage(language);
    objects.firmwarePage.ApplyLanguage(language);
    applied = language;
    CaptionProgressWindow();
    if (index == 0 || index == 1)
        objects.liveRun.SetSoundDir(kWorkingSoundFolder);
}

void TLanguageSwitch::AdoptProgressWindow(QWidget* window) {
    progressWindow = window;
    CaptionProgressWindow();
}

void TLanguageSwitch::CaptionProgressWindow() {
    if (progressWindow && applied)
        progressWindow->setWindowTitle(Caption{"Запись таблицы", "Writing table"}.In(*applied));
}
