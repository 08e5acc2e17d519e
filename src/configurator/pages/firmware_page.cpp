#include "firmware_page.h"

#include "actions.h"
#include "bar_gauge.h"
#include "colour.h"
#include "control_factory.h"
#include "file_action.h"
#include "firmware_manual.h"
#include "menu_items.h"
#include "messages.h"
#include "page_layouts.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TFirmwarePage::TFirmwarePage(TActions& actions) {
    setObjectName("TabSheetFirmwareUpdate");
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

    GroupBox5 = Named<QGroupBox>("GroupBox5", "Factory Test");
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
    connect(Button2, &QPushButton::clicked, this, &TFirmwarePage::StartPressed);
    connect(Button6, &QPushButton::clicked, this, &TFirmwarePage::StopPressed);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button2);
    buttons->addWidget(Button6);
    buttons->addStretch(1);
    factory->addLayout(buttons, row, 0, 1, 2);

    // The warning sits after an indent that the language switch sets.
    auto* follow = new QHBoxLayout;
    follow->setSpacing(0);
    followIndent = new QSpacerItem(0, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    follow->addItem(followIndent);
    follow->addWidget(LabelFollowFUpgrade);
    follow->addStretch(1);

    auto* layout = panelLayout = new QVBoxLayout(panel);
    layout->addWidget(LabelFirmwareManual);
    layout->addSpacing(12);
    layout->addWidget(LabelAttention);
    layout->addLayout(follow);
    layout->addSpacing(12);
    layout->addWidget(ProgressBar1);
    layout->addSpacing(12);
    layout->addWidget(GroupBox5);
    layout->addStretch(1);
    LayPanelPage(this, ActionMainMenuBarFirmwareUpgrade, panel);

    AddItem(ActionMainMenuBarFirmwareUpgrade, actions.FileOpenFirmware);
    AddItem(ActionMainMenuBarFirmwareUpgrade, actions.ActionUpgradeFirmwareOneToOne,
            "Обновить с заменой &1:1");
}

bool TFirmwarePage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == LabelFirmwareManual && event->type() == QEvent::MouseButtonRelease) {
        LabelFirmwareManualClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFirmwarePage::LabelFirmwareManualClick() {
    OpenFirmwareManual();
}

void TFirmwarePage::ApplyLanguage(Language language) {
    SetMenuCaptions(ActionMainMenuBarFirmwareUpgrade,
                    {{"Обновить из файла", "Update from file"},
                     {"Обновить с заменой таблицы 1:1", "Update from file with table 1:1"}},
                    language);
    SetCaptions({{LabelFirmwareManual, {"Инструкция по обновлению прошивки", "Firmware update instruction"}},
                 {LabelAttention, {"Внимание!!!", "Attention!!!"}},
                 {LabelFollowFUpgrade,
                  {"Строго соблюдайте инструкцию по обновлению прошивки устройства",
                   "Follow firmware upgrade instructions carefully"}}},
                language);
    const int leftEdge = language == Language::English ? 180 : 56;
    followIndent->changeSize(leftEdge - panelLayout->contentsMargins().left(), 0, QSizePolicy::Fixed,
                             QSizePolicy::Minimum);
    panelLayout->invalidate();
}

void TFirmwarePage::ShowDashData(const TMsgDashData& dash) {
    GaugeO2_1->SetProgress(dash.O2Level);
    GaugeO2_1->SetForeColor(ColourFromBgr(dash.O2Colour));
    GaugeConv->SetProgress(dash.ConverterOut);
    GaugeTps_1->SetProgress(dash.TpsRaw);
    GaugeMaf_1->SetProgress(dash.MafIn);
}

void TFirmwarePage::ShowUploadProgress(int percent) {
    ProgressBar1->setValue(percent);
    ProgressBar1->repaint();
}
