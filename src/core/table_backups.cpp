#include "table_backups.h"

#include "file_io.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

TableBackups::TableBackups(fs::path folder, std::size_t keptAtMost)
    : folder(std::move(folder)), keptAtMost(keptAtMost) {}

void TableBackups::TablesRead(const TableImage& image) {
    due = image;
}

std::optional<fs::path> TableBackups::BeforeWrite(const std::string& stem) {
    if (!due)
        return std::nullopt;
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        throw FileError(FileError::Reason::CannotCreate,
                        "cannot create " + folder.string() + ": " + error.message());
    fs::path target = folder / (stem + ".tab");
    for (int more = 2; fs::exists(target, error); ++more)
        target = folder / (stem + "_" + std::to_string(more) + ".tab");
    saveFileReplacing(target, imageBytes(*due));
    due.reset();
    RemoveOldest();
    return target;
}

void TableBackups::RemoveOldest() const {
    struct Backup {
        fs::file_time_type time;
        fs::path path;
    };
    std::vector<Backup> backups;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".tab" || !entry.is_regular_file(error))
            continue;
        const fs::file_time_type time = entry.last_write_time(error);
        if (!error)
            backups.push_back({time, entry.path()});
    }
    if (backups.size() <= keptAtMost)
        return;
    std::sort(backups.begin(), backups.end(), [](const Backup& a, const Backup& b) {
        return a.time != b.time ? a.time < b.time : a.path < b.path;
    });
    for (std::size_t i = 0; i + keptAtMost < backups.size(); ++i)
        fs::remove(backups[i].path, error); // one that cannot go waits for the next write
}
