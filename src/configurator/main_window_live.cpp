// The main window's side of a live run: Start and Stop, the bus messages, the dashboard read-outs,
// the correction group, the keys, the throttle calibration and the sound cues.

#include "main_window.h"

#include "bar_gauge.h"
#include "colour.h"
#include "error_box.h"
#include "log.h"
#include "message_box.h"
#include "numbers.h"
#include "o2_target_grid.h"
#include "rxtx.h"
#include "sound_player.h"
#include "table.h"
#include "up_down.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include <algorithm>
#include <stdexcept>

namespace {

const QString NoPortMessage = "Please choose right COM port\n\n Пожалуйста выберите правильный COM порт";

constexpr int NeutralColour = 0x6CF0ED;

// The cue of an autocorrection state colour; none for the neutral and full-throttle states.
QString CueOf(int stateColour) {
    switch (stateColour) {
    case 0x0000FF:
        return "puls.wav";
    case 0x008000:
        return "corr.wav";
    case 0x00FF00:
        return "training.wav";
    case 0x808080:
        return "ready.wav";
    case 0xF0CAA6:
        return "forcedidle.wav";
    default:
        return {};
    }
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

void TForm1::CreateLog() {
    log = new Log(this, *link, *bus, *workingTable, *O2Grid);
    sounds = std::make_unique<TSoundPlayer>();
    connect(ActionStart, &QAction::triggered, this, &TForm1::ActionStartExecute);
    connect(Button2, &QPushButton::clicked, this, &TForm1::ActionStartExecute);
    connect(ActionStop, &QAction::triggered, this, &TForm1::ActionStopExecute);
    connect(Button6, &QPushButton::clicked, this, &TForm1::ActionStopExecute);
    connect(UpDown1, &TUpDown::Changing, this, &TForm1::UpDown1Changing);
    for (QCheckBox* box : {CheckBoxAutocorr, CheckBoxWotCorr})
        connect(box, &QCheckBox::clicked, this, &TForm1::CheckBoxAutocorrClick);
    connect(ButtonCalibrate, &QPushButton::clicked, this, &TForm1::ButtonCalibrateClick);
    for (QSlider* bar : {TrackBarMafNach, TrackBarMafKon})
        connect(bar, &QSlider::valueChanged, this, [this, bar] { TrackBarMafNachChange(bar); });
    connect(MaskEditCorrection, &QLineEdit::textChanged, this, &TForm1::MaskEditCorrectionChange);
    connect(ButtonAplToTable, &QPushButton::clicked, this, &TForm1::ButtonAplToTableClick);
    connect(ButtonClrCorrWindow, &QPushButton::clicked, this, &TForm1::ButtonClrCorrWindowClick);
    connect(ButtonClrAllLearned, &QPushButton::clicked, this, &TForm1::ButtonClrAllLearnedClick);
}

void TForm1::SetSoundPlayer(std::unique_ptr<TSoundPlayer> player) {
    sounds = std::move(player);
}

void TForm1::ActionStartExecute() {
    if (ComComboBox1->currentIndex() < 0) {
        ShowMessage(NoPortMessage);
        return;
    }
    // Only one reader may read the port; Button2 stays usable during a run.
    if (log->ReaderRunning())
        return;
    try {
        TMsgLogStart start(ComboBoxO2->currentIndex());
        log->Options.MaxWindowSpan = UpDown1->Position();
        log->Options.OutputInverted = RadioButtonVFall->isChecked();
        log->Options.AutocorrEnabled = CheckBoxAutocorr->isChecked();
        log->Options.IdleRpm = IntegerOf(MaskEditForcedIdleRpm);
        log->Options.IdleTps = IntegerOf(MaskEditForcedIdleTps);
        log->Options.FastInterval = IntegerOf(MaskEditFast);
        log->Options.FineInterval = IntegerOf(MaskEditFine);
        bus->Broadcast(start);
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}

void TForm1::ActionStopExecute() {
    if (ComComboBox1->currentIndex() < 0) {
        ShowMessage(NoPortMessage);
        return;
    }
    try {
        BroadcastStop();
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}

void TForm1::BroadcastStop() {
    TMsgLogStop stop;
    bus->Broadcast(stop);
}

void TForm1::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case MSG_LOG_START:
    case MSG_LOG_STOP: {
        const bool running = message.Msg == MSG_LOG_START;
        for (QAction* action : {ActionReadCoverter, ActionWriteConverter, ActionStart})
            action->setEnabled(!running);
        ComboBoxO2->setEnabled(!running);
        ActionStop->setEnabled(running);
        if (!running)
            workingTable->SetDashboardColour(NeutralColour);
        break;
    }
    case MSG_DASH_DATA:
        ShowDashData(static_cast<TMsgDashData&>(message));
        break;
    case MSG_AUTOCORR_STEP:
        DoAutocorrStep(static_cast<TMsgAutocorrStep&>(message));
        break;
    case MSG_SMOOTHING_STEP:
        DoSmoothingStep(static_cast<TMsgSmoothingStep&>(message));
        break;
    default:
        break;
    }
}

void TForm1::ShowDashData(const TMsgDashData& dash) {
    for (TGauge* gauge : {GaugeO2, GaugeO2_1}) {
        gauge->SetProgress(dash.O2Level);
        gauge->SetForeColor(ColourFromBgr(dash.O2Colour));
    }
    GaugeRpm->SetProgress(dash.Rpm);
    MaskEditRpmDash->setText(QString::number(dash.Rpm));
    GaugeTps->SetProgress(O2Grid->TpsPercent(dash.TpsRaw));
    MaskEditTpsDash->setText(QString::fromStdString(dash.TpsText));
    GaugeMarker->SetProgress(dash.MarkerValue);
    MaskEditO2->setText(QString::fromStdString(dash.O2Text));
    GaugeConv->SetProgress(dash.ConverterOut);
    GaugeTps_1->SetProgress(dash.TpsRaw);
    GaugeMaf_1->SetProgress(dash.MafIn);
}

void TForm1::DoAutocorrStep(const TMsgAutocorrStep& step) {
    TrackBarMafNach->setValue(step.WindowStart);
    TrackBarMafKon->setValue(step.WindowEnd);
    if (step.ApplyNow) {
        UpDownCorrection->SetPosition(UpDownCorrection->Position() + step.CorrectionStep);
        ButtonAplToTableClick();
    } else if (step.ResetCorrection) {
        UpDownCorrection->SetPosition(0);
    } else {
        UpDownCorrection->SetPosition(UpDownCorrection->Position() + step.CorrectionStep);
    }
    workingTable->SetDashboardColour(step.StateColour);
    const QString cue = CueOf(step.StateColour);
    if (!cue.isEmpty())
        sounds->Play(soundDir + cue, false);
}

void TForm1::DoSmoothingStep(const TMsgSmoothingStep& step) {
    if (step.NewSmoothing == 255)
        return;
    MaskEditSmoothMaf->setText(QString::number(step.NewSmoothing));
    UpDownCorrection->SetPosition(0);
    workingTable->SendTablesLive();
    if (leadingInteger(MaskEditSmoothMaf->text().toStdString()) <= 20)
        sounds->Play(soundDir + MaskEditSmoothMaf->text() + ".wav", true);
}

bool TForm1::FormKeyDown(QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // During a run Enter applies the correction; it never reaches the focused control.
        if (!ActionStart->isEnabled())
            ButtonAplToTableClick();
        return true;
    case Qt::Key_Space:
        log->SetMarkerHeld(true);
        return true;
    case Qt::Key_Z:
        if (key.modifiers() & Qt::ControlModifier) {
            workingTable->Undo();
            workingTable->Redraw();
        }
        return false;
    default:
        return false;
    }
}

bool TForm1::FormKeyUp(QKeyEvent& key) {
    if (key.key() != Qt::Key_Space)
        return false;
    log->SetMarkerHeld(false);
    return true;
}

void TForm1::UpDown1Changing() {
    log->Options.MaxWindowSpan = UpDown1->Position();
}

void TForm1::CheckBoxAutocorrClick() {
    log->Options.AutocorrEnabled = CheckBoxAutocorr->isChecked();
    log->Options.SmoothingEnabled = CheckBoxWotCorr->isChecked();
}

void TForm1::ButtonCalibrateClick() {
    if (!link->Connected)
        return;
    ActionStart->trigger();
    ShowMessage(
        "Release accelerator pedal fully, then press OK\n\nПоностью отпустите педаль акселератора и нажмите "
        "OK");
    ShowMessage(
        "Depress accelerator pedal down to the floor , then press OK\nTo reset calibration to 0-255 values "
        "don't tuch accelerator pedal and press OK\n\nВыжмите педаль акселератора до пола и нажмите ОК\nДля "
        "сброса калибровок в значения0-255 не трогайте педаль акселератора и нажмите ОК");
    ActionStop->trigger();
    int min = 255, max = 0;
    {
        LogStore::View view = log->Store().Lock();
        for (std::size_t i = 0; i < view.Size(); ++i) {
            min = std::min(min, view[i][LogSeries::TPS]);
            max = std::max(max, view[i][LogSeries::TPS]);
        }
    }
    if (max - min < 20) {
        min = 0;
        max = 255;
    }
    O2Grid->SetCalibration(min, max);
    LabelTpsMin->setText("Min=" + QString::number(min));
    LabelTpsMax->setText("Max=" + QString::number(max));
}

void TForm1::TrackBarMafNachChange(QSlider* sender) {
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
        workingTable->SetCorrectionWindow(UpDownCorrection->Position(), TrackBarMafNach->value(),
                                          TrackBarMafKon->value(), 2);
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}

void TForm1::MaskEditCorrectionChange() {
    log->SetCurrentCorrection(UpDownCorrection->Position());
    try {
        workingTable->SetCorrectionWindow(UpDownCorrection->Position(), TrackBarMafNach->value(),
                                          TrackBarMafKon->value(), 1);
    } catch (...) {
        // A correction the converter did not take is sent again with the next change.
    }
}

void TForm1::ButtonAplToTableClick() {
    const int mode = log->LiveStopped ? 0 : 1;
    workingTable->ApplyCorrection(UpDownCorrection->Position(), TrackBarMafNach->value(),
                                  TrackBarMafKon->value(), mode);
    UpDownCorrection->SetPosition(0);
    log->SetCurrentCorrection(0);
    workingTable->SendTablesLive();
}

void TForm1::ButtonClrCorrWindowClick() {
    workingTable->ClearLearned(TrackBarMafNach->value(), TrackBarMafKon->value());
}

void TForm1::ButtonClrAllLearnedClick() {
    workingTable->ClearLearned(TrackBarMafNach->minimum(), TrackBarMafKon->maximum());
}
