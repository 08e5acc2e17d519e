#include "live_run.h"

#include "actions.h"
#include "autocorrection.h"
#include "autotuning_setup_page.h"
#include "dashboard_page.h"
#include "error_box.h"
#include "firmware_page.h"
#include "log.h"
#include "main_page.h"
#include "message_box.h"
#include "messages.h"
#include "numbers.h"
#include "rxtx.h"
#include "sound_cues.h"
#include "sound_folder.h"
#include "sound_player.h"
#include "table.h"
#include "zarni_broadcaster.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>

#include <exception>

namespace {

const QString NoPortMessage = "Please choose right COM port\n\n Пожалуйста выберите правильный COM порт";

} // namespace

TLiveRun::TLiveRun(QObject* owner, const Objects& objects)
    : QObject(owner), objects(objects), sounds(std::make_unique<TSoundPlayer>()) {
    connect(objects.actions.ActionStart, &QAction::triggered, this, &TLiveRun::ActionStartExecute);
    connect(objects.actions.ActionStop, &QAction::triggered, this, &TLiveRun::ActionStopExecute);
    connect(&objects.firmwarePage, &TFirmwarePage::StartPressed, this, &TLiveRun::ActionStartExecute);
    connect(&objects.firmwarePage, &TFirmwarePage::StopPressed, this, &TLiveRun::ActionStopExecute);
}

TLiveRun::~TLiveRun() = default;

void TLiveRun::SetSoundPlayer(std::unique_ptr<TSoundPlayer> player) {
    sounds = std::move(player);
}

QString TLiveRun::SoundPath(const QString& file) const {
    return FindSound(SoundFolders(soundDir, QCoreApplication::applicationDirPath()), file);
}

void TLiveRun::ActionStartExecute() {
    if (!objects.mainPage.PortChosen()) {
        ShowMessage(NoPortMessage);
        return;
    }
    // Only one reader may read the port; the factory test's Start stays usable during a run.
    if (objects.log.ReaderRunning())
        return;
    // Read and Write go on and off together.
    const bool readWrite = objects.actions.ActionReadCoverter->isEnabled();
    try {
        TMsgLogStart start(objects.setupPage.SensorType());
        objects.dashboardPage.CopyOptionsTo(objects.log.Options);
        objects.setupPage.CopyOptionsTo(objects.log.Options);
        objects.bus.Broadcast(start);
    } catch (const std::exception& failure) {
        // No run started (the port is not open, the line is gone): the window shows what it showed
        // before, not a run that is not going on.
        SetRunningState(false);
        for (QAction* action : {objects.actions.ActionReadCoverter, objects.actions.ActionWriteConverter})
            action->setEnabled(readWrite);
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}

void TLiveRun::ActionStopExecute() {
    if (!objects.mainPage.PortChosen()) {
        ShowMessage(NoPortMessage);
        return;
    }
    try {
        BroadcastStop();
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}

void TLiveRun::BroadcastStop() {
    TMsgLogStop stop;
    objects.bus.Broadcast(stop);
}

void TLiveRun::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case MSG_LOG_START:
    case MSG_LOG_STOP:
        SetRunningState(message.Msg == MSG_LOG_START);
        break;
    case MSG_SET_COM_PORT:
        EndRunBeforePortChange();
        break;
    case MSG_DASH_DATA: {
        const auto& dash = static_cast<TMsgDashData&>(message);
        objects.dashboardPage.ShowDashData(dash);
        objects.firmwarePage.ShowDashData(dash);
        break;
    }
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

void TLiveRun::SetRunningState(bool running) {
    for (QAction* action : {objects.actions.ActionReadCoverter, objects.actions.ActionWriteConverter,
                            objects.actions.ActionStart})
        action->setEnabled(!running);
    objects.setupPage.SetSensorTypeEnabled(!running);
    objects.actions.ActionStop->setEnabled(running);
    if (!running)
        objects.workingTable.SetDashboardColour(kAutocorrNeutral);
}

void TLiveRun::EndRunBeforePortChange() {
    // The converter answers no command while it streams, and the port must not close under a reader.
    if (objects.log.Running) {
        try {
            BroadcastStop();
        } catch (const std::exception&) {
            // The old line may be gone, which is why another port is chosen; the new one still opens.
        }
    }
    // Closing wakes a reader still inside its last read, so the wait for it is short.
    objects.link.ClosePort();
    objects.log.JoinReader();
}

void TLiveRun::DoAutocorrStep(const TMsgAutocorrStep& step) {
    objects.dashboardPage.DoAutocorrStep(step);
    if (objects.log.TickStopped())
        return;
    objects.workingTable.SetDashboardColour(step.StateColour);
    const QString cue = StateCue(step.StateColour);
    if (!cue.isEmpty())
        sounds->Play(SoundPath(cue), false);
}

void TLiveRun::DoSmoothingStep(const TMsgSmoothingStep& step) {
    if (step.NewSmoothing == kNoSmoothingChange)
        return;
    objects.workingTable.SetParameterText(Parameter::SmoothMaf, QString::number(step.NewSmoothing));
    objects.dashboardPage.SetCorrection(0);
    objects.workingTable.SendTablesLive(objects.log.Stream());
    if (objects.log.TickStopped())
        return;
    const QString smoothing = objects.workingTable.ParameterText(Parameter::SmoothMaf);
    if (leadingInteger(smoothing.toStdString()) <= kSpokenSmoothingSteps)
        sounds->Play(SoundPath(SmoothingCue(smoothing)), true);
}

bool TLiveRun::FormKeyDown(QKeyEvent& key) {
    switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // During a run Enter applies the correction; it never reaches the focused control. A held key
        // applies once.
        if (!objects.actions.ActionStart->isEnabled() && !key.isAutoRepeat())
            objects.dashboardPage.ButtonAplToTableClick();
        return true;
    case Qt::Key_Space:
        // A held Space repeats as release and press pairs; the marker stays held through them.
        if (!key.isAutoRepeat())
            objects.log.SetMarkerHeld(true);
        return true;
    case Qt::Key_Z:
        if ((key.modifiers() & Qt::ControlModifier) && !key.isAutoRepeat()) {
            objects.workingTable.Undo();
            objects.workingTable.Redraw();
            objects.log.RedrawChart();
        }
        return false;
    default:
        return false;
    }
}

bool TLiveRun::FormKeyUp(QKeyEvent& key) {
    if (key.key() != Qt::Key_Space)
        return false;
    if (!key.isAutoRepeat())
        objects.log.SetMarkerHeld(false);
    return true;
}
