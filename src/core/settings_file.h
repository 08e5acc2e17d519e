#pragma once
// The configurator's settings file: 261 bytes without header, the user's choices of the autotuning
// page, the language and the whole O2 target grid. 16-bit values are big-endian; a number typed into
// a text field is stored as the low 16 bits of what the save rule reads from it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

inline constexpr std::size_t SettingsFileSize = 261;
// Every grid cell but the bottom-left corner.
inline constexpr int SettingsGridCells = 120;

// What the window saves, field by field.
struct SettingsValues {
    int language = 0;   // item index, low 8 bits stored
    int sensorType = 0; // item index, low 8 bits stored
    bool showVafr = true;
    bool vafRises = true;
    bool tpsRaw = true;
    int windowSpan = 0;
    int o2Reference = 0;
    int tpsMin = 0;
    int tpsMax = 0;
    std::array<int, SettingsGridCells> gridCells{};
    int fastInterval = 0;
    int fineInterval = 0;
    int idleRpm = 0;
    int idleTps = 0;
};

// What a file holds. A field the file ends before is absent, so what it would set stays as it is.
struct SettingsRead {
    std::optional<int> language;   // signed: 0xFF is -1
    std::optional<int> sensorType; // signed
    std::optional<bool> showVafr;
    std::optional<bool> vafRises;
    std::optional<bool> tpsRaw;
    std::optional<int> windowSpan; // the 16-bit values unsigned, 0..65535
    std::optional<int> o2Reference;
    std::optional<int> tpsMin;
    std::optional<int> tpsMax;
    std::array<std::optional<int>, SettingsGridCells> gridCells;
    std::optional<int> fastInterval;
    std::optional<int> fineInterval;
    std::optional<int> idleRpm;
    std::optional<int> idleTps;
};

// The save rule for a text field with a character limit of 2, 3 or 4: the text ends at the first
// blank among its first four characters or at the limit, an empty rest counts as "0", and its leading
// decimal integer (optional sign) is taken; the low 16 bits are the stored value (0..65535).
int settingsNumber(std::string_view text, int limit);

std::vector<std::uint8_t> encodeSettings(const SettingsValues& values);
// Bytes past the 261st are ignored.
SettingsRead decodeSettings(std::span<const std::uint8_t> bytes);

// Throws FileError: CannotRead when the file cannot be opened or read.
SettingsRead readSettingsFile(const std::filesystem::path& name);
// Writes aside and replaces; throws FileError as saveFileReplacing does.
void saveSettingsFile(const std::filesystem::path& name, const SettingsValues& values);
