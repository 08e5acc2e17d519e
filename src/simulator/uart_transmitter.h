#pragma once
// The converter's UART: what the firmware hands it leaves one byte at a time at 9600 baud 8N1, back to
// back while more waits. Fed with a clock in microseconds (a byte takes 1041.7 us), so tests run it in
// simulated time.

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <utility>
#include <vector>

class UartTransmitter {
public:
    using Bytes = std::vector<std::uint8_t>;

    static constexpr std::int64_t kBaud = 9600;
    static constexpr std::int64_t kBitsPerByte = 10; // start bit, 8 data bits, stop bit

    // Microseconds from the start of a burst until the stop bit of its count-th byte has gone out.
    static constexpr std::int64_t BurstMicroseconds(std::int64_t count) {
        return (count * kBitsPerByte * 1'000'000 + kBaud - 1) / kBaud;
    }

    // How the PC gets the bytes: each once its stop bit has gone, or all of them once the last one's
    // has, as a USB adapter hands over what it collected in one piece.
    enum class Delivery { ByteByByte, OneChunk };

    // Queues bytes handed over at nowUs: they follow the bytes still on the line, or start at nowUs on
    // an idle line. Times never go backwards.
    void Send(std::span<const std::uint8_t> bytes, std::int64_t nowUs,
              Delivery delivery = Delivery::ByteByByte);
    // The bytes delivered by nowUs, in order; each is returned once.
    Bytes Take(std::int64_t nowUs);
    // When the next waiting byte will be delivered; none when nothing waits.
    std::optional<std::int64_t> NextByteDueUs() const;
    bool Idle() const { return waiting.empty(); }

private:
    // The count of bytes ever handed over whose stop bit has gone out by nowUs.
    std::int64_t OnLineBy(std::int64_t nowUs) const;

    // Byte times count from the start of the burst, so their rounding never adds up. Bytes are
    // counted from the first ever handed over.
    std::int64_t burstStartUs = 0;
    std::int64_t burstFirst = 0;
    std::int64_t queued = 0;
    std::int64_t taken = 0;
    std::deque<std::uint8_t> waiting;                         // handed over, not yet taken
    std::deque<std::pair<std::int64_t, std::int64_t>> chunks; // [first, end) delivered together
};
