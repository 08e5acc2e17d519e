#pragma once
// Sending a firmware image frame by frame: each frame goes whole, length bytes included, and the
// converter answers one byte, 0x11 for a frame received intact. A rejected frame is sent again, at
// most four times in a row. The two programs differ in how they prepare each frame and how long they
// wait for its reply; those differences are the exchange's parameters.

#include "byte_port.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

inline constexpr std::uint8_t kFrameAcknowledged = 0x11;
inline constexpr int kFrameTransmissionsAtMost = 4;

struct FrameExchange {
    // Before each frame what waits in the receive buffer is discarded, or read away one byte at a
    // time with drainTimeout until a read returns nothing.
    enum class BeforeFrame { ClearInput, Drain };
    BeforeFrame beforeFrame = BeforeFrame::ClearInput;
    std::chrono::milliseconds drainTimeout{1};
    // Set before each reply is awaited; without setReadTimeout the port's own time-out holds (and a
    // drain is not possible).
    std::chrono::milliseconds replyTimeout{1000};
    std::function<void(std::chrono::milliseconds)> setReadTimeout;
    // The acknowledged share in percent before each frame, then 100 once every frame is acknowledged.
    std::function<void(int percent)> progress;
    // Runs when the upload fails, a failure of the port itself included (the uploader closes it).
    std::function<void()> afterFailure;
};

enum class UploadResult { Uploaded, NoReply, Rejected };

// The image's frames must fit it (firmware_file.h checks that). A failure of the port propagates as
// ESerialError after afterFailure has run.
UploadResult ExchangeFrames(BytePort& port, std::span<const std::uint8_t> image, const FrameExchange& how);

// acknowledged × 100 / total, rounded to the nearest integer, halves to even.
int UploadPercent(std::size_t acknowledged, std::size_t total);
