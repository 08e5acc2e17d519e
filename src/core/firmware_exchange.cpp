#include "firmware_exchange.h"

#include <stdexcept>

namespace {

void Drain(BytePort& port, const FrameExchange& how) {
    how.setReadTimeout(how.drainTimeout);
    std::uint8_t stale = 0;
    while (port.Read(&stale, 1) == 1) {
    }
}

void PrepareFrame(BytePort& port, const FrameExchange& how) {
    if (how.beforeFrame == FrameExchange::BeforeFrame::Drain && how.setReadTimeout)
        Drain(port, how);
    else
        port.ClearInput();
}

void Progress(const FrameExchange& how, int percent) {
    if (how.progress)
        how.progress(percent);
}

UploadResult Exchange(BytePort& port, std::span<const std::uint8_t> image, const FrameExchange& how) {
    std::size_t position = 0;
    std::size_t acknowledged = 0;
    int rejections = 0;
    while (position < image.size()) {
        const std::size_t left = image.size() - position;
        const std::size_t frameSize = left < 2 ? 3 : 2 + image[position] * 256u + image[position + 1];
        if (frameSize > left)
            throw std::invalid_argument("A firmware frame runs past the end of its image");
        PrepareFrame(port, how);
        Progress(how, UploadPercent(acknowledged, image.size()));
        port.Write(image.data() + position, static_cast<int>(frameSize));
        if (how.setReadTimeout)
            how.setReadTimeout(how.replyTimeout);
        std::uint8_t reply = 0;
        if (port.Read(&reply, 1) != 1)
            return UploadResult::NoReply;
        if (reply == kFrameAcknowledged) {
            acknowledged += frameSize;
            position += frameSize;
            rejections = 0;
        } else if (++rejections == kFrameTransmissionsAtMost) {
            return UploadResult::Rejected;
        }
    }
    Progress(how, 100);
    return UploadResult::Uploaded;
}

} // namespace

UploadResult ExchangeFrames(BytePort& port, std::span<const std::uint8_t> image, const FrameExchange& how) {
    UploadResult result = UploadResult::Uploaded;
    try {
        result = Exchange(port, image, how);
    } catch (...) {
        if (how.afterFailure)
            how.afterFailure();
        throw;
    }
    if (result != UploadResult::Uploaded && how.afterFailure)
        how.afterFailure();
    return result;
}

int UploadPercent(std::size_t acknowledged, std::size_t total) {
    if (total == 0)
        return 0;
    const unsigned long long scaled = acknowledged * 100ull;
    const unsigned long long quotient = scaled / total;
    const unsigned long long twiceRemainder = 2 * (scaled % total);
    const bool up = twiceRemainder > total || (twiceRemainder == total && quotient % 2 == 1);
    return static_cast<int>(quotient + (up ? 1 : 0));
}
