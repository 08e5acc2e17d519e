// The settings pages: the autotuning options and the firmware update.

#include "main_window.h"

#include "bar_gauge.h"
#include "control_factory.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QGroupBox* NamedGroup(const char* name, const QString& caption) {
    return Named<QGroupBox>(name, caption);
}

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

QWidget* PanelPage(const char* name, QMenuBar* menuBar, QWidget* panel) {
    auto* page = Named<QWidget>(name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(menuBar);
    layout->addWidget(panel, 1);
    SetBackground(panel, QColor("#A6CAF0"));
    return page;
}

} // namespace

QWidget* TForm1::BuildAutotuningSetupPage() {
    ActionMainMenuBarOptionsSetup = Named<QMenuBar>("ActionMainMenuBarOptionsSetup");
    auto* panel = new QWidget;

    GroupBoxRefO2 = NamedGroup("GroupBoxRefO2", "Опорное значение сигнала лямбда зонда для автокоррекции");
    Label17 = NamedLabel("Label17", "O2Ref", true);
    MaskEditO2REF = OptionEdit("MaskEditO2REF", "30");
    MaskEditO2REF->setToolTip("Hello");
    ButtonFillLoadTableWithO2RefValue =
        Named<QPushButton>("ButtonFillLoadTableWithO2RefValue", "Заполнить таблицу значением O2Ref");
    StringGridO2Table = Named<QTableWidget>("StringGridO2Table", 11, 11);
    StringGridO2Table->horizontalHeader()->hide();
    StringGridO2Table->verticalHeader()->hide();
    StringGridO2Table->horizontalHeader()->setMinimumSectionSize(1);
    StringGridO2Table->verticalHeader()->setMinimumSectionSize(1);
    StringGridO2Table->horizontalHeader()->setDefaultSectionSize(36);
    StringGridO2Table->verticalHeader()->setDefaultSectionSize(24);
    StringGridO2Table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridO2Table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGridO2Table->setShowGrid(true);
    StringGridO2Table->setFixedSize(11 * 36 + 2 * StringGridO2Table->frameWidth(),
                                    11 * 24 + 2 * StringGridO2Table->frameWidth());
    StringGridO2Table->setStyleSheet("QTableWidget { background-color: #CDCDCD; }");
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

    GroupBox3 = NamedGroup("GroupBox3", "Autocorr intervals/Интервалы автокорр-ии");
    Label8 = NamedLabel("Label8", "Fast/Быстрая ");
    MaskEditFast = OptionEdit("MaskEditFast", "2");
    Label10 = NamedLabel("Label10", "Fine/Точная");
    MaskEditFine = OptionEdit("MaskEditFine", "4");
    Label11 = NamedLabel("Label11", "*1/10s");
    LabelledRows(GroupBox3, {{Label8, MaskEditFast}, {Label10, MaskEditFine}})
        ->addWidget(Label11, 0, 2, 2, 1);

    GroupBox2 = NamedGroup("GroupBox2", "Forced Idle/Принудительный ХХ");
    Label2 = NamedLabel("Label2", "RPM>");
    MaskEditForcedIdleRpm = OptionEdit("MaskEditForcedIdleRpm", "1200");
    Label3 = NamedLabel("Label3", "TPS % <");
    MaskEditForcedIdleTps = OptionEdit("MaskEditForcedIdleTps", "2");
    LabelledRows(GroupBox2, {{Label2, MaskEditForcedIdleRpm}, {Label3, MaskEditForcedIdleTps}});

    GroupBox1 = NamedGroup("GroupBox1", "Ends Interpolation/ Интерполяция концов");
    RadioButtonIntEndsOn = NamedRadio("RadioButtonIntEndsOn", "On/ВКЛ.", false);
    RadioButtonIntEndsOff = NamedRadio("RadioButtonIntEndsOff", "Off/Выкл.", true);
    auto* ends = new QVBoxLayout(GroupBox1);
    ends->addWidget(RadioButtonIntEndsOn);
    ends->addWidget(RadioButtonIntEndsOff);

    GroupBoxO2 = NamedGroup("GroupBoxO2", "Лямбда зонд");
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

    GroupBoxMaf = NamedGroup("GroupBoxMaf", "Штатный раходомер(VAF): при увеличении расхода воздуха");
    RadioButtonVRise = NamedRadio("RadioButtonVRise", "Выходное напряжение растет", true);
    RadioButtonVFall = NamedRadio("RadioButtonVFall", "Выходное напряжение падает (INVERT)", false);
    auto* maf = new QVBoxLayout(GroupBoxMaf);
    maf->addWidget(RadioButtonVRise);
    maf->addWidget(RadioButtonVFall);

    GroupBox4 = NamedGroup("GroupBox4", "TPS");
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

    return PanelPage("TabSheetAutotuningSetup", ActionMainMenuBarOptionsSetup, panel);
}

QWidget* TForm1::BuildFirmwareUpdatePage() {
    ActionMainMenuBarFirmwareUpgrade = Named<QMenuBar>("ActionMainMenuBarFirmwareUpgrade");
    auto* panel = new QWidget;

    LabelFirmwareManual = NamedLabel("LabelFirmwareManual", "Инструкция по обновлению прошивки");
    QFont link = LabelFirmwareManual->font();
    link.setUnderline(true);
    LabelFirmwareManual->setFont(link);
    LabelFirmwareManual->setStyleSheet("color: navy;");
    LabelFirmwareManual->setCursor(Qt::PointingHandCursor);
    LabelFirmwareManual->installEventFilter(this);
    LabelAttention = NamedLabel("LabelAttention", "Внимание!!!", true);
    QFont large = LabelAttention->font();
    large.setPointSize(16);
    LabelAttention->setFont(large);
    LabelFollowFUpgrade = NamedLabel("LabelFollowFUpgrade",
                                     "Строго соблюдайте инструкцию по обновлению прошивки устройства", true);
    ProgressBar1 = Named<QProgressBar>("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(50);

    GroupBox5 = NamedGroup("GroupBox5", "Factory Test");
    const struct {
        TGauge** gauge;
        const char* name;
        QLabel** label;
        const char* labelName;
        const char* caption;
        const char* colour;
    } factoryGauges[] = {{&GaugeMaf_1, "GaugeMaf_1", &Label26, "Label26", "MAF", "#3737FF"},
                         {&GaugeTps_1, "GaugeTps_1", &Label27, "Label27", "TPS", "#8000FF"},
                         {&GaugeConv, "GaugeConv", &Label28, "Label28", "Conv", "#FF8000"},
                         {&GaugeO2_1, "GaugeO2_1", &Label29, "Label29", "O2", "#00CC00"}};
    auto* factory = new QGridLayout(GroupBox5);
    int row = 0;
    for (const auto& entry : factoryGauges) {
        *entry.gauge = Named<TGauge>(entry.name, TGauge::Kind::HorizontalBar);
        (*entry.gauge)->SetRange(0, 255);
        (*entry.gauge)->SetForeColor(QColor(entry.colour));
        (*entry.gauge)->SetProgress(128);
        *entry.label = NamedLabel(entry.labelName, entry.caption);
        factory->addWidget(*entry.label, row, 0);
        factory->addWidget(*entry.gauge, row, 1);
        ++row;
    }
    Button2 = Named<QPushButton>("Button2", "Start");
    Button6 = Named<QPushButton>("Button6", "Stop");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button2);
    buttons->addWidget(Button6);
    buttons->addStretch(1);
    factory->addLayout(buttons, row, 0, 1, 2);

    auto* layout = new QVBoxLayout(panel);
    layout->addWidget(LabelFirmwareManual);
    layout->addSpacing(12);
    layout->addWidget(LabelAttention);
    layout->addWidget(LabelFollowFUpgrade);
    layout->addSpacing(12);
    layout->addWidget(ProgressBar1);
    layout->addSpacing(12);
    layout->addWidget(GroupBox5);
    layout->addStretch(1);

    return PanelPage("TabSheetFirmwareUpdate", ActionMainMenuBarFirmwareUpgrade, panel);
}
