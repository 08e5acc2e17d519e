// The language switch through the language selector of the real window: every caption it writes,
// the menu items by position, the copied axis titles, the warning's place, the progress window and
// the sound folder.

#include "gui_test_support.h"
#include "live_run.h"
#include "main_window.h"
#include "progress_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTabWidget>
#include <QTest>
#include <qcustomplot.h>

namespace {

struct Caption {
    const char* name;
    const char* russian;
    const char* english;
};

// Every control caption the switch writes.
const Caption ControlCaptions[] = {
    {"LabelFirmware", "Версия прошивки V ", "Firmware V "},
    {"LabelOS", "Лямбда", "O2 Sensor"},
    {"GroupBoxCorr", "Коррекция", "Correction"},
    {"CheckBoxAutocorr", "Автокоррекция", "Autocorrection"},
    {"LabelMafBeg", "MAF нач.", "MAF beg."},
    {"LabelMafEnd", "MAF кон.", "MAF end"},
    {"ButtonAplToTable", "Внести в таблицу", "Apply to table"},
    {"ButtonClrAllLearned", "Сброс всех обученных точек", "Clear all trained points"},
    {"ButtonClrCorrWindow", "Сброс в окне коррекции", "Clear only in corr.window"},
    {"GroupBoxRefO2", "Опорное значение сигнала лямбда зонда для автокоррекции",
     "Reference value of O2 sensor signal for autocorrection"},
    {"GroupBoxO2", "Лямбда зонд", "Oxygen sensor"},
    {"LabelO2Type", "Тип", "Type"},
    {"RadioButtonO2ShowVAFR", "Отображать в V/AFR", "show as V/AFR"},
    {"RadioButtonO2ShowN", "Отображать в отсчетах АЦП N", "show as ADC N"},
    {"GroupBoxMaf", "Штатный раходомер(VAF): при увеличении расхода воздуха",
     "Factory airflow meter(VAF): when airwlow rising"},
    {"RadioButtonVRise", "Выходное напряжение растет", "Output voltage rising"},
    {"RadioButtonVFall", "Выходное напряжение падает (INVERT)", "Output voltage falling (INVERT)"},
    {"ButtonCalibrate", "Калибровка", "Calibration"},
    {"RadioButtonTPSN", "Отображать в N", "Show as ADC N"},
    {"RadioButtonTPSPercent", "Отображать в %", "Show as % "},
    {"ButtonFillLoadTableWithO2RefValue", "Заполнить таблицу значением O2Ref", "Fill table with O2Ref value"},
    {"LabelFirmwareManual", "Инструкция по обновлению прошивки", "Firmware update instruction"},
    {"LabelAttention", "Внимание!!!", "Attention!!!"},
    {"LabelFollowFUpgrade", "Строго соблюдайте инструкцию по обновлению прошивки устройства",
     "Follow firmware upgrade instructions carefully"},
    {"LabelSmooth", "Сглаживание", "Smoothing"},
    {"LabelEnrichment", "Обогащение УН", "Enrichment"},
    {"LabelTpsThreshold", "Переход на таб.№2", "Table 2 threshold"},
    {"LabelTpsThrhdValue", "при значении TPS>", "TPS>"},
    {"LabelMafTime", "Выборка MAF 1/100сек *", "MAF sampling 1/100sec *"},
    {"LabelMafTimeCompare", "Выб-ка MAF 1/100сек", "MAF samp. 1/100sec"},
    {"LabelThreshold", "Порог срабатывания", "Threshold"},
    {"LabelEnrichmentFactor", "Обогащение +%", "Enrichment +%"},
    {"LabelEnleanmentFactor", "Спад обогащения -%", "Enleanment -%"},
    {"LabelThresholdCompare", "Порог", "Threshold"},
    // Copied from the table graph page's labels.
    {"LabelSm", "Сглаживание", "Smoothing"},
    {"LabelEnrch", "Обогащение УН", "Enrichment"},
    {"LabelTpsThrhd", "Переход на таб.№2", "Table 2 threshold"},
};

struct TabCaption {
    const char* control;
    const char* page;
    const char* russian;
    const char* english;
};

const TabCaption TabCaptions[] = {
    {"MainPageControl", "TableTabSheet", "Таблица Замены", "Conversion Table"},
    {"MainPageControl", "LogTabSheet", "Графики лога", "Log Graph"},
    {"MainPageControl", "DashboardTabSheet", "Панель приборов", "Dashboard"},
    {"MainPageControl", "SetupTabSheet", "Настройки", "Options/Setup"},
    {"TablePageControl", "TabSheetTableGraph", "График таблицы замены", "Table Graph"},
    {"TablePageControl", "TabSheetTableCompare", "Утилита сранения таблиц", "Comparison"},
    {"PageControl1", "TabSheetAutotuningSetup", "Параметры автообучения", "Autotuning options"},
    {"PageControl1", "TabSheetFirmwareUpdate", "Обновление прошивки", "Firmware Update"},
};

struct MenuCaptions {
    const char* bar;
    std::vector<std::pair<const char*, const char*>> items; // Russian, English, from the left
};

const MenuCaptions Menus[] = {
    {"ActionMainMenuBarLogGraph",
     {{"Открыть", "Open"},
      {"Сохранить", "Save"},
      {"Папка записей", "Recordings folder"},
      {"Экспорт CSV", "Export CSV"}}},
    {"ActionMainMenuBarTableCompare",
     {{"Открыть", "Open"},
      {"Сохранить", "Save"},
      {"Обнулить", "Null"},
      {"Замена 1:1", "1:1 Table"},
      {"Копировать", "Copy"},
      {"Считать из конвертера", "Read from Converter"},
      {"Записать в конвертер", "Write to Converter"}}},
    {"ActionMainMenuBarTableGraph",
     {{"Открыть", "Open"},
      {"Сохранить", "Save"},
      {"Обнулить", "Null"},
      {"Замена 1:1", "1:1 Table"},
      {"Копировать 1->2", "Copy 1->2"},
      {"Считать из конвертера", "Read from Converter"},
      {"Записать в конвертер", "Write to Converter"}}},
    {"ActionMainMenuBarDashboard",
     {{"Сохранить все", "Save all"},
      {"Записать в конвертер", "Write to converter"},
      {"Считать из конвертера", "Read from converter"},
      {"Старт", "Start"},
      {"Стоп", "Stop"}}},
    {"ActionMainMenuBarOptionsSetup", {{"Открыть", "Open"}, {"Сохранить", "Save"}}},
    {"ActionMainMenuBarFirmwareUpgrade",
     {{"Обновить из файла", "Update from file"},
      {"Обновить с заменой таблицы 1:1", "Update from file with table 1:1"}}},
};

QString CaptionOf(QWidget* widget) {
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    return "?";
}

class LanguageTest : public ::testing::Test {
protected:
    LanguageTest() {
        form.resize(727, 555);
        form.show();
        progress.FormCreate(form.WorkingTable());
        form.AdoptProgressWindow(&progress);
        language = Find<QComboBox>(&form, "ComboBoxLanguage");
    }

    // As the user picks an item from the list.
    void Choose(int index) { language->setCurrentIndex(index); }

    void ExpectCaptions(bool english) {
        for (const Caption& c : ControlCaptions) {
            if (QWidget* widget = Find<QWidget>(&form, c.name)) {
                EXPECT_EQ(CaptionOf(widget), QString::fromUtf8(english ? c.english : c.russian)) << c.name;
            }
        }
        for (const TabCaption& c : TabCaptions) {
            auto* tabs = Find<QTabWidget>(&form, c.control);
            EXPECT_EQ(tabs->tabText(tabs->indexOf(Find<QWidget>(&form, c.page))),
                      QString::fromUtf8(english ? c.english : c.russian))
                << c.page;
        }
        for (const MenuCaptions& menu : Menus) {
            const QList<QAction*> items = Find<QMenuBar>(&form, menu.bar)->actions();
            ASSERT_EQ(items.size(), qsizetype(menu.items.size())) << menu.bar;
            for (std::size_t k = 0; k < menu.items.size(); ++k) {
                EXPECT_EQ(items[qsizetype(k)]->text(),
                          QString::fromUtf8(english ? menu.items[k].second : menu.items[k].first))
                    << menu.bar << " " << k;
            }
        }
        const QString outTitle = english ? "Converter OUT" : "Выход конвертера";
        for (const char* chart : {"ChartTableGraph", "ChartCompare", "ChartDashboard"})
            EXPECT_EQ(Find<QCustomPlot>(&form, chart)->yAxis->label(), outTitle) << chart;
        auto* log = Find<QCustomPlot>(&form, "ChartLog");
        EXPECT_EQ(log->xAxis->label(), english ? "Time" : "Время");
        EXPECT_EQ(log->yAxis->label(), english ? "Signal Level" : "Уровень Сигнала");
        EXPECT_EQ(progress.windowTitle(), english ? "Writing table" : "Запись таблицы");
    }

    int WarningLeftEdge() {
        Find<QTabWidget>(&form, "MainPageControl")->setCurrentWidget(Find<QWidget>(&form, "SetupTabSheet"));
        Find<QTabWidget>(&form, "PageControl1")
            ->setCurrentWidget(Find<QWidget>(&form, "TabSheetFirmwareUpdate"));
        QApplication::processEvents();
        return Find<QLabel>(&form, "LabelFollowFUpgrade")->geometry().left();
    }

    TForm1 form;
    TForm2 progress{&form};
    QComboBox* language = nullptr;
};

} // namespace

TEST_F(LanguageTest, EnglishAndBackGiveTheSwitchsCaptionsNotTheDesignOnes) {
    EXPECT_EQ(Find<QLabel>(&form, "LabelEnrichmentFactor")->text(), "Обогащение+%") << "the design caption";
    EXPECT_EQ(progress.windowTitle(), "Запись/Writing");
    EXPECT_TRUE(form.LiveRun()->SoundDir().isEmpty());

    Choose(1);
    ExpectCaptions(true);
    EXPECT_EQ(WarningLeftEdge(), 180);
    EXPECT_EQ(form.LiveRun()->SoundDir(), "Sound/");
    Choose(0);
    ExpectCaptions(false);
    EXPECT_EQ(WarningLeftEdge(), 56);
    EXPECT_EQ(form.LiveRun()->SoundDir(), "Sound/");
    // The sub-items keep their captions.
    EXPECT_EQ(Find<QMenuBar>(&form, "ActionMainMenuBarTableCompare")
                  ->actions()
                  .at(0)
                  ->menu()
                  ->actions()
                  .at(0)
                  ->text(),
              "&Tab1");
}

TEST_F(LanguageTest, TypedTextGivesRussianAndLeavesTheSoundFolder) {
    Choose(1);
    form.LiveRun()->SetSoundDir("Elsewhere/");
    language->setFocus();
    language->lineEdit()->selectAll();
    QTest::keyClicks(language->lineEdit(), "Deutsch");
    ASSERT_TRUE(QTest::qWaitFor([&] { return language->currentIndex() == -1; }, 1000));
    QApplication::processEvents();
    ExpectCaptions(false);
    EXPECT_EQ(form.LiveRun()->SoundDir(), "Elsewhere/");
}

TEST_F(LanguageTest, AProgressWindowAdoptedAfterASwitchTakesItsCaption) {
    Choose(1);
    TForm2 later(&form);
    form.AdoptProgressWindow(&later);
    EXPECT_EQ(later.windowTitle(), "Writing table");
}
