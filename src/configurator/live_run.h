#pragma once
// What a live run does across the pages: Start and Stop, the window's handling of the bus messages
// (the window forwards them here), the keys the window sees before its controls, and the sound cues.

#include <QObject>
#include <QString>

#include <memory>

class QKeyEvent;
class Log;
class TActions;
class TAutotuningSetupPage;
class TDashboardPage;
class TFirmwarePage;
class TMainPage;
class TRXTX;
class TSoundPlayer;
class TZarniBroadcaster;
class Table;
struct TMessage;
struct TMsgAutocorrStep;
struct TMsgSmoothingStep;

class TLiveRun : public QObject {
    Q_OBJECT
public:
    struct Objects {
        TActions& actions;
        TZarniBroadcaster& bus;
        TRXTX& link;
        Log& log;
        Table& workingTable;
        TMainPage& mainPage;
        TDashboardPage& dashboardPage;
        TAutotuningSetupPage& setupPage;
        TFirmwarePage& firmwarePage;
    };
    TLiveRun(QObject* owner, const Objects& objects);
    ~TLiveRun() override;

    void ActionStartExecute();
    void ActionStopExecute();
    // The window's share of every bus message.
    void Dispatch(TMessage& message);
    // True when the key was consumed: the focused control never sees it.
    bool FormKeyDown(QKeyEvent& key);
    bool FormKeyUp(QKeyEvent& key);

    // Tests listen to the cues through their own output.
    void SetSoundPlayer(std::unique_ptr<TSoundPlayer> player);
    const QString& SoundDir() const { return soundDir; }
    void SetSoundDir(const QString& folder) { soundDir = folder; }
    // Where a cue's file is found: SoundDir (empty until a language is chosen), else the program's own
    // sound folders; empty when none holds it, which plays the beep.
    QString SoundPath(const QString& file) const;

private:
    void BroadcastStop();
    void SetRunningState(bool running);
    // Another port is about to be opened: a run on the old one ends first, and its reader with it.
    void EndRunBeforePortChange();
    void DoAutocorrStep(const TMsgAutocorrStep& step);
    void DoSmoothingStep(const TMsgSmoothingStep& step);

    Objects objects;
    std::unique_ptr<TSoundPlayer> sounds;
    QString soundDir;
};
