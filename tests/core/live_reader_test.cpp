#include "fake_main_thread.h"
#include "live_reader.h"
#include "scripted_port.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace std::chrono_literals;
using Bytes = ScriptedPort::Bytes;
using Events = std::vector<std::string>;

const Bytes kSignOfLife = {1, 2, 3, 4, 5, 6, 7, 8};
const Bytes kPacket = {0x40, 0x00, 0x90, 0x64, 0x32, 0x01, 0xF4, 0x7F};
const LogSample kPacketSample{{64, 0, 144, 100, 50, 500, 127, 0, 0, 0, 0, 0}};
const std::string kFailureText = "failure: ReadFile function failed (Error: 5)";

class LiveReaderTest : public ::testing::Test {
protected:
    void Start() { reader = std::make_unique<TLogThread>(port, store, flags, portFree, mainThread); }

    // Runs the main thread until the reader has ended by itself.
    bool RunUntilReaderEnds() {
        return mainThread.RunUntil([this] { return !reader->Reading(); }, 5s);
    }

    std::atomic<bool> portFree{true};
    ScriptedPort port{portFree};
    LogStore store;
    LiveRunFlags flags;
    FakeMainThread mainThread;
    std::unique_ptr<TLogThread> reader; // last: joined before what it uses goes
};

} // namespace

TEST_F(LiveReaderTest, ConverterSilentAtStartStopsTheRunWithoutMessage) {
    Start();
    ASSERT_TRUE(mainThread.RunUntil([&] { return !mainThread.events.empty(); }, 5s));
    EXPECT_EQ(mainThread.events, Events{"stop"});
    EXPECT_TRUE(RunUntilReaderEnds());
    EXPECT_FALSE(flags.DataReceived);
    EXPECT_EQ(store.Size(), 0u);
    EXPECT_TRUE(portFree);
}

TEST_F(LiveReaderTest, SignOfLifeAloneAppendsNothing) {
    port.Add(ScriptedPort::Reply(kSignOfLife));
    Start();
    ASSERT_TRUE(mainThread.RunUntil([&] { return !mainThread.events.empty(); }, 5s));
    EXPECT_EQ(mainThread.events, Events{"stop"});
    EXPECT_TRUE(flags.DataReceived);
    EXPECT_EQ(store.Size(), 0u);
}

TEST_F(LiveReaderTest, EveryPacketAfterTheSignOfLifeIsOneSample) {
    port.Add(ScriptedPort::Reply(kSignOfLife));
    for (int i = 0; i < 3; ++i)
        port.Add(ScriptedPort::Reply(kPacket));
    // A short read ends the run; its bytes are not stored.
    port.Add(ScriptedPort::Reply({9, 9, 9, 9, 9, 9, 9}));
    Start();
    ASSERT_TRUE(RunUntilReaderEnds());
    EXPECT_EQ(mainThread.events, Events{"stop"});
    EXPECT_EQ(store.Newest(10), (std::vector<LogSample>(3, kPacketSample)));
    EXPECT_EQ(port.Reads(), 5);
}

TEST_F(LiveReaderTest, PortIsBusyDuringEachReadOnly) {
    port.Add(ScriptedPort::Reply(kSignOfLife));
    port.Add(ScriptedPort::Reply(kPacket));
    port.Add(ScriptedPort::Failure(5));
    Start();
    ASSERT_TRUE(RunUntilReaderEnds());
    EXPECT_FALSE(port.portFreeDuringRead);
    EXPECT_TRUE(portFree);
}

TEST_F(LiveReaderTest, MarkerAndCorrectionAreTakenWhenEachPacketIsStored) {
    port.Add(ScriptedPort::Reply(kSignOfLife));
    port.Add(ScriptedPort::Reply(kPacket));
    // The main thread presses the space bar and moves the correction while the next packet arrives.
    port.Add([&](std::uint8_t* buffer, int count) {
        flags.MarkerHeld = true;
        flags.CurrentCorrection = -7;
        return ScriptedPort::Reply(kPacket)(buffer, count);
    });
    port.Add([&](std::uint8_t* buffer, int count) {
        flags.MarkerHeld = false;
        return ScriptedPort::Reply(kPacket)(buffer, count);
    });
    Start();
    ASSERT_TRUE(RunUntilReaderEnds());
    const auto samples = store.Newest(10);
    ASSERT_EQ(samples.size(), 3u);
    EXPECT_EQ(samples[0][LogSeries::Marker], 0);
    EXPECT_EQ(samples[0][LogSeries::Corr], 0);
    EXPECT_EQ(samples[1][LogSeries::Marker], 128);
    EXPECT_EQ(samples[1][LogSeries::Corr], -7);
    EXPECT_EQ(samples[2][LogSeries::Marker], 0);
    EXPECT_EQ(samples[2][LogSeries::Corr], -7);
}

// A failure ends the run wherever it comes, so the window is never left looking as if one went on.
TEST_F(LiveReaderTest, AFailureShowsItsTextThenStopsTheRun) {
    const struct {
        const char* name;
        int readsBeforeFailure; // the sign of life, then packets
        bool dataReceived;
        std::size_t samples;
    } cases[] = {
        {"the very first read", 0, false, 0},
        {"a read while streaming", 2, true, 1},
    };
    for (const auto& c : cases) {
        ScriptedPort script{portFree};
        for (int read = 0; read < c.readsBeforeFailure; ++read)
            script.Add(ScriptedPort::Reply(read == 0 ? kSignOfLife : kPacket));
        script.Add(ScriptedPort::Failure(5));
        LogStore samples;
        LiveRunFlags runFlags;
        FakeMainThread main;
        TLogThread thread(script, samples, runFlags, portFree, main);
        ASSERT_TRUE(main.RunUntil([&] { return !thread.Reading(); }, 5s)) << c.name;
        main.RunPending();
        EXPECT_EQ(main.events, (Events{kFailureText, "stop"})) << c.name;
        EXPECT_EQ(runFlags.DataReceived, c.dataReceived) << c.name;
        EXPECT_EQ(samples.Size(), c.samples) << c.name;
        EXPECT_TRUE(portFree) << c.name;
    }
}

TEST_F(LiveReaderTest, HandOffsWaitForTheMainThread) {
    port.Add(ScriptedPort::Reply(kSignOfLife));
    port.Add(ScriptedPort::Failure(5));
    Start();
    // The reader shows the failure and waits: the stop is not handed off before the box is closed.
    mainThread.onFailure = [&] {
        std::this_thread::sleep_for(50ms);
        EXPECT_EQ(mainThread.Queued(), 0u);
    };
    ASSERT_TRUE(RunUntilReaderEnds());
    mainThread.RunPending();
    EXPECT_EQ(mainThread.events, (Events{kFailureText, "stop"}));
}

TEST_F(LiveReaderTest, StopEndsTheRunAfterTheCurrentReadWithoutHandOff) {
    port.Add(ScriptedPort::Reply(kSignOfLife));
    for (int i = 0; i < 1000; ++i)
        port.Add(ScriptedPort::Reply(kPacket));
    port.HoldReads();
    Start();
    ASSERT_TRUE(port.WaitUntilReadHeld(5s));
    reader->RequestStop();
    EXPECT_FALSE(reader->Reading());
    port.Release();
    reader.reset();
    mainThread.RunPending();
    EXPECT_TRUE(mainThread.events.empty());
    EXPECT_EQ(store.Size(), 1000u);
}

// The main thread never gets to the reader's stop (it is about to join the reader): the request to
// terminate frees the reader, and the dropped stop never arrives later.
TEST_F(LiveReaderTest, StopRacingAPendingHandOffDropsIt) {
    Start();
    while (mainThread.Queued() == 0)
        std::this_thread::sleep_for(1ms);
    reader->RequestStop();
    reader.reset(); // must not deadlock
    mainThread.RunPending();
    EXPECT_TRUE(mainThread.events.empty());
}

// A handler opened by the reader's hand-off runs a nested event loop, in which a new run joins this
// reader: the reader must not wait for the handler to return.
TEST_F(LiveReaderTest, JoinFromInsideTheReadersOwnHandOffDoesNotDeadlock) {
    port.Add(ScriptedPort::Reply(kSignOfLife));
    port.Add(ScriptedPort::Failure(5));
    Start();
    mainThread.onFailure = [&] { reader.reset(); };
    ASSERT_TRUE(mainThread.RunUntil([&] { return !reader; }, 5s));
    mainThread.RunPending();
    // The stop after the failure came after the request to terminate, and the join dropped it.
    EXPECT_EQ(mainThread.events, Events{kFailureText});
}

// After Stop the last read may come back short: that stop is still handed off (the run is stopped a
// second time) unless the reader is joined before the main thread gets to it.
TEST_F(LiveReaderTest, ShortReadAfterStopHandsOffASecondStop) {
    port.Add(ScriptedPort::Reply(kSignOfLife));
    port.HoldReads();
    Start();
    ASSERT_TRUE(port.WaitUntilReadHeld(5s));
    reader->RequestStop();
    port.Release();
    ASSERT_TRUE(mainThread.RunUntil([&] { return !mainThread.events.empty(); }, 5s));
    EXPECT_EQ(mainThread.events, Events{"stop"});
}

TEST_F(LiveReaderTest, StopAfterStopIsDroppedOnceTheReaderIsJoined) {
    port.Add(ScriptedPort::Reply(kSignOfLife));
    port.HoldReads();
    Start();
    ASSERT_TRUE(port.WaitUntilReadHeld(5s));
    reader->RequestStop();
    port.Release();
    reader.reset(); // a new run starts before the main thread got to the late stop
    mainThread.RunPending();
    EXPECT_TRUE(mainThread.events.empty());
}

// The stop handed to the main thread runs the stop of the run, which requests termination while the
// hand-off is still running: the reader ends, and the next run's join returns.
TEST_F(LiveReaderTest, StopHandlerThatRequestsTerminationEndsTheReader) {
    port.Add(ScriptedPort::Reply(kSignOfLife));
    port.Add(ScriptedPort::Reply(kPacket));
    Start();
    mainThread.onStop = [&] { reader->RequestStop(); };
    ASSERT_TRUE(mainThread.RunUntil([&] { return !mainThread.events.empty(); }, 5s));
    reader.reset();
    EXPECT_EQ(mainThread.events, Events{"stop"});
    EXPECT_EQ(store.Size(), 1u);
}
