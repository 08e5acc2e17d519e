#include "log_file.h"

#include "file_io.h"
#include "tab_file.h"

#include <algorithm>
#include <array>

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::uint8_t, 6> Magic{'Z', 'a', 'R', 'n', 'I', 0};
constexpr std::size_t MagicOffset = 2;
constexpr std::size_t VersionOffset = 10;
constexpr std::uint8_t Version = 1;
constexpr std::uint8_t NegativeSign = 128;

std::uint8_t lowByte(int value) {
    return static_cast<std::uint8_t>(static_cast<unsigned>(value) & 0xFFu);
}

// Through unsigned arithmetic, so no value of the store (INT_MIN included) overflows.
std::uint8_t magnitudeByte(int value) {
    const unsigned bits = static_cast<unsigned>(value);
    return static_cast<std::uint8_t>((value < 0 ? 0u - bits : bits) & 0xFFu);
}

std::uint8_t signByte(int value) {
    return value < 0 ? NegativeSign : 0;
}

int signedValue(std::uint8_t magnitude, std::uint8_t sign) {
    return sign != 0 ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
}

void writeHeader(std::uint8_t* out, LogTpsRange tps) {
    std::array<std::uint8_t, LogFileHeaderSize> header{}; // reserved bytes are 0
    header[0] = lowByte(tps.min);
    header[1] = lowByte(tps.max);
    std::copy(Magic.begin(), Magic.end(), header.begin() + MagicOffset);
    header[VersionOffset] = Version;
    std::copy(header.begin(), header.end(), out);
}

void writeRecord(std::uint8_t* out, const LogSample& s) {
    out[0] = lowByte(s[LogSeries::Converter]);
    out[1] = lowByte(s[LogSeries::Marker]);
    out[2] = lowByte(s[LogSeries::Enrichment]);
    out[3] = lowByte(s[LogSeries::MAF]);
    out[4] = lowByte(s[LogSeries::TPS]);
    out[5] = lowByte(static_cast<int>(static_cast<unsigned>(s[LogSeries::RPM]) >> 8));
    out[6] = lowByte(s[LogSeries::RPM]);
    out[7] = lowByte(s[LogSeries::O2]);
    out[8] = magnitudeByte(s[LogSeries::Corr]);
    out[9] = signByte(s[LogSeries::Corr]);
    out[10] = lowByte(s[LogSeries::IAT]);
    out[11] = lowByte(s[LogSeries::ECT]);
    out[12] = lowByte(s[LogSeries::O2SM]);
    out[13] = magnitudeByte(s[LogSeries::LogCorr]);
    out[14] = signByte(s[LogSeries::LogCorr]);
}

// The eight bytes both layouts share.
void readCommon(const std::uint8_t* in, LogSample& s) {
    s[LogSeries::Converter] = in[0];
    s[LogSeries::Marker] = in[1];
    s[LogSeries::Enrichment] = in[2];
    s[LogSeries::MAF] = in[3];
    s[LogSeries::TPS] = in[4];
    s[LogSeries::RPM] = in[5] * 256 + in[6];
    s[LogSeries::O2] = in[7];
}

void readRecord(const std::uint8_t* in, LogSample& s) {
    readCommon(in, s);
    s[LogSeries::Corr] = signedValue(in[8], in[9]);
    s[LogSeries::IAT] = in[10];
    s[LogSeries::ECT] = in[11];
    s[LogSeries::O2SM] = in[12];
    s[LogSeries::LogCorr] = signedValue(in[13], in[14]);
}

// The earlier layout lacks the last five series: they are 0.
void readEarlierRecord(const std::uint8_t* in, LogSample& s) {
    readCommon(in, s);
    s[LogSeries::Corr] = 0;
    s[LogSeries::IAT] = 0;
    s[LogSeries::ECT] = 0;
    s[LogSeries::O2SM] = 0;
    s[LogSeries::LogCorr] = 0;
}

std::uint8_t* writeRecords(std::uint8_t* out, std::span<const LogSample> samples) {
    for (const LogSample& s : samples) {
        writeRecord(out, s);
        out += LogFileRecordSize;
    }
    return out;
}

// The records of the store's samples from first on, piece by piece of the store's memory.
std::uint8_t* writeStoreRecords(std::uint8_t* out, const LogStore::View& store, std::size_t first) {
    for (std::size_t index = first; index < store.Size();) {
        const std::span<const LogSample> piece = store.PieceFrom(index);
        out = writeRecords(out, piece);
        index += piece.size();
    }
    return out;
}

// A file of count records with its header written.
std::vector<std::uint8_t> withHeader(std::size_t count, LogTpsRange tps) {
    std::vector<std::uint8_t> bytes(LogFileHeaderSize + LogFileRecordSize * count);
    writeHeader(bytes.data(), tps);
    return bytes;
}

bool hasCurrentLayout(std::span<const std::uint8_t> bytes) {
    return std::equal(Magic.begin(), Magic.end(), bytes.begin() + MagicOffset) &&
           bytes[VersionOffset] == Version;
}

// Sets every value of every sample: those a store view grows by hold nothing set yet.
template <bool Current> void decodeRecords(const std::uint8_t* in, std::span<LogSample> samples) {
    constexpr std::size_t length = Current ? LogFileRecordSize : LogFileEarlierRecordSize;
    for (LogSample& s : samples) {
        if constexpr (Current)
            readRecord(in, s);
        else
            readEarlierRecord(in, s);
        in += length;
    }
}

// Decodes every whole record into the samples the sink grows by, piece by piece (a store view grows
// by at most a chunk at a time). Every read stays inside bytes: the record count is taken from the
// size, never from the content.
template <class Sink>
std::optional<LogTpsRange> decodeInto(std::span<const std::uint8_t> bytes, Sink&& sink) {
    if (bytes.size() < LogFileHeaderSize)
        return std::nullopt;
    const LogTpsRange tps{bytes[0], bytes[1]};
    const bool current = hasCurrentLayout(bytes);
    const std::size_t start = current ? LogFileHeaderSize : LogFileEarlierSkip;
    const std::size_t length = current ? LogFileRecordSize : LogFileEarlierRecordSize;
    const std::size_t count = bytes.size() > start ? (bytes.size() - start) / length : 0;
    const std::uint8_t* in = bytes.data() + start;
    for (std::size_t done = 0; done < count;) {
        const std::span<LogSample> piece = sink.Grow(count - done);
        if (current)
            decodeRecords<true>(in, piece);
        else
            decodeRecords<false>(in, piece);
        in += piece.size() * length;
        done += piece.size();
    }
    return tps;
}

struct VectorSink {
    std::vector<LogSample>& samples;
    std::span<LogSample> Grow(std::size_t count) {
        const std::size_t first = samples.size();
        samples.resize(first + count);
        return std::span(samples).subspan(first);
    }
};

} // namespace

std::vector<std::uint8_t> encodeLogFile(std::span<const LogSample> samples, LogTpsRange tps) {
    std::vector<std::uint8_t> bytes = withHeader(samples.size(), tps);
    writeRecords(bytes.data() + LogFileHeaderSize, samples);
    return bytes;
}

std::vector<std::uint8_t> encodeLogFile(const LogStore::View& store, LogTpsRange tps) {
    std::vector<std::uint8_t> bytes = withHeader(store.Size(), tps);
    writeStoreRecords(bytes.data() + LogFileHeaderSize, store, 0);
    return bytes;
}

std::vector<std::uint8_t> encodeLogHeader(LogTpsRange tps) {
    return withHeader(0, tps);
}

std::vector<std::uint8_t> encodeLogRecords(const LogStore::View& store, std::size_t first) {
    const std::size_t count = first < store.Size() ? store.Size() - first : 0;
    std::vector<std::uint8_t> bytes(LogFileRecordSize * count);
    writeStoreRecords(bytes.data(), store, first);
    return bytes;
}

LogFileContent decodeLogFile(std::span<const std::uint8_t> bytes) {
    LogFileContent content;
    content.tps = decodeInto(bytes, VectorSink{content.samples});
    return content;
}

std::optional<LogTpsRange> appendLogFile(std::span<const std::uint8_t> bytes, LogStore::View& store) {
    return decodeInto(bytes, store);
}

fs::path withLogExtension(const fs::path& name) {
    const fs::path::string_type extension = fs::path(".log").native();
    const fs::path::string_type& text = name.native();
    if (text.size() >= extension.size() &&
        text.compare(text.size() - extension.size(), extension.size(), extension) == 0)
        return name;
    return fs::path(text + extension);
}

std::optional<fs::path> saveLogFile(const fs::path& name, LogStore& store, LogTpsRange tps) {
    std::vector<std::uint8_t> bytes;
    {
        const LogStore::View view = store.Lock();
        if (view.Size() == 0)
            return std::nullopt;
        bytes = encodeLogFile(view, tps);
    }
    const fs::path target = withLogExtension(name);
    saveFileReplacing(target, bytes);
    return target;
}

std::optional<LogTpsRange> loadLogFile(const fs::path& name, LogStore& store) {
    // Read before locking: the reader thread need not wait for the disk.
    const FileBytes file = readWholeFile(name);
    LogStore::View view = store.Lock();
    view.Clear();
    return appendLogFile(file.Bytes(), view);
}

std::string_view logFileErrorMessage(FileError::Reason reason) {
    switch (reason) {
    case FileError::Reason::CannotRead:
        return LogFileLoadErrorMessage;
    case FileError::Reason::CannotReplace:
        return CantDeleteBeforeSavingMessage;
    case FileError::Reason::CannotCreate:
        break;
    }
    return LogFileSaveErrorMessage;
}
