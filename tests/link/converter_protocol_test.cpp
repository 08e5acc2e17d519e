// The converter exchanges run over the real TComPort against the simulated converter on a
// pseudo-terminal: what goes out on the line, what comes back, and the failures and their texts.

#include "com_port.h"
#include "converter_protocol.h"
#include "link_test_support.h"
#include "live_packet.h"
#include "simulator_server.h"
#include "table_parameters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// The port the exchanges see: the real one, with a record of every byte written to it and of the
// operations in their order.
class RecordingPort : public BytePort {
public:
    explicit RecordingPort(BytePort& port) : port(port) {}
    int Write(const std::uint8_t* data, int count) override {
        sent.insert(sent.end(), data, data + count);
        operations.push_back("write " + std::to_string(count));
        return port.Write(data, count);
    }
    int Read(std::uint8_t* buffer, int count) override { return port.Read(buffer, count); }
    void ClearInput() override {
        operations.push_back("purge input");
        port.ClearInput();
    }
    void ClearOutput() override {
        operations.push_back("purge output");
        port.ClearOutput();
    }

    Bytes sent;
    std::vector<std::string> operations;

private:
    BytePort& port;
};

// A port whose writes stall after the first byte, as a line that stopped draining.
class StalledPort : public BytePort {
public:
    int Write(const std::uint8_t*, int count) override { return std::min(count, 1); }
    int Read(std::uint8_t*, int) override { return 0; }
    void ClearInput() override {}
    void ClearOutput() override {}
};

Bytes Letters(const std::string& letters) {
    return Bytes(letters.begin(), letters.end());
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

Bytes Wire(const TableImage& image) {
    const TableImageBytes bytes = imageBytes(image);
    return Bytes(bytes.begin(), bytes.end());
}

// Tab1 falling, Tab2 rising, default parameters: unlike the simulator's own image in every table entry.
TableImage TestImage() {
    TableImage image{};
    for (int maf = 0; maf < MafCount; ++maf)
        image[maf] = 255 - maf;
    SetDefaultParameters(image);
    for (int maf = Tab2FirstMaf; maf < MafCount; ++maf)
        image[tab2Index(maf)] = maf / 2;
    return image;
}

TableImage SimulatorDefaultImage() {
    const ConverterModel::Image bytes = ConverterModel::DefaultImage();
    TableImage image{};
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return image;
}

ConverterModel::Image AsDeviceImage(const TableImage& image) {
    const TableImageBytes bytes = imageBytes(image);
    ConverterModel::Image device{};
    std::copy(bytes.begin(), bytes.end(), device.begin());
    return device;
}

// Enough for the simulated EEPROM (about 1.7 s) to take the image before the read-back.
WritePacing QuickPacing() {
    WritePacing pacing;
    pacing.stepPause = 5ms;
    return pacing;
}

const std::string NoReplyText =
    "Converter doesn't respond. Please check supply voltage,COM port cable, Bluetooth adapter.\n\n"
    "Конвертер не отвечает. Проверьте наличие питания, кабель COM порта, адаптер Bluetooth\n\n\n";

class ConverterExchanges : public ::testing::Test {
protected:
    void Start(FaultSwitches faults = {}) {
        server = std::make_unique<SimulatorServer>(ConverterModel(faults));
        port.SetPortName(server->SlavePath());
        port.Open();
    }

    template <class F> decltype(auto) Device(F&& f) { return server->WithModel(std::forward<F>(f)); }

    // The server before the port, so the port closes first.
    std::unique_ptr<SimulatorServer> server;
    TComPort port;
    RecordingPort line{port};
    Watchdog watchdog{30s};
};

} // namespace

TEST_F(ConverterExchanges, VersionAsksWithSvAndGetsOneByte) {
    Start();
    const VersionReply reply = ReadVersion(line);
    EXPECT_EQ(reply.version, 0x24);
    EXPECT_FALSE(reply.failure);
    EXPECT_EQ(line.sent, Letters("sv"));
}

TEST(VersionText, IsTheByteTimesATenthWithTheUsersSeparator) {
    const struct {
        int version;
        char separator;
        const char* text;
    } cases[] = {{0x24, '.', "3.6"}, {0x24, ',', "3,6"}, {30, '.', "3"}, {0, ',', "0"}, {255, ',', "25,5"}};
    for (const auto& c : cases)
        EXPECT_EQ(versionText(c.version, c.separator), c.text) << c.version << c.separator;
}

TEST_F(ConverterExchanges, TablesAskWithSrAndGetTheWholeImage) {
    Start();
    const TablesReply reply = ReadTables(line);
    ASSERT_TRUE(reply.image);
    EXPECT_EQ(*reply.image, SimulatorDefaultImage());
    EXPECT_FALSE(reply.failure);
    EXPECT_EQ(line.sent, Letters("sr"));
}

TEST_F(ConverterExchanges, ASilentConverterGivesNoVersionAndNoTables) {
    Start({.silent = true});
    const VersionReply version = ReadVersion(line);
    EXPECT_EQ(version.version, 0);
    ASSERT_TRUE(version.failure);
    EXPECT_EQ(version.failure->code, "ErrorConnect");
    EXPECT_EQ(linkErrorMessage(version.failure->code, version.failure->received, version.failure->expected),
              NoReplyText + "0 of/из 1 Recieved/Получено");

    const TablesReply tables = ReadTables(line);
    EXPECT_FALSE(tables.image);
    ASSERT_TRUE(tables.failure);
    EXPECT_EQ(linkErrorMessage(tables.failure->code, tables.failure->received, tables.failure->expected),
              NoReplyText + "0 of/из 512 Recieved/Получено");
}

TEST_F(ConverterExchanges, AShortTablesReplyGivesNoImageAndTheCountThatCame) {
    Start({.shortReplies = true});
    const TablesReply reply = ReadTables(line);
    EXPECT_FALSE(reply.image);
    ASSERT_TRUE(reply.failure);
    EXPECT_EQ(reply.failure->code, "ErrorConnect");
    EXPECT_EQ(reply.failure->received, 300);
    EXPECT_EQ(reply.failure->expected, 512);
}

TEST_F(ConverterExchanges, AWriteSendsSwAndTheImagePacesItselfAndVerifiesTheReadBack) {
    Start();
    int started = 0, steps = 0, finished = 0, stepsBeforeFinish = -1;
    WritePacing pacing = QuickPacing();
    pacing.started = [&] { ++started; };
    pacing.stepped = [&] { steps += started == 1 && finished == 0; };
    pacing.finished = [&] { ++finished, stepsBeforeFinish = steps; };
    const auto start = SteadyClock::now();
    const std::optional<LinkFailure> failure = WriteTables(line, TestImage(), pacing);
    const long long elapsed = MillisecondsSince(start);

    EXPECT_FALSE(failure) << failure->code;
    EXPECT_EQ(line.sent, Concat({Letters("sw"), Wire(TestImage()), Letters("sr")}));
    // The defaults go out as these bytes right after Tab1.
    EXPECT_EQ(Bytes(line.sent.begin() + 2 + 256, line.sent.begin() + 2 + 264),
              (Bytes{4, 5, 128, 64, 128, 128, 128, 255}));
    EXPECT_EQ(started, 1);
    EXPECT_EQ(stepsBeforeFinish, 512);
    EXPECT_EQ(finished, 1);
    EXPECT_GE(elapsed, 512 * 5);
    Device([](const ConverterModel& device) { EXPECT_EQ(device.StoredImage(), AsDeviceImage(TestImage())); });
}

TEST_F(ConverterExchanges, AWriteThatCannotVerifyNamesItsFailure) {
    TableImage above255 = TestImage();
    above255[parameterIndex(Parameter::SmoothMaf)] = 1279; // "999" typed: only 255 can go out
    const struct {
        const char* name;
        FaultSwitches faults;
        TableImage image;
        std::string code;
        int received;
        std::string message;
    } cases[] = {
        {"parameter above 255",
         {},
         above255,
         "VerificationError",
         512,
         "Verification error.\n\nОшибка верификации.\n\n\n"},
        {"converter keeps a wrong cell",
         {.wrongReadBack = true},
         TestImage(),
         "VerificationError",
         512,
         "Verification error.\n\nОшибка верификации.\n\n\n"},
        {"short read-back",
         {.shortReplies = true},
         TestImage(),
         "ErrorConnect=",
         300,
         NoReplyText + "300 of/из 512 Recieved/Получено"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start(c.faults);
        line.sent.clear();
        const std::optional<LinkFailure> failure = WriteTables(line, c.image, QuickPacing());
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->code, c.code);
        EXPECT_EQ(failure->received, c.received);
        EXPECT_EQ(failure->expected, 512);
        EXPECT_EQ(linkErrorMessage(failure->code, failure->received, failure->expected), c.message);
        ASSERT_EQ(line.sent.size(), 2u + 512u + 2u);
        EXPECT_EQ(line.sent[2 + 260], c.image[260] & 0xFF);
        port.Close();
    }
}

// During a run an input purge would drop stream bytes, and an output purge after "t" could drop the
// command an adapter still holds: only a stopped stream has its queues purged, before the command.
TEST_F(ConverterExchanges, TheLiveTableGoesOutWithoutWaitingAndPurgesOnlyWhileTheStreamIsStopped) {
    const struct {
        LiveStream stream;
        std::vector<std::string> operations;
    } cases[] = {
        {LiveStream::Stopped, {"purge input", "purge output", "write 1", "write 512"}},
        {LiveStream::Running, {"write 1", "write 512"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stream == LiveStream::Running ? "running" : "stopped");
        Start();
        line.sent.clear();
        line.operations.clear();
        const auto start = SteadyClock::now();
        SendTablesLive(line, TestImage(), c.stream);
        EXPECT_LT(MillisecondsSince(start), 500);
        EXPECT_EQ(line.operations, c.operations);
        EXPECT_EQ(line.sent, Concat({Letters("t"), Wire(TestImage())}));
        // No reply: the next command's answer is the first byte to come.
        EXPECT_EQ(ReadVersion(line).version, 0x24);
        Device([](const ConverterModel& device) {
            EXPECT_EQ(device.WorkingImage(), AsDeviceImage(TestImage()));
            EXPECT_EQ(device.StoredImage(), ConverterModel::DefaultImage());
        });
        port.Close();
    }
}

TEST_F(ConverterExchanges, CorrectionsGoOutAsMagnitudeAndSign) {
    Start();
    const struct {
        int correction;
        Bytes sent;
        int applied; // as the simulated converter takes it
    } cases[] = {
        {-5, {0x63, 0x05, 0x01}, -5},     {12, {0x63, 0x0C, 0x00}, 12},  {0, {0x63, 0x00, 0x00}, 0},
        {255, {0x63, 0xFF, 0x00}, 255},   {-256, {0x63, 0x00, 0x01}, 0}, {300, {0x63, 0x2C, 0x00}, 44},
        {INT_MIN, {0x63, 0x00, 0x01}, 0},
    };
    for (const auto& c : cases) {
        line.sent.clear();
        SendCorrection(line, c.correction);
        EXPECT_EQ(line.sent, c.sent) << c.correction;
        ReadVersion(line); // the device has taken the command once it answers the next one
        Device(
            [&](const ConverterModel& device) { EXPECT_EQ(device.Correction(), c.applied) << c.correction; });
    }
}

TEST_F(ConverterExchanges, TheWindowCommandAlwaysCarriesTheWholeRangeAndStopIsOneLetter) {
    Start();
    SendWindow(line);
    EXPECT_EQ(line.sent, (Bytes{0x67, 0x00, 0xFF}));
    line.sent.clear();
    sendStreamStop(line);
    EXPECT_EQ(line.sent, Letters("s"));
    EXPECT_EQ(ReadVersion(line).version, 0x24);
    Device([](const ConverterModel& device) {
        EXPECT_EQ(device.WindowLow(), 0);
        EXPECT_EQ(device.WindowHigh(), 255);
    });
}

TEST_F(ConverterExchanges, AfterTheStreamStopsTheNextReplyHoldsNoStreamByte) {
    Start();
    for (int run = 0; run < 5; ++run) {
        sendStreamStart(line);
        LivePacket packet;
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(line.Read(packet.bytes.data(), LivePacket::kSize), LivePacket::kSize);
        // "s" reaches the converter at another point of its next packet each run; the packet on the
        // line then still comes in whole.
        std::this_thread::sleep_for(std::chrono::milliseconds(2 * run));
        sendStreamStop(line);
        const TablesReply reply = ReadTables(line);
        ASSERT_TRUE(reply.image) << run;
        EXPECT_EQ(*reply.image, SimulatorDefaultImage()) << run;
    }
}

TEST(ConverterExchangeFailures, AClosedPortFailsEveryExchangeAsTheSerialLayer) {
    TComPort closed;
    const struct {
        const char* name;
        std::function<void()> exchange;
        const char* failure;
    } cases[] = {
        {"sv", [&] { ReadVersion(closed); }, "PurgeComm function failed (Error: 9)"},
        {"sr", [&] { ReadTables(closed); }, "PurgeComm function failed (Error: 9)"},
        {"sw", [&] { WriteTables(closed, TestImage(), QuickPacing()); },
         "PurgeComm function failed (Error: 9)"},
        {"t", [&] { SendTablesLive(closed, TestImage(), LiveStream::Stopped); },
         "PurgeComm function failed (Error: 9)"},
        {"t during a run", [&] { SendTablesLive(closed, TestImage(), LiveStream::Running); },
         "WriteFile function failed (Error: 9)"},
        {"c", [&] { SendCorrection(closed, 1); }, "WriteFile function failed (Error: 9)"},
        {"g", [&] { SendWindow(closed); }, "WriteFile function failed (Error: 9)"},
    };
    for (const auto& c : cases) {
        std::string failure = "none";
        try {
            c.exchange();
        } catch (const ESerialError& error) {
            failure = error.what();
        }
        EXPECT_EQ(failure, c.failure) << c.name;
    }
}

// A command that never fully left would otherwise pass for sent: the live table, a correction.
TEST(ConverterExchangeFailures, AWriteThatCannotLeaveIsASerialFailure) {
    StalledPort stalled;
    const std::function<void()> exchanges[] = {
        [&] { ReadVersion(stalled); },
        [&] { ReadTables(stalled); },
        [&] { WriteTables(stalled, TestImage(), QuickPacing()); },
        [&] { SendTablesLive(stalled, TestImage(), LiveStream::Stopped); },
        [&] { SendTablesLive(stalled, TestImage(), LiveStream::Running); },
        [&] { SendCorrection(stalled, -5); },
        [&] { SendWindow(stalled); },
    };
    const std::string timedOut =
        "WriteFile function failed (Error: " + std::to_string(int(std::errc::timed_out)) + ")";
    for (std::size_t i = 0; i < std::size(exchanges); ++i) {
        std::string failure = "none";
        try {
            exchanges[i]();
        } catch (const ESerialError& error) {
            failure = error.what();
        }
        EXPECT_EQ(failure, timedOut) << i;
    }
}

TEST(LinkErrorMessage, LooksOnlyAtTheCodesFirstLetter) {
    const struct {
        const char* code;
        std::string message;
    } cases[] = {
        {"ErrorConnect", NoReplyText + "7 of/из 512 Recieved/Получено"},
        {"ErrorConnect=", NoReplyText + "7 of/из 512 Recieved/Получено"},
        {"Elsewhere", NoReplyText + "7 of/из 512 Recieved/Получено"},
        {"VerificationError", "Verification error.\n\nОшибка верификации.\n\n\n"},
        {"other", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(linkErrorMessage(c.code, 7, 512), c.message) << c.code;
}

// The one write at the converter's own pace: 512 steps of 25 ms before the read-back.
TEST_F(ConverterExchanges, AWriteAtTheRealPaceTakesTwelvePointEightSeconds) {
    Start();
    int steps = 0;
    WritePacing pacing;
    pacing.stepped = [&] { ++steps; };
    const auto start = SteadyClock::now();
    const std::optional<LinkFailure> failure = WriteTables(line, TestImage(), pacing);
    const long long elapsed = MillisecondsSince(start);
    EXPECT_FALSE(failure) << failure->code;
    EXPECT_EQ(steps, 512);
    EXPECT_GE(elapsed, 12800);
    EXPECT_LT(elapsed, 12800 + 3000); // the paced wait plus one read-back, not a stalled step
}
