// The simulated converter's UART in simulated time: one byte per 10 bits at 9600 baud, back to back.

#include "uart_transmitter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = UartTransmitter::Bytes;

Bytes Numbered(int count, int from = 0) {
    Bytes bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(static_cast<std::uint8_t>(from + i));
    return bytes;
}

} // namespace

TEST(UartTransmitter, AByteTakesTenBitTimesAndRoundingNeverAddsUp) {
    const struct {
        std::int64_t count;
        std::int64_t microseconds;
    } cases[] = {{1, 1042}, {2, 2084}, {3, 3125}, {8, 8334}, {96, 100000}, {512, 533334}};
    for (const auto& c : cases)
        EXPECT_EQ(UartTransmitter::BurstMicroseconds(c.count), c.microseconds) << c.count;
}

TEST(UartTransmitter, BytesLeaveOneAtATimeWhenTheirStopBitHasGone) {
    UartTransmitter uart;
    uart.Send(Numbered(512), 5000); // the table image, handed over at once
    const struct {
        std::int64_t takeAt;
        int bytes; // taken by then, counting every earlier take
    } takes[] = {
        {5000, 0},        {5000 + 1041, 0},    {5000 + 1042, 1},     {5000 + 2083, 1},     {5000 + 2084, 2},
        {5000 + 3125, 3}, {5000 + 100000, 96}, {5000 + 533333, 511}, {5000 + 533334, 512},
    };
    Bytes taken;
    for (const auto& t : takes) {
        const Bytes out = uart.Take(t.takeAt);
        taken.insert(taken.end(), out.begin(), out.end());
        EXPECT_EQ(taken.size(), static_cast<std::size_t>(t.bytes)) << t.takeAt;
    }
    EXPECT_EQ(taken, Numbered(512));
    EXPECT_TRUE(uart.Idle());
    EXPECT_FALSE(uart.NextByteDueUs());
}

TEST(UartTransmitter, BytesHandedOverWhileSendingFollowWithoutAGapAnIdleLineStartsAtOnce) {
    constexpr auto Burst = UartTransmitter::BurstMicroseconds;
    const struct {
        const char* name;
        std::int64_t secondAt; // when the second packet is handed over
        std::int64_t nextOut;  // when the next byte has gone, right after the hand-over
        std::int64_t lastOut;  // when the second packet's last byte has gone
    } cases[] = {
        {"while the first still goes", 5000, Burst(5), Burst(16)},
        {"as the first has just gone", Burst(8), Burst(8) + Burst(1), Burst(8) + Burst(8)},
        {"after a pause", 10000, 10000 + Burst(1), 10000 + Burst(8)},
    };
    for (const auto& c : cases) {
        UartTransmitter uart;
        uart.Send(Numbered(8), 0);
        Bytes taken = uart.Take(c.secondAt);
        uart.Send(Numbered(8, 8), c.secondAt);
        EXPECT_EQ(uart.NextByteDueUs(), c.nextOut) << c.name;
        const Bytes early = uart.Take(c.lastOut - 1);
        taken.insert(taken.end(), early.begin(), early.end());
        EXPECT_EQ(taken.size(), 15u) << c.name;
        const Bytes last = uart.Take(c.lastOut);
        taken.insert(taken.end(), last.begin(), last.end());
        EXPECT_EQ(taken, Numbered(16)) << c.name;
    }
}

// Packets every 10 ms take 8.3 ms of line each: the queue never grows.
TEST(UartTransmitter, TheStreamKeepsUpWithPacketsEveryTenMilliseconds) {
    UartTransmitter uart;
    std::size_t taken = 0;
    for (std::int64_t packet = 0; packet < 1000; ++packet) {
        const std::int64_t handedAt = packet * 10000;
        EXPECT_TRUE(uart.Idle()) << packet;
        uart.Send(Numbered(8), handedAt);
        for (std::int64_t t = handedAt; t < handedAt + 10000; t += 100)
            taken += uart.Take(t).size();
    }
    EXPECT_EQ(taken, 8000u);
}

// A reply and the stale bytes after it reach the PC at once, when the last of them has gone out; what
// follows is delivered byte by byte again.
TEST(UartTransmitter, AChunkIsDeliveredWholeOnceItsLastByteHasGone) {
    constexpr auto Burst = UartTransmitter::BurstMicroseconds;
    UartTransmitter uart;
    uart.Send(Numbered(2), 0);
    uart.Send(Numbered(5, 2), 0, UartTransmitter::Delivery::OneChunk);
    uart.Send(Numbered(1, 7), 0);
    EXPECT_EQ(uart.Take(Burst(2)), Numbered(2));
    EXPECT_EQ(uart.NextByteDueUs(), Burst(7));
    EXPECT_TRUE(uart.Take(Burst(7) - 1).empty());
    EXPECT_EQ(uart.Take(Burst(7)), Numbered(5, 2));
    EXPECT_EQ(uart.NextByteDueUs(), Burst(8));
    EXPECT_EQ(uart.Take(Burst(8)), Numbered(1, 7));
    EXPECT_TRUE(uart.Idle());
}
