// TComPort against a bare pseudo-terminal: the test plays the other end of the line byte by byte.

#include "com_port.h"
#include "link_test_support.h"
#include "pseudo_terminal.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <numeric>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// What the far end received, up to count bytes, waiting at most limit.
Bytes ReadFromMaster(int master, std::size_t count, std::chrono::milliseconds limit) {
    Bytes received;
    const auto deadline = SteadyClock::now() + limit;
    while (received.size() < count && SteadyClock::now() < deadline) {
        pollfd fd{master, POLLIN, 0};
        if (::poll(&fd, 1, 10) <= 0)
            continue;
        std::uint8_t chunk[256];
        const ssize_t n = ::read(master, chunk, std::min(sizeof chunk, count - received.size()));
        if (n > 0)
            received.insert(received.end(), chunk, chunk + n);
    }
    return received;
}

void WriteToMaster(int master, const Bytes& bytes) {
    ASSERT_EQ(::write(master, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

std::string FailureText(const std::function<void()>& operation) {
    try {
        operation();
    } catch (const ESerialError& error) {
        return error.what();
    }
    return "no failure";
}

class ComPortOnPty : public ::testing::Test {
protected:
    void SetUp() override {
        port.SetPortName(terminal.SlavePath());
        port.Open();
    }

    PseudoTerminal terminal;
    TComPort port;
};

} // namespace

TEST(ComPort, IsNamedCom1AndClosedBeforeAnySelection) {
    TComPort port;
    EXPECT_EQ(port.PortName(), "COM1");
    EXPECT_FALSE(port.IsOpen());
}

TEST(ComPort, EveryOperationOnAClosedPortFailsWithItsText) {
    TComPort port;
    std::uint8_t byte = 0;
    const struct {
        std::function<void()> operation;
        const char* text;
    } cases[] = {
        {[&] { port.Write(&byte, 1); }, "WriteFile function failed (Error: 9)"},
        {[&] { port.Read(&byte, 1); }, "ReadFile function failed (Error: 9)"},
        {[&] { port.ClearInput(); }, "PurgeComm function failed (Error: 9)"},
        {[&] { port.ClearOutput(); }, "PurgeComm function failed (Error: 9)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FailureText(c.operation), c.text);
}

TEST(ComPort, OpenFailuresCarryTheSystemErrorAndLeaveThePortClosed) {
    const struct {
        const char* name;
        const char* text;
    } cases[] = {
        {"zarni-no-such-port", "Unable to open com port (Error: 2)"},      // looked up as /dev/<name>
        {"/dev/zarni-no-such-port", "Unable to open com port (Error: 2)"}, // an absolute path as it is
        {"/dev/null", "Unable to open com port (Error: 25)"},              // not a terminal
    };
    for (const auto& c : cases) {
        TComPort port;
        port.SetPortName(c.name);
        EXPECT_EQ(FailureText([&] { port.Open(); }), c.text) << c.name;
        EXPECT_FALSE(port.IsOpen()) << c.name;
    }
}

TEST_F(ComPortOnPty, ANameThatIsNotAPathIsLookedUpUnderDev) {
    TComPort byName;
    byName.SetPortName(terminal.SlavePath().substr(std::string("/dev/").size()));
    port.Close();
    byName.Open();
    EXPECT_TRUE(byName.IsOpen());
}

TEST_F(ComPortOnPty, APortHeldByAnotherIsRefusedAndReopensOnceFree) {
    TComPort other;
    other.SetPortName(terminal.SlavePath());
    // Refused by the terminal's exclusive mode (EBUSY) or, for root, by our lock on it (EWOULDBLOCK).
    const std::string refusal = FailureText([&] { other.Open(); });
    EXPECT_TRUE(refusal == "Unable to open com port (Error: " + std::to_string(EBUSY) + ")" ||
                refusal == "Unable to open com port (Error: " + std::to_string(EWOULDBLOCK) + ")")
        << refusal;
    EXPECT_FALSE(other.IsOpen());
    port.Close();
    other.Open();
    other.Close();
    port.Open(); // the same port again
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(ComPortOnPty, EveryByteValuePassesUnchangedBothWays) {
    Bytes all(256);
    std::iota(all.begin(), all.end(), 0);
    WriteToMaster(terminal.MasterFd(), all);
    Bytes received(256);
    EXPECT_EQ(port.Read(received.data(), 256), 256);
    EXPECT_EQ(received, all);

    EXPECT_EQ(port.Write(all.data(), 256), 256);
    EXPECT_EQ(ReadFromMaster(terminal.MasterFd(), 256, 2000ms), all);
}

TEST_F(ComPortOnPty, AShortReadReturnsWhatArrivedWhenTheTimeOutEnds) {
    WriteToMaster(terminal.MasterFd(), {1, 2, 3, 4, 5});
    std::uint8_t buffer[8] = {};
    const auto start = SteadyClock::now();
    EXPECT_EQ(port.Read(buffer, 8), 5);
    const long long elapsed = MillisecondsSince(start);
    EXPECT_GE(elapsed, 1000);
    EXPECT_LT(elapsed, 1500);
    EXPECT_EQ(Bytes(buffer, buffer + 5), (Bytes{1, 2, 3, 4, 5}));
}

TEST_F(ComPortOnPty, AReadTimeOutSetOnTheOpenPortHoldsFromTheNextReadOn) {
    std::uint8_t byte = 0;
    port.SetReadTimeout(1ms);
    auto start = SteadyClock::now();
    EXPECT_EQ(port.Read(&byte, 1), 0);
    EXPECT_LT(MillisecondsSince(start), 500);
    port.SetReadTimeout(1500ms);
    start = SteadyClock::now();
    EXPECT_EQ(port.Read(&byte, 1), 0);
    EXPECT_GE(MillisecondsSince(start), 1500);
    // It also outlasts a reopen, as the time-outs set before an open do.
    port.SetReadTimeout(1ms);
    port.Open();
    start = SteadyClock::now();
    EXPECT_EQ(port.Read(&byte, 1), 0);
    EXPECT_LT(MillisecondsSince(start), 500);
}

TEST_F(ComPortOnPty, AReadEndsAsSoonAsItsBytesHaveArrived) {
    Watchdog watchdog(5s);
    std::thread farEnd([&] {
        std::this_thread::sleep_for(100ms);
        WriteToMaster(terminal.MasterFd(), {1, 2, 3});
        std::this_thread::sleep_for(50ms);
        WriteToMaster(terminal.MasterFd(), {4, 5, 6, 7, 8});
    });
    std::uint8_t buffer[8] = {};
    const auto start = SteadyClock::now();
    EXPECT_EQ(port.Read(buffer, 8), 8);
    EXPECT_LT(MillisecondsSince(start), 600);
    farEnd.join();
}

TEST_F(ComPortOnPty, WaitingOperationsFailAtOnceWhenTheLineGoesOrThePortCloses) {
    // Closing first: the hang-up leaves no terminal to reopen.
    const struct {
        const char* what;
        std::function<void()> cut;
        const char* text;
    } cases[] = {
        {"close", [this] { port.Close(); }, "ReadFile function failed (Error: 9)"},
        {"hang-up", [this] { terminal.HangUp(); }, "ReadFile function failed (Error: 5)"},
    };
    for (const auto& c : cases) {
        if (!port.IsOpen())
            port.Open();
        Watchdog watchdog(5s);
        std::string text;
        long long readMs = 0;
        std::thread reader([&] {
            const auto start = SteadyClock::now();
            std::uint8_t buffer[8];
            text = FailureText([&] { port.Read(buffer, 8); });
            readMs = MillisecondsSince(start);
        });
        std::this_thread::sleep_for(100ms);
        const auto cutStart = SteadyClock::now();
        c.cut();
        const long long cutMs = MillisecondsSince(cutStart);
        reader.join();
        EXPECT_EQ(text, c.text) << c.what;
        EXPECT_LT(readMs, 600) << c.what;
        EXPECT_LT(cutMs, 300) << c.what;
    }
}
