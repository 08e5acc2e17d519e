#include "dashboard_page.h"

#include "actions.h"
#include "autocorrection.h"
#include "bar_gauge.h"
#include "colour.h"
#include "control_factory.h"
#include "digit_boxes.h"
#include "error_box.h"
#include "log.h"
#include "menu_items.h"
#include "messages.h"
#include "o2_target_grid.h"
#include "page_layouts.h"
#include "table.h"
#include "up_down.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <exception>

namespace {

TGauge* NamedGauge(const char* name, TGauge::Kind kind, int maxValue, const QColor& colour, int progress) {
    auto* gauge = Named<TGauge>(name, kind);
    gauge->SetRange(0, maxValue);
    gauge->SetForeColor(colour);
    gauge->SetProgress(progress);
    return gauge;
}

QSlider* NamedTrackBar(const char* name) {
    auto* slider = Named<QSlider>(name, Qt::Horizontal);
    slider->setRange(0, 255);
    slider->setTickPosition(QSlider::NoTicks);
    slider->setValue(0);
    return slider;
}

QCheckBox* BoldCheckBox(const char* name, const QString& caption) {
    auto* box = Named<QCheckBox>(name, caption);
    QFont font = box->font();
    font.setBold(true);
    box->setFont(font);
    return box;
}

// A gauge with its caption or read-out in one column.
QVBoxLayout* GaugeColumn(QWidget* above, TGauge* gauge, QWidget* below) {
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    if (above)
        column->addWidget(above, 0, Qt::AlignHCenter);
    column->addWidget(gauge, 1, Qt::AlignHCenter);
    if (below)
        column->addWidget(below, 0, Qt::AlignHCenter);
    return column;
}

} // namespace

TDashboardPage::TDashboardPage(TActions& actions, Table& workingTable, Log& log, O2TargetGrid& targetGrid)
    : workingTable(workingTable), log(log), targetGrid(targetGrid) {
    setObjectName("DashboardTabSheet");
    SetBackground(this, PageBlue);
    BuildLayout();
    workingTable.SetupDashboard(ChartDashboard);

    QMenuBar* bar = ActionMainMenuBarDashboard;
    AddItem(bar, actions.ActionSaveALL);
    AddItem(bar, actions.ActionWriteConverter);
    AddItem(bar, actions.ActionReadCoverter);
    AddItem(bar, actions.ActionStart, "Старт");
    AddItem(bar, actions.ActionStop, "Стоп");
    ConnectHandlers();
}

void TDashboardPage::BuildLayout() {
    ActionMainMenuBarDashboard = Named<QMenuBar>("ActionMainMenuBarDashboard");
    ChartDashboard = Named<QCustomPlot>("ChartDashboard");

    GaugeO2 = NamedGauge("GaugeO2", TGauge::Kind::VerticalBar, 255, QColor("#01D10C"), 255);
    GaugeRpm = NamedGauge("GaugeRpm", TGauge::Kind::VerticalBar, 7000, QColor("#A8D3FF"), 3000);
    GaugeTps = NamedGauge("GaugeTps", TGauge::Kind::VerticalBar, 100, QColor("#8000FF"), 50);
    GaugeMarker = NamedGauge("GaugeMarker", TGauge::Kind::VerticalBar, 128, QColor("#FF0000"), 50);
    LabelOS = NamedLabel("LabelOS", "Лямбда");
    MaskEditO2 = ReadOnlyEdit("MaskEditO2", "");
    MaskEditRpmDash = ReadOnlyEdit("MaskEditRpmDash", "3500", "0000\\R\\P\\M; ", 7);
    MaskEditTpsDash = ReadOnlyEdit("MaskEditTpsDash", "100");
    Label15 = NamedLabel("Label15", "Marker");
    for (QLineEdit* readOut : {MaskEditO2, MaskEditRpmDash, MaskEditTpsDash})
        readOut->setFixedWidth(72);

    auto* gauges = new QHBoxLayout;
    gauges->addLayout(GaugeColumn(LabelOS, GaugeO2, MaskEditO2));
    gauges->addLayout(GaugeColumn(nullptr, GaugeRpm, MaskEditRpmDash));
    gauges->addLayout(GaugeColumn(nullptr, GaugeTps, MaskEditTpsDash));
    gauges->addLayout(GaugeColumn(nullptr, GaugeMarker, Label15));

    GroupBoxCorr = Named<QGroupBox>("GroupBoxCorr", "Коррекция");
    QFont bold = GroupBoxCorr->font();
    bold.setBold(true);
    GroupBoxCorr->setFont(bold);
    SetBackground(GroupBoxCorr, QColor("#C0DCC0"));

    MaskEditCorrection = ReadOnlyEdit("MaskEditCorrection", "0", SignedThreeDigitMask, 4);
    UpDownCorrection = Named<TUpDown>("UpDownCorrection");
    UpDownCorrection->SetRange(-255, 255);
    UpDownCorrection->SetAssociate(MaskEditCorrection);
    ButtonAplToTable = Named<QPushButton>("ButtonAplToTable", "Внести в таблицу");
    ButtonClrCorrWindow = Named<QPushButton>("ButtonClrCorrWindow", "Сброс в окне коррекции");
    ButtonClrAllLearned = Named<QPushButton>("ButtonClrAllLearned", "Сброс всех обученных точек");
    CheckBoxAutocorr = BoldCheckBox("CheckBoxAutocorr", "Автокоррекция");
    CheckBoxWotCorr = BoldCheckBox("CheckBoxWotCorr", "MAF smoothing/сглаживание");
    LabelMafBeg = NamedLabel("LabelMafBeg", "MAF нач.");
    MaskEditMafNach = ReadOnlyEdit("MaskEditMafNach", "0");
    TrackBarMafNach = NamedTrackBar("TrackBarMafNach");
    LabelMafEnd = NamedLabel("LabelMafEnd", "MAF кон.");
    MaskEditMafKon = ReadOnlyEdit("MaskEditMafKon", "0");
    TrackBarMafKon = NamedTrackBar("TrackBarMafKon");
    Label9 = NamedLabel("Label9", "Pulsations=0", true);
    Label13 = NamedLabel("Label13", "max.");
    MaskEditDelta = ReadOnlyEdit("MaskEditDelta", "10", SignedThreeDigitMask, 4);
    UpDown1 = Named<TUpDown>("UpDown1");
    UpDown1->SetRange(0, 255);
    UpDown1->SetPosition(10);
    UpDown1->SetAssociate(MaskEditDelta);
    // The group's caption is bold; its controls keep the normal weight unless marked bold.
    QFont normal = GroupBoxCorr->font();
    normal.setBold(false);
    for (QWidget* child : std::initializer_list<QWidget*>{
             MaskEditCorrection, ButtonAplToTable, ButtonClrCorrWindow, ButtonClrAllLearned, LabelMafBeg,
             MaskEditMafNach, LabelMafEnd, MaskEditMafKon, Label13, MaskEditDelta})
        child->setFont(normal);
    for (QLineEdit* edit : {MaskEditCorrection, MaskEditMafNach, MaskEditMafKon, MaskEditDelta})
        edit->setFixedWidth(44);

    auto* corr = new QGridLayout(GroupBoxCorr);
    corr->setVerticalSpacing(3);
    corr->addWidget(MaskEditCorrection, 0, 0);
    corr->addWidget(UpDownCorrection, 0, 1);
    corr->addWidget(ButtonAplToTable, 0, 2);
    corr->addWidget(ButtonClrCorrWindow, 1, 2);
    corr->addWidget(ButtonClrAllLearned, 2, 2);
    corr->addWidget(CheckBoxAutocorr, 1, 0, 1, 2);
    corr->addWidget(CheckBoxWotCorr, 2, 0, 1, 2);
    corr->addWidget(LabelMafBeg, 3, 0);
    corr->addWidget(MaskEditMafNach, 3, 1);
    corr->addWidget(TrackBarMafNach, 3, 2);
    corr->addWidget(LabelMafEnd, 4, 0);
    corr->addWidget(MaskEditMafKon, 4, 1);
    corr->addWidget(TrackBarMafKon, 4, 2);
    corr->addWidget(Label9, 5, 0, 1, 2);
    auto* delta = new QHBoxLayout;
    delta->addWidget(Label13);
    delta->addWidget(MaskEditDelta);
    delta->addWidget(UpDown1);
    delta->addStretch(1);
    corr->addLayout(delta, 5, 2);

    auto* left = new QVBoxLayout;
    left->addWidget(ChartDashboard, 1);
    left->addWidget(GroupBoxCorr);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(gauges);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->addWidget(ActionMainMenuBarDashboard);
    layout->addLayout(body, 1);
}

void TDashboardPage::ConnectHandlers() {
    connect(UpDown1, &TUpDown::Changing, this, &TDashboardPage::UpDown1Changing);
    connect(UpDownCorrection, &TUpDown::Moved, this, [this] { SetCorrection(UpDownCorrection->Position()); });
    for (QCheckBox* box : {CheckBoxAutocorr, CheckBoxWotCorr})
        connect(box, &QCheckBox::clicked, this, &TDashboardPage::CheckBoxAutocorrClick);
    for (QSlider* bar : {TrackBarMafNach, TrackBarMafKon})
        connect(bar, &QSlider::valueChanged, this, [this, bar] { TrackBarMafNachChange(bar); });
    connect(ButtonAplToTable, &QPushButton::clicked, this, &TDashboardPage::ButtonAplToTableClick);
    connect(ButtonClrCorrWindow, &QPushButton::clicked, this, &TDashboardPage::ButtonClrCorrWindowClick);
    connect(ButtonClrAllLearned, &QPushButton::clicked, this, &TDashboardPage::ButtonClrAllLearnedClick);
    BindDigitBox(MaskEditDelta);
    for (TGauge* gauge : {GaugeTps, GaugeRpm})
        connect(gauge, &TGauge::ForeColorChanged, this, &TDashboardPage::BarColoursChanged);
}

void TDashboardPage::CopyOptionsTo(AutocorrOptions& options) const {
    options.MaxWindowSpan = UpDown1->Position();
    options.AutocorrEnabled = CheckBoxAutocorr->isChecked();
}

int TDashboardPage::MaxWindowSpan() const {
    return UpDown1->Position();
}

void TDashboardPage::SetMaxWindowSpan(int span) {
    UpDown1->SetPosition(span);
}

void TDashboardPage::ApplyLanguage(Language language) {
    SetMenuCaptions(ActionMainMenuBarDashboard,
                    {{"Сохранить все", "Save all"},
                     {"Записать в конвертер", "Write to converter"},
                     {"Считать из конвертера", "Read from converter"},
                     {"Старт", "Start"},
                     {"Стоп", "Stop"}},
                    language);
    ChartDashboard->yAxis->setLabel(ConverterOutTitle.In(language));
    ChartDashboard->replot();
    SetCaptions({{LabelOS, {"Лямбда", "O2 Sensor"}},
                 {GroupBoxCorr, {"Коррекция", "Correction"}},
                 {CheckBoxAutocorr, {"Автокоррекция", "Autocorrection"}},
                 {LabelMafBeg, {"MAF нач.", "MAF beg."}},
                 {LabelMafEnd, {"MAF кон.", "MAF end"}},
                 {ButtonAplToTable, {"Внести в таблицу", "Apply to table"}},
                 {ButtonClrAllLearned, {"Сброс всех обученных точек", "Clear all trained points"}},
                 {ButtonClrCorrWindow, {"Сброс в окне коррекции", "Clear only in corr.window"}}},
                language);
}

QColor TDashboardPage::ThrottleBarColour() const {
    return GaugeTps->ForeColor();
}

QColor TDashboardPage::SpeedBarColour() const {
    return GaugeRpm->ForeColor();
}

void TDashboardPage::UpDown1Changing() {
    log.Options.MaxWindowSpan = UpDown1->Position();
}

void TDashboardPage::CheckBoxAutocorrClick() {
    log.Options.AutocorrEnabled = CheckBoxAutocorr->isChecked();
    log.Options.SmoothingEnabled = CheckBoxWotCorr->isChecked();
}

void TDashboardPage::TrackBarMafNachChange(QSlider* sender) {
    if (sender == TrackBarMafNach) {
        // Moving one bar past the other drags the other along, so the window never inverts.
        if (TrackBarMafKon->value() < TrackBarMafNach->value())
            TrackBarMafKon->setValue(TrackBarMafNach->value());
        MaskEditMafNach->setText(QString::number(TrackBarMafNach->value()));
    } else {
        if (TrackBarMafNach->value() > TrackBarMafKon->value())
            TrackBarMafNach->setValue(TrackBarMafKon->value());
        MaskEditMafKon->setText(QString::number(TrackBarMafKon->value()));
    }
    Label9->setText("Pulsations=" + QString::number(TrackBarMafKon->value() - TrackBarMafNach->value()));
    try {
        workingTable.SetCorrectionWindow(log.CurrentCorrection(), TrackBarMafNach->value(),
                                         TrackBarMafKon->value(), CorrectionSend::Window);
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}

void TDashboardPage::SetCorrection(int value) {
    value = std::clamp(value, UpDownCorrection->Min(), UpDownCorrection->Max());
    if (value == log.CurrentCorrection())
        return;
    log.SetCurrentCorrection(value);
    UpDownCorrection->SetPosition(value);
    MaskEditCorrectionChange();
}

void TDashboardPage::MaskEditCorrectionChange() {
    try {
        workingTable.SetCorrectionWindow(log.CurrentCorrection(), TrackBarMafNach->value(),
                                         TrackBarMafKon->value(), CorrectionSend::Correction);
    } catch (...) {
        // A correction the converter did not take is sent again with the next change.
    }
}

void TDashboardPage::ButtonAplToTableClick() {
    const CorrectionScope scope = log.LiveStopped ? CorrectionScope::WholeWindow : CorrectionScope::Centre;
    workingTable.ApplyCorrection(log.CurrentCorrection(), TrackBarMafNach->value(), TrackBarMafKon->value(),
                                 scope);
    SetCorrection(0);
    workingTable.SendTablesLive(log.Stream());
}

void TDashboardPage::ButtonClrCorrWindowClick() {
    workingTable.ClearLearned(TrackBarMafNach->value(), TrackBarMafKon->value());
}

void TDashboardPage::ButtonClrAllLearnedClick() {
    workingTable.ClearLearned(TrackBarMafNach->minimum(), TrackBarMafKon->maximum());
}

void TDashboardPage::ShowDashData(const TMsgDashData& dash) {
    GaugeO2->SetProgress(dash.O2Level);
    GaugeO2->SetForeColor(ColourFromBgr(dash.O2Colour));
    GaugeRpm->SetProgress(dash.Rpm);
    MaskEditRpmDash->setText(QString::number(dash.Rpm));
    GaugeTps->SetProgress(targetGrid.TpsPercent(dash.TpsRaw));
    MaskEditTpsDash->setText(QString::fromStdString(dash.TpsText));
    GaugeMarker->SetProgress(dash.MarkerValue);
    MaskEditO2->setText(QString::fromStdString(dash.O2Text));
}

void TDashboardPage::DoAutocorrStep(const TMsgAutocorrStep& step) {
    // Each move may send the window and meet a failure's box, inside which the run may stop.
    TrackBarMafNach->setValue(step.WindowStart);
    if (log.TickStopped())
        return;
    TrackBarMafKon->setValue(step.WindowEnd);
    if (log.TickStopped())
        return;
    if (step.ResetCorrection && !step.ApplyNow) {
        SetCorrection(0);
        return;
    }
    SetCorrection(log.CurrentCorrection() + step.CorrectionStep);
    if (step.ApplyNow)
        ButtonAplToTableClick();
}
