// The simulated converter in-process, in simulated time.

#include "converter_model.h"
#include "exhaust_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = ConverterModel::Bytes;
using Image = ConverterModel::Image;

Bytes Command(const std::string& letters, const Bytes& data = {}) {
    Bytes bytes(letters.begin(), letters.end());
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

Bytes ImageCommand(const std::string& letters, const Image& image) {
    return Command(letters, Bytes(image.begin(), image.end()));
}

Image ImageWith(int maf, std::uint8_t value) {
    Image image = ConverterModel::DefaultImage();
    image[static_cast<std::size_t>(maf)] = value;
    return image;
}

// The packets of a stream polled every 10 ms from startMs on, for durationMs.
std::vector<Bytes> Packets(ConverterModel& model, std::int64_t startMs, std::int64_t durationMs) {
    std::vector<Bytes> packets;
    for (std::int64_t t = startMs; t < startMs + durationMs; t += ConverterModel::kPacketIntervalMs) {
        const Bytes sent = model.Poll(t);
        for (std::size_t p = 0; p + 8 <= sent.size(); p += 8)
            packets.emplace_back(sent.begin() + static_cast<std::ptrdiff_t>(p),
                                 sent.begin() + static_cast<std::ptrdiff_t>(p + 8));
    }
    return packets;
}

} // namespace

TEST(ConverterModel, StreamsOnePacketPerTenMillisecondsFromTheStartCommand) {
    ConverterModel model;
    model.Feed(Command("sl"), 1000);
    const struct {
        std::int64_t pollAt;
        std::size_t bytes;
    } polls[] = {
        {1000, 8},                        // the first block at once
        {1009, 0}, {1010, 8}, {1055, 32}, // 1020, 1030, 1040 and 1050 at once when polled late
        {1059, 0},
    };
    for (const auto& poll : polls)
        EXPECT_EQ(model.Poll(poll.pollAt).size(), poll.bytes) << poll.pollAt;
    model.Feed(Command("s"), 1060); // the packet due at 1060 still goes, then the stream stops
    EXPECT_EQ(model.Poll(1060).size(), 8u);
    EXPECT_EQ(model.Poll(2000).size(), 0u);
    EXPECT_FALSE(model.Streaming());
}

TEST(ConverterModel, TheEngineCycleCoversIdleCruiseAndFullThrottle) {
    ConverterModel model;
    model.Feed(Command("sl"), 0);
    const std::vector<Bytes> packets = Packets(model, 0, EngineModel::kCycleMs);
    ASSERT_EQ(packets.size(), static_cast<std::size_t>(EngineModel::kCycleMs / 10));
    int minThrottle = 255, maxThrottle = 0, minRpm = 100000, maxRpm = 0;
    for (const Bytes& p : packets) {
        EXPECT_EQ(p[0], p[3]); // the default 1:1 table
        const int rpm = 1500000 / (p[5] * 256 + p[6]);
        minThrottle = std::min<int>(minThrottle, p[4]);
        maxThrottle = std::max<int>(maxThrottle, p[4]);
        minRpm = std::min(minRpm, rpm);
        maxRpm = std::max(maxRpm, rpm);
    }
    EXPECT_LT(minThrottle, 25);
    EXPECT_GT(maxThrottle, 240);
    EXPECT_LT(minRpm, 900);
    EXPECT_GT(maxRpm, 6000);
}

TEST(ConverterModel, ALiveCorrectionShiftsTheOutputAndRichensTheMixture) {
    ConverterModel plain, corrected;
    corrected.Feed(Command("c", {10, 0}), 0);
    for (ConverterModel* model : {&plain, &corrected})
        model->Feed(Command("sl"), 0);
    const std::vector<Bytes> before = Packets(plain, 0, 10000);
    const std::vector<Bytes> after = Packets(corrected, 0, 10000);
    ASSERT_EQ(before.size(), after.size());
    // The richer gas reaches the sensor after the exhaust's delay (this drive starts at idle and light
    // cruise) and the sensor has followed most of the way three time constants later.
    const std::size_t delayPackets = ExhaustPath::kLongestDelayMs / ConverterModel::kPacketIntervalMs;
    const std::size_t followedPackets =
        delayPackets + 3 * ExhaustPath::kSensorResponseMs / ConverterModel::kPacketIntervalMs;
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i][0], std::min(255, before[i][0] + 10)) << i;
        if (i < delayPackets) {
            EXPECT_EQ(after[i][7], before[i][7]) << i; // still the gas burnt before the correction
        } else if (i >= followedPackets) {
            EXPECT_LT(after[i][7], before[i][7]) << i; // more signal, more fuel, lower AFR
        }
    }
}

TEST(ConverterModel, CorrectionBytesAreMagnitudeAndSign) {
    const struct {
        std::uint8_t magnitude, sign;
        int correction;
    } cases[] = {{0x05, 0x01, -5}, {0x0C, 0x00, 12}, {0x00, 0x00, 0}, {0xFF, 0x00, 255}};
    for (const auto& c : cases) {
        ConverterModel model;
        model.Feed(Command("c", {c.magnitude, c.sign}), 0);
        EXPECT_EQ(model.Correction(), c.correction);
    }
}

TEST(ConverterModel, TheWindowLimitsTheCorrectionToItsMafRange) {
    ConverterModel model;
    model.Feed(Command("g", {0x80, 0xFF}), 0);
    model.Feed(Command("c", {10, 0}), 0);
    EXPECT_EQ(model.Output(127, 0), 127);
    EXPECT_EQ(model.Output(128, 0), 138);
    model.Feed(Command("g", {0x00, 0xFF}), 0);
    EXPECT_EQ(model.Output(127, 0), 137);
}

TEST(ConverterModel, TheLiveTableTakesEffectAtOnceAndTable2AboveTheThrottleThreshold) {
    ConverterModel model;
    Image image = ImageWith(100, 50);
    image[263] = 128;      // table 2 above throttle 128
    image[256 + 100] = 70; // table 2 at MAF 100
    model.Feed(ImageCommand("t", image), 0);
    EXPECT_EQ(model.WorkingImage(), image);
    EXPECT_EQ(model.StoredImage(), ConverterModel::DefaultImage()); // not stored
    EXPECT_EQ(model.Output(100, 128), 50);
    EXPECT_EQ(model.Output(100, 129), 70);
    EXPECT_EQ(model.Output(5, 255), 5); // below MAF 8 table 1 stands in
}

TEST(ConverterModel, AWriteIsStoredOnlyAfterTheEepromDelayAndIsBusyMeanwhile) {
    ConverterModel model;
    const Image image = ImageWith(10, 99);
    model.Feed(ImageCommand("sw", image), 0);
    EXPECT_TRUE(model.Poll(0).empty()); // no reply
    model.Feed(Command("sr"), 100);     // lost: the device is writing
    EXPECT_TRUE(model.Poll(ConverterModel::kEepromWriteMs - 1).empty());
    EXPECT_EQ(model.StoredImage(), ConverterModel::DefaultImage());
    model.Feed(Command("sr"), ConverterModel::kEepromWriteMs);
    EXPECT_EQ(model.StoredImage(), image);
    const Bytes reply = model.Poll(ConverterModel::kEepromWriteMs);
    EXPECT_EQ(reply, Bytes(image.begin(), image.end()));
}

TEST(ConverterModel, WhileStreamingOnlyStopAndTheLiveCommandsAreTaken) {
    ConverterModel model;
    model.Feed(Command("sl"), 0);
    model.Feed(Command("sv"), 1); // "s" stops the stream; the "v" after it is no command
    EXPECT_FALSE(model.Streaming());
    model.Poll(1);
    model.Feed(Command("sl"), 5);
    model.Feed(Command("r"), 6);
    model.Feed(ImageCommand("t", ImageWith(3, 33)), 6);
    model.Feed(Command("c", {2, 1}), 7);
    model.Feed(Command("g", {0, 255}), 8);
    EXPECT_TRUE(model.Streaming());
    EXPECT_EQ(model.Poll(95).size(), 10u * 8); // packets only, from 5 to 95
    EXPECT_EQ(model.WorkingImage(), ImageWith(3, 33));
    EXPECT_EQ(model.Correction(), -2);
}

TEST(ConverterModel, ALoneStopBeforeACommandIsHarmless) {
    ConverterModel model;
    model.Feed(Command("s"), 0);
    model.Feed(Command("sv"), 10);
    EXPECT_EQ(model.Poll(10), Bytes{ConverterModel::kVersion});
}

TEST(ConverterModel, AnIncompleteCommandIsDroppedAfterAGap) {
    ConverterModel model;
    model.Feed(Command("c", {5}), 0);
    model.Feed(Command("sv"), ConverterModel::kByteGapMs);
    EXPECT_EQ(model.Poll(ConverterModel::kByteGapMs), Bytes{ConverterModel::kVersion});
    EXPECT_EQ(model.Correction(), 0);
}

TEST(ConverterModel, FirmwareFramesAreAcknowledgedOneByOne) {
    ConverterModel model;
    model.SetUpdateMode(true);
    model.Feed(Bytes{0x00, 0x03, 0xAA, 0xBB, 0xCC, 0x00, 0x01, 0xDD, 0x00, 0x00}, 0);
    EXPECT_EQ(model.Poll(0), (Bytes{0x11, 0x11, 0x11}));
    EXPECT_EQ(model.AcceptedFrames(),
              (std::vector<Bytes>{{0x00, 0x03, 0xAA, 0xBB, 0xCC}, {0x00, 0x01, 0xDD}, {0x00, 0x00}}));
    model.Feed(Command("sv"), 10); // no commands in update mode: the start of a frame
    EXPECT_TRUE(model.Poll(10).empty());
    EXPECT_EQ(model.Poll(10 + ConverterModel::kByteGapMs), Bytes{ConverterModel::kFrameRejected});
}

TEST(ConverterModel, RejectedFramesAreRefusedThatManyTimesInARow) {
    const struct {
        int rejections;
        Bytes replies; // to four sendings of one frame
    } cases[] = {
        {0, {0x11, 0x11, 0x11, 0x11}},
        {3, {0x00, 0x00, 0x00, 0x11}},
        {4, {0x00, 0x00, 0x00, 0x00}},
    };
    for (const auto& c : cases) {
        ConverterModel model({.rejectFrames = c.rejections});
        model.SetUpdateMode(true);
        for (int sending = 0; sending < 4; ++sending)
            model.Feed(Bytes{0x00, 0x01, 0x42}, sending);
        EXPECT_EQ(model.Poll(4), c.replies) << c.rejections;
    }
}

TEST(ConverterModel, UpdateFaultsFallSilentOrSendStaleBytesInOnePieceWithTheReply) {
    const Bytes frame = {0x00, 0x01, 0x42};
    ConverterModel silencing({.silentAfterFrames = 2});
    silencing.SetUpdateMode(true);
    for (int sending = 0; sending < 3; ++sending)
        silencing.Feed(frame, sending);
    EXPECT_EQ(silencing.Poll(3), (Bytes{0x11, 0x11}));
    EXPECT_EQ(silencing.AcceptedFrames().size(), 2u);

    ConverterModel stale({.staleBytes = true});
    stale.SetUpdateMode(true);
    stale.Feed(frame, 0);
    EXPECT_TRUE(stale.Poll(0).empty());
    EXPECT_EQ(stale.PollOneChunk(), (Bytes{0x11, 0x00, 0x00, 0x00, 0x00}));
}

TEST(ConverterModel, AWholeImageEndsUpdateModeAndTheDeviceServesCommandsAgain) {
    ConverterModel model;
    model.SetUpdateMode(true, 2);
    model.Feed(Bytes{0x00, 0x01, 0x42, 0x00, 0x02, 0x43, 0x44}, 0);
    EXPECT_EQ(model.Poll(0), (Bytes{0x11, 0x11}));
    EXPECT_FALSE(model.UpdateMode());
    model.Feed(Command("sv"), 10);
    EXPECT_EQ(model.Poll(10), Bytes{ConverterModel::kVersion});
}

TEST(ConverterModel, FaultSwitchesChangeWhatTheDeviceSends) {
    const struct {
        const char* name;
        FaultSwitches faults;
        std::size_t versionBytes, tableBytes;
    } cases[] = {
        {"none", {}, 1, 512},
        {"silent", {.silent = true}, 0, 0},
        {"short replies", {.shortReplies = true}, 0, 300},
    };
    for (const auto& c : cases) {
        ConverterModel model(c.faults);
        model.Feed(Command("sv"), 0);
        EXPECT_EQ(model.Poll(0).size(), c.versionBytes) << c.name;
        model.Feed(Command("sr"), 10);
        EXPECT_EQ(model.Poll(10).size(), c.tableBytes) << c.name;
        model.Feed(Command("sl"), 20);
        EXPECT_EQ(model.Poll(20).size(), c.faults.silent ? 0u : 8u) << c.name;
    }
}

TEST(ConverterModel, AWrongReadBackByteDiffersInOneCellOnly) {
    ConverterModel model({.wrongReadBack = true});
    const Image image = ImageWith(30, 0);
    model.Feed(ImageCommand("sw", image), 0);
    model.Feed(Command("sr"), ConverterModel::kEepromWriteMs);
    const Bytes readBack = model.Poll(ConverterModel::kEepromWriteMs);
    ASSERT_EQ(readBack.size(), 512u);
    for (std::size_t i = 0; i < 512; ++i)
        EXPECT_EQ(readBack[i] != image[i], i == ConverterModel::kFaultyCell) << i;
}

TEST(ConverterModel, StreamFaultsDropOneByteOrTheLine) {
    ConverterModel dropping({.dropStreamByte = true});
    dropping.Feed(Command("sl"), 0);
    EXPECT_EQ(dropping.Poll(90).size(), 10u * 8 - 1);

    ConverterModel hanging({.hangUp = true});
    hanging.Feed(Command("sl"), 0);
    EXPECT_FALSE(hanging.HangUpDue());
    EXPECT_EQ(hanging.Poll(1000).size(), ConverterModel::kHangUpAfterPackets * 8u);
    EXPECT_TRUE(hanging.HangUpDue());

    ConverterModel fading;
    fading.Feed(Command("sl"), 0);
    EXPECT_EQ(fading.Poll(0).size(), 8u);
    fading.SetFaults({.silent = true}); // switched while running, as a test does through the server
    EXPECT_TRUE(fading.Poll(100).empty());
}

TEST(ConverterModel, GarbageIdleSendsOneBurstPerQuietSpellAndNoneIntoARepliesOrAStream) {
    const Bytes noise = ConverterModel::NoiseBurst();
    ASSERT_EQ(noise.size() % 8, 5u) << "no multiple of a packet";
    ConverterModel model({.garbageIdle = true});
    const std::int64_t quiet = ConverterModel::kNoiseQuietMs;
    model.Feed(Command("sv"), 0);
    EXPECT_EQ(model.Poll(0), Bytes{ConverterModel::kVersion});
    EXPECT_TRUE(model.Poll(quiet - 1).empty());
    EXPECT_EQ(model.Poll(quiet), noise);
    EXPECT_TRUE(model.Poll(5 * quiet).empty()) << "once per quiet spell";
    EXPECT_EQ(model.NoiseBursts(), 1);

    // A command starts a new spell; its reply comes alone.
    model.Feed(Command("sr"), 6 * quiet);
    EXPECT_EQ(model.Poll(6 * quiet).size(), 512u);
    EXPECT_EQ(model.Poll(7 * quiet), noise);

    // Neither a stream nor the EEPROM write is interrupted: the spell starts once they are over.
    model.Feed(Command("sl"), 8 * quiet);
    const Bytes stream = model.Poll(10 * quiet);
    EXPECT_EQ(stream.size(), std::size_t(2 * quiet / 10 + 1) * 8);
    model.Feed(Command("s"), 10 * quiet);
    model.Feed(ImageCommand("sw", ConverterModel::DefaultImage()), 10 * quiet + 1);
    EXPECT_TRUE(model.Poll(11 * quiet).empty()) << "writing the EEPROM, then quiet since";
    EXPECT_EQ(model.Poll(10 * quiet + 1 + ConverterModel::kEepromWriteMs + quiet), noise);
    EXPECT_EQ(model.NoiseBursts(), 3);
}

TEST(ConverterModel, GarbageStreamPutsOneBurstBetweenTwoPackets) {
    ConverterModel model({.garbageStream = true});
    model.KeepSentPackets(true);
    model.Feed(Command("sl"), 0);
    const Bytes sent = model.Poll(100);
    const Bytes noise = ConverterModel::NoiseBurst();
    const std::size_t at = (ConverterModel::kNoisePacket + 1) * 8;
    ASSERT_EQ(sent.size(), 11 * 8 + noise.size());
    EXPECT_EQ(Bytes(sent.begin() + std::ptrdiff_t(at), sent.begin() + std::ptrdiff_t(at + noise.size())),
              noise);
    EXPECT_EQ(sent[at + noise.size() + 2], 128) << "a whole packet follows the burst";
    ASSERT_EQ(model.SentPackets().size(), 12u) << "eleven packets and the burst";
    EXPECT_EQ(model.SentPackets()[ConverterModel::kNoisePacket + 1], noise);
    EXPECT_EQ(model.NoiseBursts(), 1);
}

TEST(ConverterModel, HangUpsInAWriteAndInUpdateModeDropTheLineAndStoreNothing) {
    ConverterModel writing({.hangUpMidWrite = true});
    const Image image = ImageWith(10, 99);
    const Bytes command = ImageCommand("sw", image);
    writing.Feed(Bytes(command.begin(), command.begin() + 2 + 255), 0);
    EXPECT_FALSE(writing.HangUpDue());
    writing.Feed(Bytes(command.begin() + 2 + 255, command.end()), 1);
    EXPECT_TRUE(writing.HangUpDue()) << "once half the image has arrived";
    writing.Feed(Command("sr"), 5000);
    EXPECT_TRUE(writing.Poll(5000).empty());
    EXPECT_EQ(writing.StoredImage(), ConverterModel::DefaultImage());
    EXPECT_EQ(writing.WorkingImage(), ConverterModel::DefaultImage());

    ConverterModel updating({.hangUp = true});
    updating.SetUpdateMode(true);
    updating.Feed(Bytes{0x00, 0x01, 0x42}, 0);
    EXPECT_EQ(updating.Poll(0), Bytes{ConverterModel::kFrameAccepted}) << "the acknowledgement still goes";
    EXPECT_TRUE(updating.HangUpDue());
    updating.Feed(Bytes{0x00, 0x01, 0x43}, 10);
    EXPECT_TRUE(updating.Poll(10).empty());
    EXPECT_EQ(updating.FramesReceived(), 1);
}

TEST(FaultSwitches, CommandLineWordsTurnSwitchesOn) {
    FaultSwitches faults;
    for (const char* word :
         {"silent", "short-replies", "wrong-read-back", "drop-stream-byte", "hang-up", "reject-frames=4",
          "silent-after-frames=3", "stale-bytes", "garbage-idle", "garbage-stream", "hang-up-mid-write"})
        EXPECT_TRUE(SetFaultSwitch(faults, word)) << word;
    EXPECT_TRUE(faults.silent && faults.shortReplies && faults.wrongReadBack && faults.dropStreamByte &&
                faults.hangUp && faults.staleBytes && faults.garbageIdle && faults.garbageStream &&
                faults.hangUpMidWrite);
    EXPECT_EQ(faults.rejectFrames, 4);
    EXPECT_EQ(faults.silentAfterFrames, 3);
    for (const char* word : {"", "loud", "reject-frames=", "reject-frames=x", "reject-frames=-1", "silent ",
                             "silent-after-frames=y", "garbage", "hang-up-mid"})
        EXPECT_FALSE(SetFaultSwitch(faults, word)) << word;
}
