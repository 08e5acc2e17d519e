#pragma once
// The 8-byte packet of the live stream. There is no marker, length or checksum: packets are found by
// counting bytes alone.

#include "log_sample.h"

#include <array>
#include <cstdint>

struct LivePacket {
    static constexpr int kSize = 8;

    std::array<std::uint8_t, kSize> bytes{};

    // Engine period, big-endian in bytes 5 and 6.
    int Period() const { return bytes[5] * 256 + bytes[6]; }
    // One sample of every series. The marker and the pending correction are the main thread's, taken
    // at the moment the packet is stored; the series only files fill stay 0.
    LogSample ToSample(bool markerHeld, int currentCorrection) const;
};
