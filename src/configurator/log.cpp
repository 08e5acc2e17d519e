#include "log.h"

#include "converter_protocol.h"
#include "default_file_name.h"
#include "error_box.h"
#include "live_processing.h"
#include "log_chart.h"
#include "log_csv.h"
#include "message_box.h"
#include "o2_target_grid.h"
#include "path_text.h"
#include "rxtx.h"
#include "system_locale.h"
#include "table.h"

#include <QDir>
#include <QStandardPaths>

#include <exception>
#include <filesystem>
#include <system_error>

Log::Log(QObject* owner, TRXTX& link, TZarniBroadcaster& bus, Table& workingTable, O2TargetGrid& targetGrid)
    : QObject(owner), link(link), bus(bus), workingTable(workingTable), targetGrid(targetGrid) {
    timer.setObjectName("LiveTickTimer");
    timer.setInterval(100);
    connect(&timer, &QTimer::timeout, this, &Log::Tick);
    bus.AddListener(this);
}

Log::~Log() = default;

void Log::Dispatch(TMessage& message) {
    if (message.Msg == MSG_LOG_START)
        StartLive(static_cast<TMsgLogStart&>(message).SensorType);
    else if (message.Msg == MSG_LOG_STOP)
        StopLive();
}

void Log::StartLive(int sensorType) {
    // The previous reader may still be inside its last read: it must end before a new one reads, and
    // before the store is cleared, or its last sample would open the new run.
    JoinReader();
    // The line comes first: a start that cannot reach the converter (a port that did not open, a line
    // that is gone) leaves the last run's data as they were, and no run going.
    link.ClearInput();
    link.ClearOutput();
    sendStreamStart(link);
    // A run that was never stopped is still being recorded: its file is closed as it stands.
    recorder.reset();
    Options.SensorType = sensorType;
    ClearSeries();
    storeHoldsFile = false;
    flags.DataReceived = false;
    lineFailed = false;
    Running = true;
    StartRecording();
    reader = std::make_unique<TLogThread>(link, store, flags, link.PortFreeFlag(), *this);
    Counters = {};
    timer.start();
    LiveStopped = false;
}

void Log::StopTicks() {
    timer.stop();
    if (ticking)
        tickStopped = true;
}

void Log::StopLive() {
    StopTicks();
    if (reader)
        reader->RequestStop();
    LiveStopped = true;
    // The run ends even when "s" cannot reach the line (an adapter pulled out): nothing streams to us
    // then, and what arrived is processed and recorded as after any run. The failure still reaches
    // whoever stopped.
    std::exception_ptr stopFailure;
    try {
        sendStreamStop(link);
    } catch (...) {
        stopFailure = std::current_exception();
    }
    Running = false;
    EndRun();
    if (stopFailure)
        std::rethrow_exception(stopFailure);
}

void Log::EndRun() {
    if (!flags.DataReceived) {
        FinishRecording();
        return;
    }
    long n = 0;
    {
        LogStore::View view = store.Lock();
        n = static_cast<long>(view.Size());
        SmoothO2(view);
    }
    FinishRecording();
    if (chart)
        chart->ShowView(0, n - 2);
}

QString Log::RecordingsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/Logs";
    QDir().mkpath(folder);
    return folder;
}

void Log::StartRecording() {
    const QDir folder(RecordingsFolder());
    const QString stem = DefaultFileName();
    QString name = stem + ".log";
    // Two runs within one second keep a file each.
    for (int more = 2; folder.exists(name); ++more)
        name = stem + "_" + QString::number(more) + ".log";
    try {
        recorder = std::make_unique<LogRecorder>(ToPath(folder.filePath(name)), store,
                                                 LogTpsRange{targetGrid.TpsMin(), targetGrid.TpsMax()});
    } catch (const FileError&) {
        ShowMessage("This run is not recorded on disk: the file cannot be created.\n\n"
                    "Эта запись не сохраняется на диск: файл не создаётся.\n\n" +
                    folder.filePath(name));
    }
}

void Log::FinishRecording() {
    if (!recorder)
        return;
    recorder->Finish();
    const std::filesystem::path file = recorder->File();
    recorder.reset();
    if (!flags.DataReceived) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return;
    }
    try {
        saveLogFile(file, store, {targetGrid.TpsMin(), targetGrid.TpsMax()});
    } catch (const FileError& failure) {
        ShowMessage(FromUtf8(logFileErrorMessage(failure.reason())));
    }
}

void Log::SaveLog(const QString& fileName) {
    const LogTpsRange tps = storeHoldsFile ? LogTps : LogTpsRange{targetGrid.TpsMin(), targetGrid.TpsMax()};
    try {
        saveLogFile(ToPath(fileName), store, tps);
    } catch (const FileError& failure) {
        ShowMessage(FromUtf8(logFileErrorMessage(failure.reason())));
    } catch (const std::exception& failure) {
        ShowMessage(QString::fromUtf8(failure.what()));
    }
}

void Log::ExportCsv(const QString& fileName) {
    try {
        saveLogCsv(ToPath(fileName), store,
                   [this](int maf, int tps) { return workingTable.ActiveTableValue(maf, tps); });
    } catch (const FileError& failure) {
        ShowMessage(FromUtf8(logFileErrorMessage(failure.reason())));
    } catch (const std::exception& failure) {
        ShowMessage(QString::fromUtf8(failure.what()));
    }
}

void Log::LoadLog(const QString& fileName) {
    if (LiveRunGoing()) {
        ShowMessage("Stop the live run before loading a log: its data would be lost.\n\n"
                    "Остановите запись перед загрузкой лога: её данные будут потеряны.");
        return;
    }
    flags.DataReceived = false;
    std::optional<LogTpsRange> header;
    try {
        header = loadLogFile(ToPath(fileName), store);
    } catch (const FileError&) {
        ShowMessage(fileName + FromUtf8(LogFileLoadErrorMessage));
        return;
    } catch (const std::exception& failure) {
        ShowMessage(QString::fromUtf8(failure.what()));
        return;
    }
    storeHoldsFile = true;
    if (!header)
        return;
    LogTps = *header;
    if (chart)
        chart->ShowView(0, static_cast<long>(store.Size()) - 1);
}

void Log::SetupChart(QCustomPlot* plot) {
    chart = new TLogChart(plot, *this, workingTable);
}

void Log::RedrawChart() {
    if (chart)
        chart->RedrawChart();
}

void Log::Tick() {
    if (ticking)
        return;
    ticking = true;
    tickStopped = false;
    try {
        TickOnce();
    } catch (const std::exception& failure) {
        // A timer has nobody to hand a failure to.
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
    ticking = false;
    tickStopped = false;
}

void Log::TickOnce() {
    const std::vector<LogSample> newest = store.Newest(1);
    if (newest.empty())
        return;
    const LogSample& sample = newest.back();
    TMsgDashData dash = MakeDashData(sample, Options.SensorType, DecimalSeparator());
    workingTable.ShowLiveSample(sample[LogSeries::MAF], sample[LogSeries::Converter], sample[LogSeries::TPS]);
    bus.Broadcast(dash);
    if (!tickStopped)
        Autocorrect();
}

void Log::Autocorrect() {
    AutocorrDecision decision;
    {
        LogStore::View view = store.Lock();
        const std::size_t n = view.Size();
        if (n < kAutocorrMinSamples)
            return;
        std::vector<LogSample> window;
        window.reserve(kCorrectionWindowSamples);
        for (std::size_t i = n - kCorrectionWindowSamples; i < n; ++i)
            window.push_back(view[i]);
        decision = AutocorrStep(view, n - 1, CorrectionWindow(window), Options, Autocorr, Counters,
                                workingTable.Model().content().LearnedValues, targetGrid.Model());
    }
    // No lock is held while the window carries the decision out: its handlers may open message boxes.
    if (decision.target)
        targetGrid.ShowTarget(*decision.target);
    if (decision.smoothing) {
        bus.Broadcast(*decision.smoothing);
        if (tickStopped)
            return;
    }
    bus.Broadcast(decision.step);
}

void Log::PostToMainThread(std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void Log::ShowReadFailure(const std::string& text) {
    // No tick may act on the last sample of a dead stream while the box waits; the stop follows.
    StopTicks();
    lineFailed = true;
    ShowMessage(QString::fromStdString(text));
}

void Log::StopLiveRun() {
    // Nothing waits for this stop to tell its failure to (a stop command on a line that is gone).
    try {
        TMsgLogStop stop;
        bus.Broadcast(stop);
    } catch (const std::exception& failure) {
        // After a failed read the user has been told that the line failed: that "s" cannot reach it
        // either is no news.
        if (!lineFailed)
            ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}
