#pragma once
// The reader of the live stream: a thread of its own that turns every 8-byte packet from the port into
// one sample of the log store, and hands the end of a run to the main thread.
//
// The converter's first 8 bytes after the start command are only a sign of life and are dropped. A
// short read (the converter fell silent, the line is gone) hands MSG_LOG_STOP to the main thread; a
// failure, of the first read too, shows its text there first. The reader ends after it has handed
// off a stop, or when its termination is requested (it finishes the read it is in, at most one read
// time-out).

#include "byte_port.h"
#include "live_packet.h"
#include "live_reader_host.h"
#include "live_run_flags.h"
#include "log_store.h"
#include "synchronous_hand_off.h"

#include <atomic>
#include <string>
#include <thread>

class TLogThread {
public:
    // Starts reading at once. Everything given must outlive the reader; portFree is false only while
    // the reader is inside a read.
    TLogThread(BytePort& port, LogStore& store, LiveRunFlags& flags, std::atomic<bool>& portFree,
               LiveReaderHost& host);
    // Requests termination and joins (at most one read time-out). Nothing the reader handed off and
    // the main thread has not started is ever run after this.
    ~TLogThread();
    TLogThread(const TLogThread&) = delete;
    TLogThread& operator=(const TLogThread&) = delete;

    // Any thread, never blocks: the reader stops after its current read and no longer waits for the
    // main thread; what it had handed off and the main thread has not started is dropped.
    void RequestStop();
    // True until termination is requested or the reader has ended by itself: only then may another
    // reader start on the port.
    bool Reading() const { return !stopRequested.load() && !finished.load(); }

private:
    void run();
    void readStream();
    // One read of a whole packet, with PortFree false meanwhile. False on a short read.
    bool readPacket(LivePacket& packet);
    void handOffFailure(const std::string& text);
    void handOffStop();

    BytePort& port;
    LogStore& store;
    LiveRunFlags& flags;
    std::atomic<bool>& portFree;
    LiveReaderHost& host;
    SynchronousHandOff handOff;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> finished{false};
    std::thread thread; // last: starts once everything it uses exists
};
