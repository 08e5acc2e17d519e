#include "log.h"

#include "converter_protocol.h"
#include "error_box.h"
#include "live_processing.h"
#include "message_box.h"
#include "rxtx.h"
#include "system_locale.h"
#include "table.h"

Log::Log(QObject* owner, TRXTX& link, TZarniBroadcaster& bus, Table& workingTable)
    : QObject(owner), link(link), bus(bus), workingTable(workingTable) {
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
    SensorType = sensorType;
    ClearSeries();
    flags.DataReceived = false;
    Running = true;
    // The previous reader may still be inside its last read: it must end before a new one reads.
    reader.reset();
    link.ClearInput();
    link.ClearOutput();
    sendStreamStart(link);
    reader = std::make_unique<TLogThread>(link, store, flags, link.PortFree, *this);
    PreviousTpsPercent = 0;
    timer.start();
    LiveStopped = false;
    SmoothingCountdown = 21;
}

void Log::StopLive() {
    timer.stop();
    if (reader)
        reader->RequestStop();
    LiveStopped = true;
    sendStreamStop(link);
    Running = false;
    if (!flags.DataReceived)
        return;
    LogStore::View view = store.Lock();
    SmoothO2(view);
}

void Log::Tick() {
    if (ticking)
        return;
    ticking = true;
    try {
        TickOnce();
    } catch (const std::exception& failure) {
        // A timer has nobody to hand a failure to.
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
    ticking = false;
}

void Log::TickOnce() {
    const std::vector<LogSample> newest = store.Newest(1);
    if (newest.empty())
        return;
    const LogSample& sample = newest.back();
    TMsgDashData dash = MakeDashData(sample, SensorType, DecimalSeparator());
    workingTable.ShowLiveSample(sample[LogSeries::MAF], sample[LogSeries::Converter], sample[LogSeries::TPS]);
    bus.Broadcast(dash);
}

void Log::PostToMainThread(std::function<void()> task) {
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void Log::ShowReadFailure(const std::string& text) {
    ShowMessage(QString::fromStdString(text));
}

void Log::StopLiveRun() {
    // Nothing waits for this stop to tell its failure to (a stop command on a line that is gone).
    try {
        TMsgLogStop stop;
        bus.Broadcast(stop);
    } catch (const std::exception& failure) {
        ShowErrorBox(QString::fromUtf8(failure.what()));
    }
}
