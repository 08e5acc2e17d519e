#include "converter_sequence.h"

#include "byte_port.h"
#include "converter_model.h"
#include "converter_protocol.h"
#include "live_packet.h"

#include <algorithm>
#include <cstdint>

namespace {

// Keeps what is written to it, so the model gets the very bytes the start command sends.
class CapturePort : public BytePort {
public:
    int Write(const std::uint8_t* data, int count) override {
        written.insert(written.end(), data, data + count);
        return count;
    }
    int Read(std::uint8_t*, int) override { return 0; }
    void ClearInput() override {}
    void ClearOutput() override {}

    std::vector<std::uint8_t> written;
};

} // namespace

std::vector<LogSample> ConverterSequence(std::size_t count) {
    std::vector<LogSample> samples;
    if (count == 0)
        return samples;
    CapturePort start;
    sendStreamStart(start);
    ConverterModel model;
    model.Feed(start.written, 0);
    // A packet at the start command and one every interval after it.
    const auto lastPacketMs = static_cast<std::int64_t>(count - 1) * ConverterModel::kPacketIntervalMs;
    const ConverterModel::Bytes bytes = model.Poll(lastPacketMs);
    samples.reserve(count);
    LivePacket packet;
    for (std::size_t offset = 0; offset + LivePacket::kSize <= bytes.size(); offset += LivePacket::kSize) {
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), LivePacket::kSize,
                    packet.bytes.begin());
        samples.push_back(packet.ToSample(false, 0));
    }
    return samples;
}
