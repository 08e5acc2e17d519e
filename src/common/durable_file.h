#pragma once
// A file that only grows, whose data can be forced onto the disk, so a crash or a power loss costs at
// most what was written since the last sync.

#include <cstdint>
#include <filesystem>
#include <span>

class DurableFile {
public:
    // Creates the file, or empties one of that name. Throws FileError (CannotCreate).
    explicit DurableFile(const std::filesystem::path& path);
    ~DurableFile();
    DurableFile(const DurableFile&) = delete;
    DurableFile& operator=(const DurableFile&) = delete;

    // Throws FileError (CannotCreate) when the bytes cannot all be written (a full disk).
    void Append(std::span<const std::uint8_t> bytes);
    // Throws FileError (CannotCreate) when the data cannot be forced onto the disk.
    void Sync();

private:
    std::intptr_t handle;
};
