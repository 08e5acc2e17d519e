#pragma once
// What every firmware reader's result must satisfy: an image accepted for upload is a run of whole
// frames, and the exchange sends exactly those frames, each once, to a converter that acknowledges
// them all.

#include "firmware_exchange.h"
#include "firmware_file.h"

#include <cstddef>
#include <cstdint>

inline void CheckAcceptedImage(const FirmwareRead& read) {
    if (!read.error.empty())
        return;
    if (read.image.empty())
        __builtin_trap();
    std::size_t p = 0;
    std::size_t frames = 0;
    while (p < read.image.size()) {
        if (read.image.size() - p < 2)
            __builtin_trap();
        p += 2 + read.image[p] * 256u + read.image[p + 1];
        ++frames;
    }
    if (p != read.image.size())
        __builtin_trap();

    struct Acknowledging : BytePort {
        std::size_t written = 0;
        std::size_t writes = 0;
        int Write(const std::uint8_t*, int count) override {
            written += static_cast<std::size_t>(count);
            ++writes;
            return count;
        }
        int Read(std::uint8_t* buffer, int) override {
            buffer[0] = kFrameAcknowledged;
            return 1;
        }
        void ClearInput() override {}
        void ClearOutput() override {}
    } port;
    int lastPercent = -1;
    FrameExchange how;
    how.progress = [&](int percent) {
        if (percent < lastPercent || percent > 100)
            __builtin_trap();
        lastPercent = percent;
    };
    if (ExchangeFrames(port, read.image, how) != UploadResult::Uploaded ||
        port.written != read.image.size() || port.writes != frames || lastPercent != 100)
        __builtin_trap();
}
