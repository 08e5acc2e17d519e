#pragma once
// The live data object: owns the log store, starts and stops the live stream on the bus's start and
// stop messages, and on a 100 ms timer turns the newest samples into the dashboard message.

#include "autocorrection.h"
#include "converter_protocol.h"
#include "live_reader.h"
#include "live_reader_host.h"
#include "live_run_flags.h"
#include "log_file.h"
#include "log_recorder.h"
#include "log_store.h"
#include "zarni_broadcaster.h"

#include <QObject>
#include <QTimer>

#include <memory>

class O2TargetGrid;
class QCustomPlot;
class TLogChart;
class Table;
class TRXTX;

class Log : public QObject, public TListener, public LiveReaderHost {
    Q_OBJECT
public:
    // Registers with the bus as its third listener.
    Log(QObject* owner, TRXTX& link, TZarniBroadcaster& bus, Table& workingTable, O2TargetGrid& targetGrid);
    // Joins a reader still inside its last read before the store and the link go.
    ~Log() override;

    void Dispatch(TMessage& message) override;

    void ClearSeries() { store.Clear(); }
    // Waits for the previous reader, sends "sl", clears the store and starts the reader. A port
    // failure reaches the caller before anything else has changed.
    void StartLive(int sensorType);
    // Stops the timer and the reader, sends "s", then smooths the O2 series of the run and finishes its
    // recording. A stop command that cannot be sent still ends the run, then reaches the caller.
    void StopLive();
    // Waits for a reader still inside its last read (at most one read time-out), so that nobody else
    // reads the port.
    void JoinReader() { reader.reset(); }
    void Tick();
    // True once the ticks were stopped inside the tick that runs (a stop or a read failure met in a
    // message box a handler of the tick opened): the rest of that tick must not be carried out.
    bool TickStopped() const { return tickStopped; }

    // True while a reader reads the port: no second run may start then.
    bool ReaderRunning() const { return reader && reader->Reading(); }
    LogStore& Store() { return store; }
    void SetMarkerHeld(bool held) { flags.MarkerHeld = held; }
    bool MarkerHeld() const { return flags.MarkerHeld; }
    // The converter has answered the start of the run that goes on or ended last, or the log chart
    // has been filled.
    bool DataReceived() const { return flags.DataReceived; }
    void SetDataReceived(bool received) { flags.DataReceived = received; }

    // Saves the store as a log file (".log" appended unless the name ends in it); an empty store
    // writes nothing. The header carries the throttle calibration of what the store holds: the
    // target grid's for a live run, the file's for a loaded log. Failures are shown.
    void SaveLog(const QString& fileName);
    // Loads a log file into the store and draws it; refused while a live run holds the store.
    // Failures are shown; a file that cannot be read leaves the store as it was.
    void LoadLog(const QString& fileName);
    // The store as CSV (".csv" appended unless the name ends in it); an empty store writes nothing.
    void ExportCsv(const QString& fileName);

    // Where every live run is recorded while it runs, one file per run (created when missing).
    static QString RecordingsFolder();

    // Once, with the log page's chart.
    void SetupChart(QCustomPlot* plot);
    TLogChart& Chart() const { return *chart; }
    // The chart again, once it has been filled (the log page shown, an undo of a table edit).
    void RedrawChart();
    void SetCurrentCorrection(int correction) { flags.CurrentCorrection = correction; }
    int CurrentCorrection() const { return flags.CurrentCorrection; }

    // Copied from the window before a start, and when their controls change; SensorType comes with
    // the start message.
    AutocorrOptions Options;
    // The autocorrection's progress through a window, kept for the whole run of the program.
    AutocorrState Autocorr;
    // Set back at every start.
    LiveCounters Counters;
    bool Running = false;
    bool LiveStopped = true;
    // A live run holds the store and the port.
    bool LiveRunGoing() const { return Running || ReaderRunning(); }
    // Whether the converter streams, for the exchanges that must not disturb the stream.
    LiveStream Stream() const { return LiveStopped ? LiveStream::Stopped : LiveStream::Running; }

    // LiveReaderHost: how the reader reaches the main thread.
    void PostToMainThread(std::function<void()> task) override;
    void ShowReadFailure(const std::string& text) override;
    void StopLiveRun() override;

private:
    void StopTicks();
    // After the stop command: the run's analysis, its recording and the chart.
    void EndRun();
    void TickOnce();
    // From the store's 121st sample on: one autocorrection step per tick.
    void Autocorrect();
    void StartRecording();
    // The recording ends with the run: rewritten once from the store (the analysis of the run changed
    // samples already written), or removed when the run received nothing.
    void FinishRecording();

    TLogChart* chart = nullptr;
    // The header values of the log loaded last, and whether the store holds it.
    LogTpsRange LogTps;
    bool storeHoldsFile = false;
    TRXTX& link;
    TZarniBroadcaster& bus;
    Table& workingTable;
    O2TargetGrid& targetGrid;
    LogStore store;
    LiveRunFlags flags;
    // A child under its own name, so the timers the window holds can be found and counted.
    QTimer timer{this};
    // A message box opened by a handler of the tick runs its own event loop, where the timer fires
    // again; the tick must not run inside itself.
    bool ticking = false;
    bool tickStopped = false;
    // The reader of this run has reported that the line failed.
    bool lineFailed = false;
    // Destroyed after the reader, so it writes the reader's last samples too.
    std::unique_ptr<LogRecorder> recorder;
    // Declared last: destroyed (joined) first, while everything it uses still exists.
    std::unique_ptr<TLogThread> reader;
};
