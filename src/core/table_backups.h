#pragma once
// The converter's tables as they were before a write replaced them: the image of the last read is
// saved once, raw, into a folder of its own before the first write after that read, so a user who
// wrote a bad table can always load the one before. The folder keeps the newest backups only.

#include "file_error.h"
#include "table_image.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

class TableBackups {
public:
    static constexpr std::size_t kKeptAtMost = 200;

    explicit TableBackups(std::filesystem::path folder, std::size_t keptAtMost = kKeptAtMost);

    // The converter's reply to a read: the tables the next write would replace. (The read-back that
    // verifies a write is not one of these.)
    void TablesRead(const TableImage& image);
    // Saves the image read last as stem + ".tab" (stem_2.tab and on when the name is taken), unless
    // nothing was read or that image is kept already, then removes the oldest backups by file time
    // beyond the limit. Returns the file written. Throws FileError when it cannot be written; the
    // image then stays due for the next write.
    std::optional<std::filesystem::path> BeforeWrite(const std::string& stem);

    const std::filesystem::path& Folder() const { return folder; }

private:
    void RemoveOldest() const;

    std::filesystem::path folder;
    std::size_t keptAtMost;
    std::optional<TableImage> due; // read and not kept yet
};
