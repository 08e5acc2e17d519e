// The live reader on the real TComPort against the simulated converter, with its faults.

#include "../core/fake_main_thread.h"
#include "com_port.h"
#include "converter_protocol.h"
#include "link_test_support.h"
#include "live_reader.h"
#include "simulator_server.h"
#include "table_parameters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Events = std::vector<std::string>;

// The reader's way to the real port, as on a busy machine: each read starts a few milliseconds late,
// so the stream's next bytes wait in the driver's queue meanwhile.
class LateReads : public BytePort {
public:
    LateReads(BytePort& port, std::chrono::milliseconds late) : port(port), late(late) {}
    int Write(const std::uint8_t* data, int count) override { return port.Write(data, count); }
    int Read(std::uint8_t* buffer, int count) override {
        std::this_thread::sleep_for(late);
        return port.Read(buffer, count);
    }
    void ClearInput() override { port.ClearInput(); }
    void ClearOutput() override { port.ClearOutput(); }

private:
    BytePort& port;
    std::chrono::milliseconds late;
};

class LiveReaderLink : public ::testing::Test {
protected:
    // As the start of a live run does it: purge, "sl", then the reader (on readerPort when given).
    void Start(FaultSwitches faults = {}, BytePort* readerPort = nullptr) {
        ConverterModel model(faults);
        model.KeepSentPackets(true);
        server = std::make_unique<SimulatorServer>(std::move(model));
        port.SetPortName(server->SlavePath());
        port.Open();
        port.ClearInput();
        port.ClearOutput();
        Send("sl");
        reader =
            std::make_unique<TLogThread>(readerPort ? *readerPort : port, store, flags, portFree, mainThread);
        // The stop of the run, on the main thread: ends the reader and the stream.
        mainThread.onStop = [this] {
            reader->RequestStop();
            Send("s");
        };
    }

    void Send(const std::string& letters) {
        const std::vector<std::uint8_t> bytes(letters.begin(), letters.end());
        port.Write(bytes.data(), static_cast<int>(bytes.size()));
    }

    bool RunUntilStored(std::size_t samples) {
        return mainThread.RunUntil([&] { return store.Size() >= samples; }, 10s);
    }
    bool RunUntilEvents(std::size_t count, std::chrono::milliseconds limit = 10s) {
        return mainThread.RunUntil([&] { return mainThread.events.size() >= count; }, limit);
    }

    // Every packet the simulator sends has an unused byte 1 of 0 and no enrichment.
    static bool Aligned(const LogSample& sample) { return sample[LogSeries::Enrichment] == 128; }

    Watchdog watchdog{30s};
    std::unique_ptr<SimulatorServer> server;
    TComPort port;
    std::atomic<bool> portFree{true};
    LogStore store;
    LiveRunFlags flags;
    FakeMainThread mainThread;
    std::unique_ptr<TLogThread> reader; // last: joined before the port closes
};

} // namespace

TEST_F(LiveReaderLink, PacketsBecomeSamplesOfTheConvertersInputsAndOutput) {
    Start();
    ASSERT_TRUE(RunUntilStored(50));
    EXPECT_TRUE(flags.DataReceived);
    flags.MarkerHeld = true;
    const std::size_t marked = store.Size();
    ASSERT_TRUE(RunUntilStored(marked + 20));
    mainThread.onStop();
    reader.reset();
    auto view = store.Lock();
    for (std::size_t i = 0; i < view.Size(); ++i) {
        const LogSample& sample = view[i];
        ASSERT_TRUE(Aligned(sample)) << i;
        // The simulator's default table is 1:1 below the throttle threshold, and the engine never
        // idles below 800 rpm.
        const int expectedOutput = server->WithModel([&](ConverterModel& model) {
            return model.Output(sample[LogSeries::MAF], sample[LogSeries::TPS]);
        });
        ASSERT_EQ(sample[LogSeries::Converter], expectedOutput) << i;
        ASSERT_GT(sample[LogSeries::RPM], 0);
        ASSERT_LE(sample[LogSeries::RPM], 1500000 / 800);
        if (i + 1 < marked) {
            ASSERT_EQ(sample[LogSeries::Marker], 0) << i;
        } else if (i > marked + 1) {
            ASSERT_EQ(sample[LogSeries::Marker], 128) << i;
        }
    }
    EXPECT_TRUE(mainThread.events.empty());
}

// The live table goes out on every finished correction window and smoothing step while the reader
// streams. It has no reply, so nothing may purge the input meanwhile: one byte lost from the stream
// shifts every later packet, and nothing in the stream can tell. A reader that always waits inside a
// read takes each byte within microseconds and hides the loss; one that comes back late, as a loaded
// machine's does, leaves bytes in the driver's queue. The sends come 47 ms apart, so they fall at
// every point of the 10 ms packet cycle.
TEST_F(LiveReaderLink, LiveTableSendsDuringARunLeaveEveryPacketAligned) {
    constexpr int kSends = 20;
    LateReads lateReads(port, 6ms);
    Start({}, &lateReads);
    ASSERT_TRUE(RunUntilStored(10));
    TableImage image{};
    for (int send = 1; send <= kSends; ++send) {
        // A table of its own each time, so the converter's output shows which one it runs on.
        for (int maf = 0; maf < MafCount; ++maf)
            image[maf] = std::min(maf + send, 255);
        SetDefaultParameters(image);
        SendTablesLive(port, image, LiveStream::Running);
        mainThread.RunUntil([] { return false; }, 47ms);
    }
    mainThread.onStop();
    reader.reset();

    const std::vector<ConverterModel::Bytes> sent =
        server->WithModel([](const ConverterModel& model) { return model.SentPackets(); });
    auto view = store.Lock();
    // Every packet after the sign of life, in order, none lost and none read across a boundary.
    ASSERT_GT(view.Size(), static_cast<std::size_t>(kSends * 4));
    ASSERT_GE(sent.size(), view.Size() + 1);
    int misaligned = 0;
    for (std::size_t i = 0; i < view.Size(); ++i) {
        LivePacket packet;
        std::copy_n(sent[i + 1].begin(), LivePacket::kSize, packet.bytes.begin());
        misaligned += view[i] != packet.ToSample(false, 0);
    }
    EXPECT_EQ(misaligned, 0) << "of " << view.Size();
    server->WithModel([&](const ConverterModel& model) {
        EXPECT_EQ(model.WorkingImage()[100], image[100]); // the last table was taken
    });
    EXPECT_TRUE(mainThread.events.empty());
}

TEST_F(LiveReaderLink, SilentConverterEndsTheRunAfterOneReadTimeOut) {
    const auto start = SteadyClock::now();
    Start({.silent = true});
    ASSERT_TRUE(RunUntilEvents(1));
    const long long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 900);
    EXPECT_LT(elapsed, 3000);
    EXPECT_EQ(mainThread.events, Events{"stop"});
    EXPECT_FALSE(flags.DataReceived);
    EXPECT_EQ(store.Size(), 0u);
    reader.reset();
}

TEST_F(LiveReaderLink, DroppedByteShiftsEveryLaterPacket) {
    Start({.dropStreamByte = true});
    ASSERT_TRUE(RunUntilStored(30));
    mainThread.onStop();
    reader.reset();
    auto view = store.Lock();
    // Packet 3 (the sign of life is packet 0) lost its first byte: from sample 2 on, each sample is
    // bytes 1..7 of a packet and byte 0 of the next. So byte 0 is the unused 0, the enrichment is the
    // MAF, the MAF is the throttle, and the O2 is the next packet's converter output.
    const std::size_t firstShifted = ConverterModel::kDroppedBytePacket - 1;
    ASSERT_GT(view.Size(), firstShifted + 2);
    for (std::size_t i = 0; i < firstShifted; ++i)
        EXPECT_TRUE(Aligned(view[i])) << i;
    for (std::size_t i = firstShifted; i + 1 < view.Size(); ++i) {
        ASSERT_EQ(view[i][LogSeries::Converter], 0) << i;
        const int nextOutput = server->WithModel([&](ConverterModel& model) {
            return model.Output(view[i + 1][LogSeries::Enrichment], view[i + 1][LogSeries::MAF]);
        });
        ASSERT_EQ(view[i][LogSeries::O2], nextOutput) << i;
    }
}

TEST_F(LiveReaderLink, HangUpShowsTheFailureAndStopsKeepingTheSamples) {
    Start({.hangUp = true});
    // The line is gone, so the stop command could not be sent.
    mainThread.onStop = [this] { reader->RequestStop(); };
    ASSERT_TRUE(RunUntilEvents(2));
    ASSERT_EQ(mainThread.events.size(), 2u);
    EXPECT_EQ(mainThread.events[0].rfind(std::string("failure: ") + kReadFailedText, 0), 0u)
        << mainThread.events[0];
    EXPECT_EQ(mainThread.events[1], "stop");
    reader.reset();
    // What was stored stays; the last packets before the hang-up may be lost with the line.
    EXPECT_GT(store.Size(), 0u);
    EXPECT_LE(store.Size(), static_cast<std::size_t>(ConverterModel::kHangUpAfterPackets - 1));
    EXPECT_TRUE(Aligned(store.Newest(1).front()));
}

TEST_F(LiveReaderLink, StopWhileStreamingEndsWithinOneReadAndDropsTheLateStop) {
    Start();
    ASSERT_TRUE(RunUntilStored(10));
    const auto stopAt = SteadyClock::now();
    mainThread.onStop();
    reader.reset(); // the next run's join
    EXPECT_LT(MillisecondsSince(stopAt), 1500);
    mainThread.RunPending();
    EXPECT_TRUE(mainThread.events.empty());
}

// The main thread is about to join the reader while the reader waits for it to take the stop of a
// silent converter: no deadlock, and the stop is never delivered.
TEST_F(LiveReaderLink, StopRacingTheSilentConvertersStopDoesNotDeadlock) {
    Start({.silent = true});
    while (mainThread.Queued() == 0)
        std::this_thread::sleep_for(5ms);
    reader->RequestStop();
    reader.reset();
    mainThread.RunPending();
    EXPECT_TRUE(mainThread.events.empty());
}
