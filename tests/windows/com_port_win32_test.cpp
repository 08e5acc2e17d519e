// TComPort on Win32 against the simulated converter: the COM port named by ZARNI_TEST_COM_PORT is
// wine's mapping of a pseudo-terminal that the native converter-sim serves.

#include "com_port.h"
#include "port_open_hint.h"

#include <gtest/gtest.h>

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class ComPortOnWine : public ::testing::Test {
protected:
    void SetUp() override {
        const char* name = std::getenv("ZARNI_TEST_COM_PORT");
        if (!name || !*name)
            GTEST_SKIP() << "ZARNI_TEST_COM_PORT names no COM port served by converter-sim";
        portName = name;
        port.SetPortName(portName);
        port.Open();
    }

    // "sv", the converter's one-byte version.
    int AskVersion() {
        const std::uint8_t command[] = {'s', 'v'};
        EXPECT_EQ(port.Write(command, 2), 2);
        std::uint8_t version = 0;
        return port.Read(&version, 1) == 1 ? version : -1;
    }

    std::string portName;
    TComPort port;
};

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

} // namespace

TEST_F(ComPortOnWine, TheConverterAnswersVersionAndTablesThroughTheWin32Port) {
    EXPECT_EQ(AskVersion(), 36);
    const std::uint8_t command[] = {'s', 'r'};
    ASSERT_EQ(port.Write(command, 2), 2);
    std::uint8_t image[512] = {};
    ASSERT_EQ(port.Read(image, 512), 512);
    for (int maf = 0; maf < 256; ++maf)
        EXPECT_EQ(image[maf], maf) << maf; // a new converter's one-to-one table
}

TEST_F(ComPortOnWine, AReadTimeOutSetOnTheOpenPortHoldsFromTheNextRead) {
    std::uint8_t byte = 0;
    port.SetReadTimeout(50ms);
    auto start = Clock::now();
    EXPECT_EQ(port.Read(&byte, 1), 0);
    EXPECT_LT(MillisecondsSince(start), 700);
    port.SetReadTimeout(1500ms);
    start = Clock::now();
    EXPECT_EQ(port.Read(&byte, 1), 0);
    EXPECT_GE(MillisecondsSince(start), 1400);
    EXPECT_EQ(AskVersion(), 36);
}

TEST_F(ComPortOnWine, ASecondOpenOfThePortIsRefusedAsHeldByAnother) {
    // Windows opens a COM port for one handle at a time; wine shares its mapped device instead.
    if (::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "wine_get_version"))
        GTEST_SKIP() << "wine does not keep a COM port exclusive";
    TComPort second;
    second.SetPortName(portName);
    try {
        second.Open();
        ADD_FAILURE() << "a second open succeeded";
    } catch (const ESerialError& failure) {
        EXPECT_EQ(ClassifyPortOpenFailure(failure.ErrorCode()), PortOpenProblem::HeldByAnother) << failure.what();
    }
}

TEST_F(ComPortOnWine, AShortReplyEndsAtTheTimeOut) {
    const std::uint8_t command[] = {'s', 'v'};
    ASSERT_EQ(port.Write(command, 2), 2);
    std::uint8_t reply[2] = {};
    const auto start = Clock::now();
    EXPECT_EQ(port.Read(reply, 2), 1);
    EXPECT_GE(MillisecondsSince(start), 900);
    EXPECT_EQ(reply[0], 36);
}

TEST_F(ComPortOnWine, APurgeDropsWhatWaitsAndAClosedPortRefusesReads) {
    const std::uint8_t command[] = {'s', 'r'};
    ASSERT_EQ(port.Write(command, 2), 2);
    std::uint8_t first[10] = {};
    ASSERT_EQ(port.Read(first, 10), 10);
    // The rest of the image keeps coming, a byte a millisecond; what came meanwhile goes.
    std::this_thread::sleep_for(200ms);
    port.ClearInput();
    std::uint8_t rest[512] = {};
    // (The read keeps the port's time-out: under wine a time-out changed while bytes arrive leaves
    // the next read waiting.)
    EXPECT_LT(port.Read(rest, 512), 480);
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_THROW(port.Read(rest, 1), ESerialError);
}
