#pragma once
// The .tab table file: the 512 bytes of a table image (low byte of every entry), optionally followed
// by 256 learned values that the configurator reads but never writes.

#include "file_error.h"
#include "table_image.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

inline constexpr std::size_t TabFileImageSize = TableImageSize;
inline constexpr std::size_t TabFileLearnedSize = MafCount;
// Bytes past the learned block are ignored.
inline constexpr std::size_t TabFileMaxSize = TabFileImageSize + TabFileLearnedSize;

// Messages shown for failed saves and loads; a load message is the file name followed directly by
// TabFileLoadErrorMessage.
inline constexpr std::string_view CantDeleteBeforeSavingMessage = "Can't delete file before saving";
inline constexpr std::string_view TabFileSaveErrorMessage = "Tab file save error";
inline constexpr std::string_view TabFileLoadErrorMessage = "Tab file load error";

struct TabFileContent {
    TableImage image{};
    // Present only when the file holds a complete learned block.
    std::optional<MafValues> learnedValues;
};

// A short file still gives a full image: missing entries are 0, and then below 512 bytes Tab2 is
// rebuilt from Tab1 (the file's own Tab2 bytes, if any, are dropped), and below 257 bytes the
// parameters take their defaults. From 257 to 263 bytes the parameters the file lacks are 0.
TabFileContent decodeTabFile(std::span<const std::uint8_t> bytes);

// Reads and decodes a file. Throws FileError (CannotRead) when it cannot be opened or read.
TabFileContent readTabFile(const std::filesystem::path& name);

// The name a table is saved under: ".tab" is appended unless the name ends in exactly ".tab"
// (compared case-sensitively: a.TAB becomes a.TAB.tab).
std::filesystem::path withTabExtension(const std::filesystem::path& name);

// Saves the image's 512 low bytes under withTabExtension(name), replacing an existing file only once
// the new content is complete. Returns the path written. Throws FileError.
std::filesystem::path saveTabFile(const std::filesystem::path& name, const TableImage& image);

// The message for a failed save or load (for a load, the caller puts the file name in front).
std::string_view tabFileErrorMessage(FileError::Reason reason);

// The proposed name for a new table file: "D" and the date and time as the system writes them, with
// every ":" and "." replaced by "_" and every blank by "_T" ("09.12.2024 14:05:33" gives
// "D09_12_2024_T14_05_33"). Slashes and backslashes become "_" too: a date written 12/9/2024 must
// not turn the name into a path. The save dialog adds the extension.
std::string defaultTabFileName(std::string_view dateTimeText);
