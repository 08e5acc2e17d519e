// Feeds arbitrary bytes to the live reader through a port that hands them over in pieces of the
// input's choosing, ending with a silent line or a failure: the reader's thread, its hand-offs to the
// main thread and its packets. Every whole packet after the sign of life becomes exactly one sample,
// and the run ends with one stop (a failure shows its text first).

#include "fake_main_thread.h"
#include "live_reader.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// The first input byte: bit 0 ends the stream with a failure rather than silence, the rest is the
// largest piece a read returns (a USB adapter's chunks, a byte at a time on a slow line).
class PiecewisePort : public BytePort {
public:
    PiecewisePort(const std::uint8_t* data, std::size_t size, std::size_t piece, bool fails)
        : data(data), size(size), piece(piece), fails(fails) {}

    int Read(std::uint8_t* buffer, int count) override {
        // A read of count bytes gathers pieces until it has them all or the line falls silent.
        int got = 0;
        while (got < count && position < size) {
            const std::size_t n = std::min({piece, size - position, static_cast<std::size_t>(count - got)});
            std::copy_n(data + position, n, buffer + got);
            position += n;
            got += static_cast<int>(n);
        }
        if (got < count && fails)
            throw ESerialError(kReadFailedText, 5);
        return got;
    }
    int Write(const std::uint8_t*, int count) override { return count; }
    void ClearInput() override {}
    void ClearOutput() override {}

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t piece;
    bool fails;
    std::size_t position = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const bool fails = data[0] & 1;
    const std::size_t piece = std::max<std::size_t>(1, data[0] >> 1);
    const std::uint8_t* stream = data + 1;
    const std::size_t streamSize = size - 1;

    PiecewisePort port(stream, streamSize, piece, fails);
    LogStore store;
    LiveRunFlags flags;
    flags.CurrentCorrection = -3;
    std::atomic<bool> portFree{true};
    const std::size_t packets = streamSize / LivePacket::kSize;
    const std::size_t samples = packets > 0 ? packets - 1 : 0;
    // A failure, of the very first read too, shows its text and then ends the run.
    FakeMainThread main;
    const std::vector<std::string> expected =
        fails ? std::vector<std::string>{"failure: ReadFile function failed (Error: 5)", "stop"}
              : std::vector<std::string>{"stop"};
    {
        TLogThread reader(port, store, flags, portFree, main);
        if (!main.RunUntil([&] { return main.events.size() == expected.size(); }, std::chrono::seconds(10)))
            __builtin_trap(); // the reader never ended its run
    }
    if (main.events != expected || store.Size() != samples || !portFree ||
        flags.DataReceived != (packets > 0))
        __builtin_trap();
    const LogStore::View view = store.Lock();
    for (std::size_t i = 0; i < samples; ++i) {
        const std::uint8_t* packet = stream + (i + 1) * LivePacket::kSize;
        const LogSample& sample = view[i];
        if (sample[LogSeries::MAF] != packet[3] || sample[LogSeries::RPM] != packet[5] * 256 + packet[6] ||
            sample[LogSeries::O2] != packet[7] || sample[LogSeries::Corr] != -3)
            __builtin_trap();
    }
    return 0;
}
