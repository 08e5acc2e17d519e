#include "uart_transmitter.h"

void UartTransmitter::Send(std::span<const std::uint8_t> bytes, std::int64_t nowUs) {
    if (bytes.empty())
        return;
    // An empty queue means the last byte's stop bit went out before it was taken: the line is idle.
    if (waiting.empty()) {
        burstStartUs = nowUs;
        burstBytesOut = 0;
    }
    waiting.insert(waiting.end(), bytes.begin(), bytes.end());
}

UartTransmitter::Bytes UartTransmitter::Take(std::int64_t nowUs) {
    Bytes out;
    while (!waiting.empty() && burstStartUs + BurstMicroseconds(burstBytesOut + 1) <= nowUs) {
        out.push_back(waiting.front());
        waiting.pop_front();
        ++burstBytesOut;
    }
    return out;
}

std::optional<std::int64_t> UartTransmitter::NextByteDueUs() const {
    if (waiting.empty())
        return std::nullopt;
    return burstStartUs + BurstMicroseconds(burstBytesOut + 1);
}
