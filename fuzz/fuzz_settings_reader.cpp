// Feeds arbitrary bytes to the settings reader and loads the result into a target grid, checking
// what the window relies on: a field is there exactly when the file covers it, bytes are signed,
// words 0..65535, and every cell read comes back as its number's text.

#include "settings_file.h"
#include "target_grid_model.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace {

void require(bool condition) {
    if (!condition)
        __builtin_trap();
}

void requireWord(const std::optional<int>& word, std::size_t size, std::size_t offset) {
    require(word.has_value() == (size >= offset + 2));
    if (word)
        require(*word >= 0 && *word <= 0xFFFF);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const SettingsRead read = decodeSettings(std::span<const std::uint8_t>(data, size));
    require(read.language.has_value() == (size >= 1));
    if (read.language)
        require(*read.language >= -128 && *read.language <= 127);
    require(read.tpsRaw.has_value() == (size >= 5));
    requireWord(read.windowSpan, size, 5);
    requireWord(read.tpsMax, size, 11);
    for (std::size_t k = 0; k < read.gridCells.size(); ++k)
        requireWord(read.gridCells[k], size, 13 + 2 * k);
    requireWord(read.idleTps, size, 259);

    TargetGridModel grid;
    grid.LoadFrom(read);
    for (std::size_t k = 0; k < read.gridCells.size(); ++k) {
        const auto [column, row] = TargetGridModel::StoredCells()[k];
        require(grid.Cell(column, row) == (read.gridCells[k] ? std::to_string(*read.gridCells[k]) : ""));
    }
    // What was read saves back to the same bytes.
    if (size >= SettingsFileSize) {
        SettingsValues values;
        values.language = *read.language;
        values.sensorType = *read.sensorType;
        values.showVafr = *read.showVafr;
        values.vafRises = *read.vafRises;
        values.tpsRaw = *read.tpsRaw;
        values.windowSpan = *read.windowSpan;
        values.o2Reference = *read.o2Reference;
        grid.SaveTo(values);
        values.fastInterval = *read.fastInterval;
        values.fineInterval = *read.fineInterval;
        values.idleRpm = *read.idleRpm;
        values.idleTps = *read.idleTps;
        const std::vector<std::uint8_t> again = encodeSettings(values);
        for (std::size_t i = 0; i < SettingsFileSize; ++i) {
            // The flags are stored as 0 or 1 whatever byte was read.
            const bool flag = i >= 2 && i <= 4;
            require(flag ? again[i] == (data[i] != 0) : again[i] == data[i]);
        }
    }
    return 0;
}
