#include "settings_file.h"

#include "file_io.h"
#include "numbers.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::size_t kTextWindow = 4;

class Writer {
public:
    void byte(int value) { bytes.push_back(static_cast<std::uint8_t>(value & 0xFF)); }
    void word(int value) {
        byte(value >> 8);
        byte(value);
    }
    std::vector<std::uint8_t> bytes;
};

// Reads field after field; a field that does not fit into what is left is absent, and so is every
// field after it.
class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes(bytes) {}
    std::optional<int> signedByte() {
        if (at + 1 > bytes.size())
            return std::nullopt;
        return static_cast<std::int8_t>(bytes[at++]);
    }
    std::optional<bool> flag() {
        if (at + 1 > bytes.size())
            return std::nullopt;
        return bytes[at++] != 0;
    }
    std::optional<int> word() {
        if (at + 2 > bytes.size())
            return std::nullopt;
        const int value = bytes[at] << 8 | bytes[at + 1];
        at += 2;
        return value;
    }

private:
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
};

} // namespace

int settingsNumber(std::string_view text, int limit) {
    std::size_t end = text.size();
    for (std::size_t i = 0; i < std::min(text.size(), kTextWindow); ++i) {
        if (text[i] == ' ' || i >= static_cast<std::size_t>(limit)) {
            end = i;
            break;
        }
    }
    const std::string_view rest = text.substr(0, end);
    // The rest holds no blank at its start (the text ends there), so the lenient reader takes just an
    // optional sign and digits.
    const int value = rest.empty() ? 0 : leadingInteger(rest);
    return static_cast<int>(static_cast<unsigned>(value) & 0xFFFFu);
}

std::vector<std::uint8_t> encodeSettings(const SettingsValues& values) {
    Writer out;
    out.byte(values.language);
    out.byte(values.sensorType);
    out.byte(values.showVafr ? 1 : 0);
    out.byte(values.vafRises ? 1 : 0);
    out.byte(values.tpsRaw ? 1 : 0);
    for (const int word : {values.windowSpan, values.o2Reference, values.tpsMin, values.tpsMax})
        out.word(word);
    for (const int cell : values.gridCells)
        out.word(cell);
    for (const int word : {values.fastInterval, values.fineInterval, values.idleRpm, values.idleTps})
        out.word(word);
    return out.bytes;
}

SettingsRead decodeSettings(std::span<const std::uint8_t> bytes) {
    Reader in(bytes.first(std::min(bytes.size(), SettingsFileSize)));
    SettingsRead read;
    read.language = in.signedByte();
    read.sensorType = in.signedByte();
    read.showVafr = in.flag();
    read.vafRises = in.flag();
    read.tpsRaw = in.flag();
    read.windowSpan = in.word();
    read.o2Reference = in.word();
    read.tpsMin = in.word();
    read.tpsMax = in.word();
    for (std::optional<int>& cell : read.gridCells)
        cell = in.word();
    read.fastInterval = in.word();
    read.fineInterval = in.word();
    read.idleRpm = in.word();
    read.idleTps = in.word();
    return read;
}

SettingsRead readSettingsFile(const std::filesystem::path& name) {
    return decodeSettings(readFilePrefix(name, SettingsFileSize));
}

void saveSettingsFile(const std::filesystem::path& name, const SettingsValues& values) {
    const std::vector<std::uint8_t> bytes = encodeSettings(values);
    saveFileReplacing(name, bytes);
}
