// The main window as it stands after start-up without a settings file: pages, captions, masks,
// defaults, gauges and the dialogs of the file actions.

#include "bar_gauge.h"
#include "file_action.h"
#include "gui_test_support.h"
#include "live_run.h"
#include "main_page.h"
#include "main_window.h"
#include "progress_window.h"
#include "up_down.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

namespace {

class MainWindowLayout : public ::testing::Test {
protected:
    TForm1 form;
};

TEST_F(MainWindowLayout, PagesInOrderWithTheirTabCaptions) {
    EXPECT_EQ(form.windowTitle(), "ZarniConfigurator V3.6A");
    const struct {
        const char* control;
        QTabWidget::TabPosition position;
        std::vector<std::pair<QString, QString>> pages; // object name, tab caption
    } controls[] = {
        {"MainPageControl",
         QTabWidget::South,
         {{"MainTabSheet", " "},
          {"TableTabSheet", "Таблица Замены"},
          {"LogTabSheet", "Графики лога"},
          {"DashboardTabSheet", "Панель приборов"},
          {"SetupTabSheet", "Настройки"}}},
        {"TablePageControl",
         QTabWidget::South,
         {{"TabSheetTableGraph", "График таблицы замены"},
          {"TabSheetTableCompare", "Устилита сравнения таблиц"}}},
        {"PageControl1",
         QTabWidget::South,
         {{"TabSheetAutotuningSetup", "Параметры автообучения"},
          {"TabSheetFirmwareUpdate", "Обновление прошивки"}}},
    };
    for (const auto& control : controls) {
        auto* tabs = Find<QTabWidget>(&form, control.control);
        ASSERT_TRUE(tabs);
        EXPECT_EQ(tabs->tabPosition(), control.position) << control.control;
        ASSERT_EQ(tabs->count(), int(control.pages.size())) << control.control;
        for (int i = 0; i < tabs->count(); ++i) {
            EXPECT_EQ(tabs->widget(i)->objectName(), control.pages[i].first) << control.control;
            EXPECT_EQ(tabs->tabText(i), control.pages[i].second) << control.control;
        }
        EXPECT_EQ(tabs->currentIndex(), 0) << control.control << " opens on its first page";
    }
}

TEST_F(MainWindowLayout, DesignCaptionsStandUntilTheLanguageIsSwitched) {
    // These differ from the Russian texts the language switch writes.
    const std::pair<const char*, const char*> labels[] = {{"LabelEnrichmentFactor", "Обогащение+%"},
                                                          {"LabelEnleanmentFactor", "Спад обогащения-%"},
                                                          {"LabelMafTimeCompare", "Выб-ка MAF 1/100сек *"},
                                                          {"LabelThresholdCompare", "Порог "},
                                                          {"LabelTpsThrhd", "Переход на Таб.№2"},
                                                          {"LabelFirmware", "Версия прошивки V "},
                                                          {"LabelTpsMin", "Min="},
                                                          {"LabelTpsMax", "Max="},
                                                          {"Label9", "Pulsations=0"}};
    for (const auto& [name, caption] : labels) {
        if (auto* label = Find<QLabel>(&form, name)) {
            EXPECT_EQ(label->text(), QString::fromUtf8(caption)) << name;
        }
    }
    EXPECT_EQ(form.MainPage()->FirmwareLabelPrefix(), "Версия прошивки V ");
    EXPECT_TRUE(form.LiveRun()->SoundDir().isEmpty());

    auto* graphBar = Find<QMenuBar>(&form, "ActionMainMenuBarTableGraph");
    ASSERT_TRUE(graphBar);
    EXPECT_EQ(graphBar->actions().at(4)->text(), "Копировать");
    auto* firmwareBar = Find<QMenuBar>(&form, "ActionMainMenuBarFirmwareUpgrade");
    ASSERT_TRUE(firmwareBar);
    EXPECT_EQ(firmwareBar->actions().at(1)->text(), "Обновить с заменой &1:1");

    TForm2 progress(&form);
    EXPECT_EQ(progress.windowTitle(), "Запись/Writing");
}

TEST_F(MainWindowLayout, ParameterBoxesTakeUpToThreeDigitsAndStartAtTheirDefaults) {
    const std::vector<std::pair<const char*, const char*>> boxes = {
        {"MaskEditSmoothMaf", "100"},       {"MaskEditTps", "100"},         {"MaskEditRpm", "100"},
        {"MaskEditMafTime", "4"},           {"MaskEditTreshold", "5"},      {"MaskEditEnrichmentFactor", "0"},
        {"MaskEditEnleanmentFactor", "50"}, {"MaskEditTpsThreshold", "255"}};
    std::vector<std::pair<QString, QString>> all;
    for (const auto& [name, text] : boxes) {
        all.emplace_back(name, text);
        QString compare = QString(name).replace("MaskEditSmoothMaf", "MaskEditMaf") + "%1Compare";
        all.emplace_back(compare.arg(1), text);
        all.emplace_back(compare.arg(2), text);
    }
    for (const auto& [name, text] : all) {
        auto* box = Find<QLineEdit>(&form, name);
        if (!box)
            continue;
        EXPECT_EQ(box->text(), text) << name.toStdString();
        // The enrichment factor is shown below 0 for stored values under 128, so it takes a sign.
        EXPECT_EQ(box->inputMask(), name.contains("EnrichmentFactor") ? "#000" : "000") << name.toStdString();
        EXPECT_FALSE(box->isReadOnly()) << name.toStdString();
    }

    // What the user can type: digits only, three at most.
    auto* smooth = Find<QLineEdit>(&form, "MaskEditSmoothMaf");
    ASSERT_TRUE(smooth);
    smooth->clear();
    QTest::keyClicks(smooth, "7x42");
    EXPECT_EQ(smooth->text(), "742");
}

TEST_F(MainWindowLayout, DashboardReadOutsAndCorrectionControls) {
    const struct {
        const char* name;
        const char* text;
        const char* mask;
        bool readOnly;
    } edits[] = {{"MaskEditO2", "", "", true},
                 {"MaskEditRpmDash", "3500RPM", "0000\\R\\P\\M", true},
                 {"MaskEditTpsDash", "100", "", true},
                 {"MaskEditCorrection", "0", "#000", true},
                 {"MaskEditMafNach", "0", "", true},
                 {"MaskEditMafKon", "0", "", true},
                 {"MaskEditDelta", "10", "#000", true},
                 {"MaskEditO2REF", "30", "", false},
                 {"MaskEditFast", "2", "", false},
                 {"MaskEditFine", "4", "", false},
                 {"MaskEditForcedIdleRpm", "1200", "", false},
                 {"MaskEditForcedIdleTps", "2", "", false}};
    for (const auto& e : edits) {
        auto* edit = Find<QLineEdit>(&form, e.name);
        if (!edit)
            continue;
        EXPECT_EQ(edit->text(), QString::fromUtf8(e.text)) << e.name;
        EXPECT_EQ(edit->inputMask(), QString::fromUtf8(e.mask)) << e.name;
        EXPECT_EQ(edit->isReadOnly(), e.readOnly) << e.name;
    }
    EXPECT_EQ(Find<QLineEdit>(&form, "MaskEditRpmDash")->displayText(), "3500RPM");
    EXPECT_EQ(Find<QLineEdit>(&form, "MaskEditO2REF")->toolTip(), "Hello");

    const struct {
        const char* name;
        int min, max, position;
    } upDowns[] = {{"UpDownCorrection", -255, 255, 0}, {"UpDown1", 0, 255, 10}};
    for (const auto& u : upDowns) {
        auto* upDown = Find<TUpDown>(&form, u.name);
        ASSERT_TRUE(upDown);
        EXPECT_EQ(upDown->Min(), u.min) << u.name;
        EXPECT_EQ(upDown->Max(), u.max) << u.name;
        EXPECT_EQ(upDown->Position(), u.position) << u.name;
    }
    for (const char* name : {"TrackBarMafNach", "TrackBarMafKon"}) {
        auto* bar = Find<QSlider>(&form, name);
        ASSERT_TRUE(bar);
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 255);
        EXPECT_EQ(bar->value(), 0);
        EXPECT_EQ(bar->tickPosition(), QSlider::NoTicks);
    }
    for (const char* name : {"CheckBoxAutocorr", "CheckBoxWotCorr"}) {
        auto* box = Find<QCheckBox>(&form, name);
        ASSERT_TRUE(box);
        EXPECT_FALSE(box->isChecked()) << name;
        EXPECT_TRUE(box->font().bold()) << name;
    }
    EXPECT_EQ(Find<QGroupBox>(&form, "GroupBoxCorr")->title(), "Коррекция");
}

TEST_F(MainWindowLayout, GaugesWithTheirRangesColoursAndStartingValues) {
    using Kind = TGauge::Kind;
    const struct {
        const char* name;
        Kind kind;
        int max;
        const char* colour;
        int progress;
    } gauges[] = {{"GaugeO2", Kind::VerticalBar, 255, "#01d10c", 255},
                  {"GaugeRpm", Kind::VerticalBar, 7000, "#a8d3ff", 3000},
                  {"GaugeTps", Kind::VerticalBar, 100, "#8000ff", 50},
                  {"GaugeMarker", Kind::VerticalBar, 128, "#ff0000", 50},
                  {"GaugeMaf_1", Kind::HorizontalBar, 255, "#3737ff", 128},
                  {"GaugeTps_1", Kind::HorizontalBar, 255, "#8000ff", 128},
                  {"GaugeConv", Kind::HorizontalBar, 255, "#ff8000", 128},
                  {"GaugeO2_1", Kind::HorizontalBar, 255, "#00cc00", 128}};
    for (const auto& g : gauges) {
        auto* gauge = Find<TGauge>(&form, g.name);
        ASSERT_TRUE(gauge);
        EXPECT_EQ(gauge->GaugeKind(), g.kind) << g.name;
        EXPECT_EQ(gauge->MinValue(), 0) << g.name;
        EXPECT_EQ(gauge->MaxValue(), g.max) << g.name;
        EXPECT_EQ(gauge->ForeColor().name(), g.colour) << g.name;
        EXPECT_EQ(gauge->Progress(), g.progress) << g.name;
        EXPECT_FALSE(gauge->ShowText()) << g.name;
    }
    auto* progress = Find<QProgressBar>(&form, "ProgressBar1");
    ASSERT_TRUE(progress);
    EXPECT_EQ(progress->value(), 50);
    EXPECT_EQ(progress->maximum(), 100);
}

TEST_F(MainWindowLayout, OptionsPageSelectorsAndGrid) {
    auto* o2 = Find<QComboBox>(&form, "ComboBoxO2");
    ASSERT_TRUE(o2);
    EXPECT_TRUE(o2->isEditable());
    EXPECT_EQ(o2->currentIndex(), -1);
    EXPECT_EQ(o2->currentText(), "0-1V Signal");
    QStringList items;
    for (int i = 0; i < o2->count(); ++i)
        items << o2->itemText(i);
    EXPECT_EQ(items, QStringList({"0-1V Signal", "Innovate MTX-L", "0-5V Signal", "AEM 30-41,42XX", ""}));

    auto* language = Find<QComboBox>(&form, "ComboBoxLanguage");
    ASSERT_TRUE(language);
    EXPECT_EQ(language->currentIndex(), 0);
    EXPECT_EQ(language->currentText(), "Русский");
    EXPECT_EQ(language->count(), 2);

    auto* ports = Find<QComboBox>(&form, "ComComboBox1");
    ASSERT_TRUE(ports);
    EXPECT_FALSE(ports->isEditable());
    EXPECT_EQ(ports->currentIndex(), -1);

    const struct {
        const char* name;
        bool checked;
        bool hidden;
    } radios[] = {{"RadioButtonIntEndsOn", false, false}, {"RadioButtonIntEndsOff", true, false},
                  {"RadioButtonVRise", true, false},      {"RadioButtonVFall", false, false},
                  {"RadioButtonO2ShowVAFR", true, true},  {"RadioButtonO2ShowN", false, true},
                  {"RadioButtonTPSN", true, true},        {"RadioButtonTPSPercent", false, true}};
    for (const auto& r : radios) {
        auto* radio = Find<QRadioButton>(&form, r.name);
        ASSERT_TRUE(radio);
        EXPECT_EQ(radio->isChecked(), r.checked) << r.name;
        EXPECT_EQ(radio->isHidden(), r.hidden) << r.name;
    }

    auto* grid = Find<QTableWidget>(&form, "StringGridO2Table");
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->rowCount(), 11);
    EXPECT_EQ(grid->columnCount(), 11);
    EXPECT_EQ(grid->columnWidth(0), 36);
    EXPECT_EQ(grid->rowHeight(10), 24);
    for (int row = 0; row < 11; ++row)
        for (int column = 0; column < 11; ++column)
            EXPECT_TRUE(!grid->item(row, column) || grid->item(row, column)->text().isEmpty());
}

TEST_F(MainWindowLayout, FileActionsCarryTheirDialogSettings) {
    using Kind = TFileAction::Kind;
    const struct {
        const char* name;
        Kind kind;
        const char* filter;
        const char* defaultExt;
        const char* fileName;
        const char* category;
    } actions[] = {{"LogFileOpen", Kind::OpenFile, "Log Files|*.log", "", "", "File"},
                   {"LogFileSave", Kind::SaveAs, "Log Files|*.log", "log", "", "File"},
                   {"Nastroiki_FileOpen", Kind::OpenFile, "Autotuning Files|*.cfg", "", "", "File"},
                   {"Nastroiki_FileSaveAs", Kind::SaveAs, "Autotuning Files|*.cfg", "", "config", "File"},
                   {"TabFileOpen", Kind::OpenFile, "Tab files|*.tab", ".tab", "", "File"},
                   {"FileOpenCompare", Kind::OpenFile, "Tab files|*.tab", ".tab", "", "File"},
                   {"TabFileSave", Kind::SaveAs, "Tab Files|*.tab", ".tab", "", "File"},
                   {"FileSaveAsCompare", Kind::SaveAs, "Tab Files|*.tab", ".tab", "", "File"},
                   {"FileOpenCompare2", Kind::OpenFile, "Tab File|*.tab", ".tab", "", "File"},
                   {"FileSaveAsCompare2", Kind::SaveAs, "Tab File|*.tab", ".tab", "", "File"},
                   {"FileOpenFirmware", Kind::OpenFile, "Firmware files|*.enc", "", "", "FileOpenfirmware"}};
    for (const auto& a : actions) {
        auto* action = Find<TFileAction>(&form, a.name);
        ASSERT_TRUE(action);
        EXPECT_EQ(action->DialogKind(), a.kind) << a.name;
        EXPECT_EQ(action->Filter, a.filter) << a.name;
        EXPECT_EQ(action->DefaultExt, a.defaultExt) << a.name;
        EXPECT_EQ(action->FileName, a.fileName) << a.name;
        EXPECT_EQ(action->Category, a.category) << a.name;
    }
    EXPECT_EQ(Find<TFileAction>(&form, "TabFileOpen")->DialogFilter(), "Tab files (*.tab)");
}

TEST(ProgressWindow, FixedSizeTranslucentWithoutSystemButtonsCentredOnTheMainWindow) {
    TForm1 form;
    form.setGeometry(100, 80, 727, 555);
    form.show();
    TForm2 progress(&form);
    EXPECT_TRUE(progress.isHidden());
    EXPECT_EQ(progress.size(), QSize(611, 51));
    EXPECT_EQ(progress.minimumSize(), progress.maximumSize());
    EXPECT_NEAR(progress.windowOpacity(), 220.0 / 255.0, 0.01);
    EXPECT_FALSE(progress.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(progress.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_EQ(progress.ProgressBar1->value(), 50);
    progress.show();
    EXPECT_EQ(progress.ProgressBar1->geometry(), progress.rect());
    EXPECT_LE((progress.frameGeometry().center() - form.frameGeometry().center()).manhattanLength(), 2);
    EXPECT_EQ(form.size(), QSize(727, 555)) << "every page fits the window's design size";
}

} // namespace
