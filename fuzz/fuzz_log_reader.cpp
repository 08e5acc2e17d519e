// Feeds arbitrary bytes to the .log reader, in both layouts, checking what every caller relies on: the
// record count follows from the size alone, every value lies in its series' range, the store gets
// what the vector gets, and writing the samples back gives the records read, with the reserved
// header bytes and the sign bytes in the writer's own form.

#include "log_file.h"
#include "log_store.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace {

[[noreturn]] void fail() {
    __builtin_trap();
}

void check(bool condition) {
    if (!condition)
        fail();
}

bool inByteRange(int value) {
    return value >= 0 && value <= 255;
}

bool inSignedByteRange(int value) {
    return value >= -255 && value <= 255;
}

// Worked out here from the bytes, apart from the reader's own test.
bool isCurrentLayout(const std::uint8_t* data, std::size_t size) {
    static constexpr std::uint8_t magic[6] = {'Z', 'a', 'R', 'n', 'I', 0};
    return size >= LogFileHeaderSize && std::memcmp(data + 2, magic, sizeof magic) == 0 && data[10] == 1;
}

// What the writer puts in a sign byte for a magnitude and sign read: a negated 0 is 0.
std::uint8_t writtenSign(std::uint8_t magnitude, std::uint8_t sign) {
    return magnitude != 0 && sign != 0 ? 128 : 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const LogFileContent content = decodeLogFile(bytes);

    if (size < LogFileHeaderSize) {
        check(!content.tps.has_value() && content.samples.empty());
        return 0;
    }
    check(content.tps.has_value() && content.tps->min == data[0] && content.tps->max == data[1]);

    const bool current = isCurrentLayout(data, size);
    const std::size_t start = current ? LogFileHeaderSize : LogFileEarlierSkip;
    const std::size_t length = current ? LogFileRecordSize : LogFileEarlierRecordSize;
    const std::size_t count = size >= start ? (size - start) / length : 0;
    check(content.samples.size() == count);

    for (const LogSample& s : content.samples) {
        for (const LogSeries series :
             {LogSeries::Converter, LogSeries::Marker, LogSeries::Enrichment, LogSeries::MAF, LogSeries::TPS,
              LogSeries::O2, LogSeries::IAT, LogSeries::ECT, LogSeries::O2SM})
            check(inByteRange(s[series]));
        check(s[LogSeries::RPM] >= 0 && s[LogSeries::RPM] <= 65535);
        check(inSignedByteRange(s[LogSeries::Corr]) && inSignedByteRange(s[LogSeries::LogCorr]));
        if (!current) {
            for (const LogSeries series :
                 {LogSeries::Corr, LogSeries::IAT, LogSeries::ECT, LogSeries::O2SM, LogSeries::LogCorr})
                check(s[series] == 0);
        }
    }

    // The store path appends what the vector path collects. It shares the decoder and costs a chunk
    // allocation, so it is checked for one input size in eight: a finding still reproduces.
    if (size % 8 == 0) {
        LogStore store;
        LogStore::View view = store.Lock();
        check(appendLogFile(bytes, view) == content.tps);
        check(view.Size() == count);
        for (std::size_t i = 0; i < count; ++i)
            check(view[i] == content.samples[i]);
    }

    // Written back, every whole record comes out as read; the earlier layout's records gain zeros.
    const std::vector<std::uint8_t> written = encodeLogFile(content.samples, *content.tps);
    check(written.size() == LogFileHeaderSize + LogFileRecordSize * count);
    check(std::memcmp(written.data(), data, 2) == 0);
    check(isCurrentLayout(written.data(), written.size()));
    for (const std::size_t reserved : {8, 9, 11, 12, 13, 14})
        check(written[reserved] == 0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* in = data + start + i * length;
        const std::uint8_t* out = written.data() + LogFileHeaderSize + i * LogFileRecordSize;
        check(std::memcmp(out, in, LogFileEarlierRecordSize) == 0);
        if (current) {
            check(out[8] == in[8] && out[9] == writtenSign(in[8], in[9]));
            check(std::memcmp(out + 10, in + 10, 4) == 0);
            check(out[14] == writtenSign(in[13], in[14]));
        } else {
            for (std::size_t b = LogFileEarlierRecordSize; b < LogFileRecordSize; ++b)
                check(out[b] == 0);
        }
    }
    return 0;
}
