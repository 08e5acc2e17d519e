#include "uart_transmitter.h"

#include <algorithm>

std::int64_t UartTransmitter::OnLineBy(std::int64_t nowUs) const {
    // The count-th byte is out once BurstMicroseconds(count) <= elapsed, that is count <= elapsed × baud /
    // 10^7.
    const std::int64_t elapsed = std::max<std::int64_t>(0, nowUs - burstStartUs);
    return std::min(queued, burstFirst + elapsed * kBaud / (kBitsPerByte * 1'000'000));
}

void UartTransmitter::Send(std::span<const std::uint8_t> bytes, std::int64_t nowUs, Delivery delivery) {
    if (bytes.empty())
        return;
    if (OnLineBy(nowUs) == queued) {
        // Every byte so far has gone out: the line is idle and this burst starts now.
        burstStartUs = nowUs;
        burstFirst = queued;
    }
    if (delivery == Delivery::OneChunk)
        chunks.emplace_back(queued, queued + static_cast<std::int64_t>(bytes.size()));
    waiting.insert(waiting.end(), bytes.begin(), bytes.end());
    queued += static_cast<std::int64_t>(bytes.size());
}

UartTransmitter::Bytes UartTransmitter::Take(std::int64_t nowUs) {
    std::int64_t deliverable = OnLineBy(nowUs);
    while (!chunks.empty()) {
        const auto [first, end] = chunks.front();
        if (end <= deliverable) {
            chunks.pop_front();
            continue;
        }
        deliverable = std::min(deliverable, first);
        break;
    }
    Bytes out;
    while (taken < deliverable) {
        out.push_back(waiting.front());
        waiting.pop_front();
        ++taken;
    }
    return out;
}

std::optional<std::int64_t> UartTransmitter::NextByteDueUs() const {
    if (waiting.empty())
        return std::nullopt;
    std::int64_t count = taken + 1;
    if (!chunks.empty() && chunks.front().first < count)
        count = chunks.front().second;
    if (count <= burstFirst)
        return burstStartUs; // out on the line before this burst began
    return burstStartUs + BurstMicroseconds(count - burstFirst);
}
