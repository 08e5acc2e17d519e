#include "live_reader.h"

#include <exception>

#if defined(__linux__)
#include <pthread.h>
#endif

namespace {

// Only for exceptions that carry no text of their own.
constexpr const char* kUnknownFailureText = "Unknown failure";

// The text of the exception being handled.
std::string currentFailureText() {
    try {
        throw;
    } catch (const std::exception& failure) {
        return failure.what();
    } catch (...) {
        return kUnknownFailureText;
    }
}

void nameThisThread() {
#if defined(__linux__)
    // Shown by debuggers and top; other systems keep their default name.
    pthread_setname_np(pthread_self(), "LogThread");
#endif
}

// PortFree false for the duration of one read, whatever way the read ends.
class PortBusy {
public:
    explicit PortBusy(std::atomic<bool>& portFree) : portFree(portFree) {
        // Only this thread clears the flag, so the wait ends at once unless someone else misuses it.
        bool expected = true;
        while (!portFree.compare_exchange_weak(expected, false)) {
            expected = true;
            std::this_thread::yield();
        }
    }
    ~PortBusy() { portFree = true; }
    PortBusy(const PortBusy&) = delete;
    PortBusy& operator=(const PortBusy&) = delete;

private:
    std::atomic<bool>& portFree;
};

} // namespace

TLogThread::TLogThread(BytePort& port, LogStore& store, LiveRunFlags& flags, std::atomic<bool>& portFree,
                       LiveReaderHost& host)
    : port(port), store(store), flags(flags), portFree(portFree), host(host),
      handOff([&host](std::function<void()> task) { host.PostToMainThread(std::move(task)); }),
      thread([this] { run(); }) {}

TLogThread::~TLogThread() {
    RequestStop();
    thread.join();
    handOff.CancelAll();
}

void TLogThread::RequestStop() {
    stopRequested = true;
    handOff.Abandon();
}

void TLogThread::run() {
    nameThisThread();
    readStream();
    finished = true;
}

void TLogThread::readStream() {
    LivePacket packet;
    // A failure ends the run as a silent converter does, after its text has been shown; so does one of
    // the very first read, so no window is left looking as if a run went on.
    try {
        // The sign of life: its bytes are dropped.
        if (!readPacket(packet)) {
            handOffStop();
            return;
        }
        flags.DataReceived = true;
        while (!stopRequested) {
            if (!readPacket(packet)) {
                handOffStop();
                return;
            }
            store.Append(packet.ToSample(flags.MarkerHeld, flags.CurrentCorrection));
        }
    } catch (...) {
        handOffFailure(currentFailureText());
        handOffStop();
    }
}

bool TLogThread::readPacket(LivePacket& packet) {
    const PortBusy busy(portFree);
    return port.Read(packet.bytes.data(), LivePacket::kSize) == LivePacket::kSize;
}

void TLogThread::handOffFailure(const std::string& text) {
    handOff.Run([&host = host, text] { host.ShowReadFailure(text); });
}

void TLogThread::handOffStop() {
    handOff.Run([&host = host] { host.StopLiveRun(); });
}
