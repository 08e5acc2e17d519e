#include "autotuning_setup_page.h"

#include "actions.h"
#include "autocorrection.h"
#include "control_factory.h"
#include "digit_boxes.h"
#include "digit_filter.h"
#include "edit_events.h"
#include "file_action.h"
#include "live_processing.h"
#include "log.h"
#include "menu_items.h"
#include "message_box.h"
#include "numbers.h"
#include "o2_target_grid.h"
#include "oxygen_sensor.h"
#include "page_layouts.h"
#include "path_text.h"
#include "rxtx.h"
#include "settings_file.h"
#include "string_grid_delegate.h"
#include "system_locale.h"
#include "table.h"
#include "typed_combo.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

#include <optional>
#include <stdexcept>

namespace {

QLineEdit* OptionEdit(const char* name, const QString& text) {
    auto* edit = NamedEdit(name, text);
    edit->setFixedWidth(48);
    return edit;
}

QRadioButton* NamedRadio(const char* name, const QString& caption, bool checked, bool hidden = false) {
    auto* radio = Named<QRadioButton>(name, caption);
    radio->setChecked(checked);
    if (hidden)
        radio->hide();
    return radio;
}

// One row per label and its edit box.
QGridLayout* LabelledRows(QWidget* group, std::initializer_list<std::pair<QLabel*, QLineEdit*>> rows) {
    auto* layout = new QGridLayout(group);
    int row = 0;
    for (auto [label, edit] : rows) {
        layout->addWidget(label, row, 0);
        layout->addWidget(edit, row++, 1);
    }
    return layout;
}

QTableWidget* TargetGridWidget() {
    auto* grid = Named<QTableWidget>("StringGridO2Table", 11, 11);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setMinimumSectionSize(1);
    grid->verticalHeader()->setMinimumSectionSize(1);
    grid->horizontalHeader()->setDefaultSectionSize(36);
    grid->verticalHeader()->setDefaultSectionSize(24);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setShowGrid(true);
    grid->setFixedSize(11 * 36 + 2 * grid->frameWidth(), 11 * 24 + 2 * grid->frameWidth());
    grid->setStyleSheet("QTableWidget { background-color: #CDCDCD; }");
    return grid;
}

// Start reads its fields strictly: a text that is not a whole number stops it.
int IntegerOf(const QLineEdit* edit) {
    const std::optional<int> value = strictInteger(edit->text().toStdString());
    if (!value)
        throw std::invalid_argument(
            QString("'%1' is not a valid integer value").arg(edit->text()).toStdString());
    return *value;
}

} // namespace

TAutotuningSetupPage::TAutotuningSetupPage(const Objects& objects) : objects(objects) {
    setObjectName("TabSheetAutotuningSetup");
    BuildLayout();
    objects.targetGrid.Bind(StringGridO2Table);
    AddItem(ActionMainMenuBarOptionsSetup, objects.actions.Nastroiki_FileOpen, "Открыть ");
    AddItem(ActionMainMenuBarOptionsSetup, objects.actions.Nastroiki_FileSaveAs, "Сохранить");
    ConnectHandlers();
}

void TAutotuningSetupPage::BuildLayout() {
    ActionMainMenuBarOptionsSetup = Named<QMenuBar>("ActionMainMenuBarOptionsSetup");
    LayPanelPage(this, ActionMainMenuBarOptionsSetup, BuildPanel());
}

QWidget* TAutotuningSetupPage::BuildPanel() {
    auto* panel = new QWidget;
    GroupBoxRefO2 =
        Named<QGroupBox>("GroupBoxRefO2", "Опорное значение сигнала лямбда зонда для автокоррекции");
    Label17 = NamedLabel("Label17", "O2Ref", true);
    MaskEditO2REF = OptionEdit("MaskEditO2REF", "30");
    MaskEditO2REF->setToolTip("Hello");
    ButtonFillLoadTableWithO2RefValue =
        Named<QPushButton>("ButtonFillLoadTableWithO2RefValue", "Заполнить таблицу значением O2Ref");
    StringGridO2Table = TargetGridWidget();
    Label18 = NamedLabel("Label18", "TPS %", true);
    Label19 = NamedLabel("Label19", "RPM", true);
    auto* refLayout = new QGridLayout(GroupBoxRefO2);
    auto* refRow = new QHBoxLayout;
    refRow->addWidget(Label17);
    refRow->addWidget(MaskEditO2REF);
    refRow->addWidget(ButtonFillLoadTableWithO2RefValue);
    refRow->addStretch(1);
    refLayout->addLayout(refRow, 0, 0, 1, 2);
    refLayout->addWidget(Label18, 1, 0, Qt::AlignVCenter);
    refLayout->addWidget(StringGridO2Table, 1, 1);
    refLayout->addWidget(Label19, 2, 1, Qt::AlignHCenter);

    GroupBox3 = Named<QGroupBox>("GroupBox3", "Autocorr intervals/Интервалы автокорр-ии");
    Label8 = NamedLabel("Label8", "Fast/Быстрая ");
    MaskEditFast = OptionEdit("MaskEditFast", "2");
    Label10 = NamedLabel("Label10", "Fine/Точная");
    MaskEditFine = OptionEdit("MaskEditFine", "4");
    Label11 = NamedLabel("Label11", "*1/10s");
    LabelledRows(GroupBox3, {{Label8, MaskEditFast}, {Label10, MaskEditFine}})
        ->addWidget(Label11, 0, 2, 2, 1);

    GroupBox2 = Named<QGroupBox>("GroupBox2", "Forced Idle/Принудительный ХХ");
    Label2 = NamedLabel("Label2", "RPM>");
    MaskEditForcedIdleRpm = OptionEdit("MaskEditForcedIdleRpm", "1200");
    Label3 = NamedLabel("Label3", "TPS % <");
    MaskEditForcedIdleTps = OptionEdit("MaskEditForcedIdleTps", "2");
    LabelledRows(GroupBox2, {{Label2, MaskEditForcedIdleRpm}, {Label3, MaskEditForcedIdleTps}});

    GroupBox1 = Named<QGroupBox>("GroupBox1", "Ends Interpolation/ Интерполяция концов");
    RadioButtonIntEndsOn = NamedRadio("RadioButtonIntEndsOn", "On/ВКЛ.", false);
    RadioButtonIntEndsOff = NamedRadio("RadioButtonIntEndsOff", "Off/Выкл.", true);
    auto* ends = new QVBoxLayout(GroupBox1);
    ends->addWidget(RadioButtonIntEndsOn);
    ends->addWidget(RadioButtonIntEndsOff);

    GroupBoxO2 = Named<QGroupBox>("GroupBoxO2", "Лямбда зонд");
    LabelO2Type = NamedLabel("LabelO2Type", "Тип");
    ComboBoxO2 = Named<QComboBox>("ComboBoxO2");
    ComboBoxO2->setEditable(true);
    ComboBoxO2->addItems({"0-1V Signal", "Innovate MTX-L", "0-5V Signal", "AEM 30-41,42XX", ""});
    ComboBoxO2->setCurrentIndex(-1);
    ComboBoxO2->setEditText("0-1V Signal");
    RadioButtonO2ShowVAFR = NamedRadio("RadioButtonO2ShowVAFR", "Отображать в V/AFR", true, true);
    RadioButtonO2ShowN = NamedRadio("RadioButtonO2ShowN", "Отображать в отсчетах АЦП N", false, true);
    auto* o2 = new QHBoxLayout(GroupBoxO2);
    o2->addWidget(LabelO2Type);
    o2->addWidget(ComboBoxO2, 1);
    o2->addWidget(RadioButtonO2ShowVAFR);
    o2->addWidget(RadioButtonO2ShowN);

    GroupBoxMaf = Named<QGroupBox>("GroupBoxMaf", "Штатный раходомер(VAF): при увеличении расхода воздуха");
    RadioButtonVRise = NamedRadio("RadioButtonVRise", "Выходное напряжение растет", true);
    RadioButtonVFall = NamedRadio("RadioButtonVFall", "Выходное напряжение падает (INVERT)", false);
    auto* maf = new QVBoxLayout(GroupBoxMaf);
    maf->addWidget(RadioButtonVRise);
    maf->addWidget(RadioButtonVFall);

    GroupBox4 = Named<QGroupBox>("GroupBox4", "TPS");
    ButtonCalibrate = Named<QPushButton>("ButtonCalibrate", "Калибровка");
    LabelTpsMin = NamedLabel("LabelTpsMin", "Min=");
    LabelTpsMax = NamedLabel("LabelTpsMax", "Max=");
    RadioButtonTPSN = NamedRadio("RadioButtonTPSN", "Отображать в N", true, true);
    RadioButtonTPSPercent = NamedRadio("RadioButtonTPSPercent", "Отображать в %", false, true);
    auto* tps = new QGridLayout(GroupBox4);
    tps->addWidget(ButtonCalibrate, 0, 0, 2, 1);
    tps->addWidget(LabelTpsMin, 0, 1);
    tps->addWidget(LabelTpsMax, 1, 1);
    tps->addWidget(RadioButtonTPSN, 2, 0);
    tps->addWidget(RadioButtonTPSPercent, 2, 1);

    for (QGroupBox* group :
         {GroupBoxRefO2, GroupBox3, GroupBox2, GroupBox1, GroupBoxO2, GroupBoxMaf, GroupBox4}) {
        group->layout()->setContentsMargins(6, 2, 6, 2);
        group->layout()->setSpacing(2);
    }
    auto* left = new QVBoxLayout;
    left->addWidget(GroupBoxRefO2);
    left->addWidget(GroupBoxMaf);
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    for (QGroupBox* group : {GroupBox3, GroupBox2, GroupBox1, GroupBoxO2, GroupBox4})
        right->addWidget(group);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(left);
    layout->addLayout(right, 1);
    return panel;
}

void TAutotuningSetupPage::ConnectHandlers() {
    new TStringGridDelegate(
        StringGridO2Table,
        [this](QPainter& canvas, int column, int row, const QRect& rect) {
            StringGridO2TableDrawCell(canvas, column, row, rect);
        },
        [this](int column, int row) { return StringGridO2TableGetEditMask(column, row); });
    connect(StringGridO2Table, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        // A grid without a current cell (cleared) selects nothing.
        if (row >= 0 && column >= 0)
            StringGridO2TableSelectCell(column, row);
    });
    connect(ButtonFillLoadTableWithO2RefValue, &QPushButton::clicked, this,
            &TAutotuningSetupPage::ButtonFillLoadTableWithO2RefValueClick);

    BindTypedSelection(*ComboBoxO2, this, [this] { ComboBoxO2Change(); });

    auto* reference = new TEditEvents(MaskEditO2REF);
    reference->OnEnter = [this] { MaskEditDeltaEnter(MaskEditO2REF); };
    reference->OnMouseEnter = [this] { MaskEditO2REFMouseEnter(); };
    reference->OnKeyPress = [this](char32_t& key) { MaskEditO2REFKeyPress(key); };
    for (QLineEdit* edit : {MaskEditForcedIdleRpm, MaskEditForcedIdleTps, MaskEditFast, MaskEditFine})
        BindDigitBox(edit);

    for (QRadioButton* radio : {RadioButtonVRise, RadioButtonVFall})
        connect(radio, &QRadioButton::clicked, this, &TAutotuningSetupPage::RadioButtonVRiseClick);
    for (QRadioButton* radio : {RadioButtonIntEndsOn, RadioButtonIntEndsOff})
        connect(radio, &QRadioButton::clicked, this, &TAutotuningSetupPage::RadioButtonIntEndsOnClick);
    connect(ButtonCalibrate, &QPushButton::clicked, this, &TAutotuningSetupPage::ButtonCalibrateClick);
}

int TAutotuningSetupPage::SensorType() const {
    return ComboBoxO2->currentIndex();
}

void TAutotuningSetupPage::SelectSensorTypeQuietly(int index) {
    const QSignalBlocker blocker(ComboBoxO2);
    ComboBoxO2->setCurrentIndex(index);
}

void TAutotuningSetupPage::SetSensorTypeEnabled(bool enabled) {
    ComboBoxO2->setEnabled(enabled);
}

void TAutotuningSetupPage::CopyOptionsTo(AutocorrOptions& options) const {
    options.OutputInverted = RadioButtonVFall->isChecked();
    options.IdleRpm = IntegerOf(MaskEditForcedIdleRpm);
    options.IdleTps = IntegerOf(MaskEditForcedIdleTps);
    options.FastInterval = IntegerOf(MaskEditFast);
    options.FineInterval = IntegerOf(MaskEditFine);
}

void TAutotuningSetupPage::ApplyLanguage(Language language) {
    SetMenuCaptions(ActionMainMenuBarOptionsSetup, {{"Открыть", "Open"}, {"Сохранить", "Save"}}, language);
    SetCaptions(
        {{GroupBoxRefO2,
          {"Опорное значение сигнала лямбда зонда для автокоррекции",
           "Reference value of O2 sensor signal for autocorrection"}},
         {GroupBoxO2, {"Лямбда зонд", "Oxygen sensor"}},
         {LabelO2Type, {"Тип", "Type"}},
         {RadioButtonO2ShowVAFR, {"Отображать в V/AFR", "show as V/AFR"}},
         {RadioButtonO2ShowN, {"Отображать в отсчетах АЦП N", "show as ADC N"}},
         {GroupBoxMaf,
          {"Штатный раходомер(VAF): при увеличении расхода воздуха",
           "Factory airflow meter(VAF): when airwlow rising"}},
         {RadioButtonVRise, {"Выходное напряжение растет", "Output voltage rising"}},
         {RadioButtonVFall, {"Выходное напряжение падает (INVERT)", "Output voltage falling (INVERT)"}},
         {ButtonCalibrate, {"Калибровка", "Calibration"}},
         {RadioButtonTPSN, {"Отображать в N", "Show as ADC N"}},
         {RadioButtonTPSPercent, {"Отображать в %", "Show as % "}},
         {ButtonFillLoadTableWithO2RefValue,
          {"Заполнить таблицу значением O2Ref", "Fill table with O2Ref value"}}},
        language);
}

void TAutotuningSetupPage::SaveTo(SettingsValues& values) const {
    values.sensorType = ComboBoxO2->currentIndex();
    values.showVafr = RadioButtonO2ShowVAFR->isChecked();
    values.vafRises = RadioButtonVRise->isChecked();
    values.tpsRaw = RadioButtonTPSN->isChecked();
    values.o2Reference = settingsNumber(MaskEditO2REF->text().toStdString(), 3);
    objects.targetGrid.Model().SaveTo(values);
    values.fastInterval = settingsNumber(MaskEditFast->text().toStdString(), 2);
    values.fineInterval = settingsNumber(MaskEditFine->text().toStdString(), 2);
    values.idleRpm = settingsNumber(MaskEditForcedIdleRpm->text().toStdString(), 4);
    values.idleTps = settingsNumber(MaskEditForcedIdleTps->text().toStdString(), 2);
}

void TAutotuningSetupPage::LoadSensorType(const SettingsRead& read) {
    if (!read.sensorType)
        return;
    {
        // An index the list does not hold selects nothing; the handler runs once, below.
        const QSignalBlocker blocker(ComboBoxO2);
        const int index = *read.sensorType;
        ComboBoxO2->setCurrentIndex(index >= 0 && index < ComboBoxO2->count() ? index : -1);
    }
    ComboBoxO2Change();
}

void TAutotuningSetupPage::LoadDisplayChoices(const SettingsRead& read) {
    const struct {
        const std::optional<bool>& stored;
        QRadioButton* button;
        QRadioButton* partner;
    } choices[] = {{read.showVafr, RadioButtonO2ShowVAFR, RadioButtonO2ShowN},
                   {read.vafRises, RadioButtonVRise, RadioButtonVFall},
                   {read.tpsRaw, RadioButtonTPSN, RadioButtonTPSPercent}};
    for (const auto& choice : choices) {
        if (choice.stored)
            (*choice.stored ? choice.button : choice.partner)->setChecked(true);
    }
    if (read.vafRises)
        RadioButtonVRiseClick();
}

void TAutotuningSetupPage::LoadO2Reference(const SettingsRead& read) {
    if (read.o2Reference)
        MaskEditO2REF->setText(QString::number(*read.o2Reference));
}

void TAutotuningSetupPage::LoadIntervals(const SettingsRead& read) {
    const std::pair<const std::optional<int>&, QLineEdit*> fields[] = {{read.fastInterval, MaskEditFast},
                                                                       {read.fineInterval, MaskEditFine},
                                                                       {read.idleRpm, MaskEditForcedIdleRpm},
                                                                       {read.idleTps, MaskEditForcedIdleTps}};
    for (const auto& [stored, edit] : fields) {
        if (stored)
            edit->setText(QString::number(*stored));
    }
}

void TAutotuningSetupPage::ShowCalibration() {
    LabelTpsMin->setText("Min=" + QString::number(objects.targetGrid.TpsMin()));
    LabelTpsMax->setText("Max=" + QString::number(objects.targetGrid.TpsMax()));
}

void TAutotuningSetupPage::ComboBoxO2Change() {
    MaskEditO2REF->setText(FromUtf8(DefaultO2Reference(ComboBoxO2->currentIndex())));
}

void TAutotuningSetupPage::MaskEditO2REFMouseEnter() {
    const std::optional<std::string> hint =
        O2ReferenceHint(MaskEditO2REF->text().toStdString(), ComboBoxO2->currentIndex(), DecimalSeparator());
    if (hint)
        MaskEditO2REF->setToolTip(QString::fromStdString(*hint));
}

void TAutotuningSetupPage::MaskEditO2REFKeyPress(char32_t& key) {
    if (!O2ReferenceKeyAccepted(key))
        RefuseKey(key, window());
}

QString TAutotuningSetupPage::StringGridO2TableGetEditMask(int, int row) {
    return O2TargetGrid::EditMaskFor(row);
}

void TAutotuningSetupPage::StringGridO2TableDrawCell(QPainter& canvas, int column, int row,
                                                     const QRect& rect) {
    objects.targetGrid.DrawCell(canvas, column, row, rect);
}

void TAutotuningSetupPage::StringGridO2TableSelectCell(int column, int row) {
    objects.targetGrid.SelectCell(column, row, ComboBoxO2->currentIndex());
}

void TAutotuningSetupPage::ButtonFillLoadTableWithO2RefValueClick() {
    objects.targetGrid.FillTargets(leadingInteger(MaskEditO2REF->text().toStdString()));
}

void TAutotuningSetupPage::RadioButtonVRiseClick() {
    const bool falling = RadioButtonVFall->isChecked();
    objects.workingTable.SetInvert(falling);
    objects.comparisonTable.SetInvert(falling);
    objects.log.Options.OutputInverted = falling;
}

void TAutotuningSetupPage::RadioButtonIntEndsOnClick() {
    const bool on = RadioButtonIntEndsOn->isChecked();
    objects.workingTable.SetEndsInterpolation(on);
    objects.comparisonTable.SetEndsInterpolation(on);
}

void TAutotuningSetupPage::ButtonCalibrateClick() {
    if (!objects.link.Connected())
        return;
    objects.actions.ActionStart->trigger();
    // A start that failed (a field that is not a number, a port failure) has told the user why; the
    // samples of an earlier run must not pass for a calibration.
    if (!objects.log.ReaderRunning())
        return;
    ShowMessage(
        "Release accelerator pedal fully, then press OK\n\nПоностью отпустите педаль акселератора и нажмите "
        "OK");
    ShowMessage(
        "Depress accelerator pedal down to the floor , then press OK\nTo reset calibration to 0-255 values "
        "don't tuch accelerator pedal and press OK\n\nВыжмите педаль акселератора до пола и нажмите ОК\nДля "
        "сброса калибровок в значения0-255 не трогайте педаль акселератора и нажмите ОК");
    objects.actions.ActionStop->trigger();
    const ThrottleRange range = CalibrateThrottle(objects.log.Store().Lock());
    objects.targetGrid.SetCalibration(range.min, range.max);
    ShowCalibration();
}
