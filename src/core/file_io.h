#pragma once
// Whole-file reads and writes done inside one call: readers see a bounded prefix, writers replace
// the target only with complete content.

#include "file_error.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

// Reads at most maxBytes from the start of the file. Throws FileError (CannotRead) when the file
// cannot be opened or a read fails.
std::vector<std::uint8_t> readFilePrefix(const std::filesystem::path& path, std::size_t maxBytes);

// A whole file in memory that was not cleared before the read: large files are read once, not twice.
struct FileBytes {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
    std::span<const std::uint8_t> Bytes() const { return {data.get(), size}; }
};

// Reads the whole file in one read (a file that shrinks meanwhile gives what is left). Throws
// FileError (CannotRead) when its size cannot be read, or as readFilePrefix does.
FileBytes readWholeFile(const std::filesystem::path& path);

// Writes the bytes to a new file beside target and renames it over target once complete, so a failed
// save leaves an existing target as it was. The new file takes the permissions of the file it
// replaces. Throws FileError: CannotCreate when the new file cannot be created or written,
// CannotReplace when it cannot take target's place (target is a folder, for example).
void saveFileReplacing(const std::filesystem::path& target, std::span<const std::uint8_t> bytes);
