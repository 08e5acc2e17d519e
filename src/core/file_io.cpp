#include "file_io.h"

#include <fstream>
#include <string>
#include <system_error>

namespace fs = std::filesystem;

namespace {

std::string describe(const char* what, const fs::path& path) {
    return std::string(what) + ": " + path.string();
}

// A name beside target that no file has yet, so the save never overwrites a stranger's file.
fs::path unusedPathBeside(const fs::path& target) {
    constexpr int attempts = 100;
    for (int i = 0; i < attempts; ++i) {
        fs::path candidate = target;
        candidate += ".saving" + std::to_string(i);
        std::error_code unknown; // a name whose status cannot be read is tried, and fails when created
        if (!fs::exists(fs::symlink_status(candidate, unknown)))
            return candidate;
    }
    throw FileError(FileError::Reason::CannotCreate, describe("no free temporary name beside", target));
}

void writeAll(const fs::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw FileError(FileError::Reason::CannotCreate, describe("cannot create", path));
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::error_code ignored;
        fs::remove(path, ignored);
        throw FileError(FileError::Reason::CannotCreate, describe("cannot write", path));
    }
}

// Reads at most maxBytes into out and gives how many were read. A request this large goes to the
// system as one read.
std::size_t readInto(const fs::path& path, std::uint8_t* out, std::size_t maxBytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FileError(FileError::Reason::CannotRead, describe("cannot open", path));
    in.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(maxBytes));
    // A folder opens on some systems and only fails here.
    if (in.bad())
        throw FileError(FileError::Reason::CannotRead, describe("cannot read", path));
    return static_cast<std::size_t>(in.gcount());
}

} // namespace

std::vector<std::uint8_t> readFilePrefix(const fs::path& path, std::size_t maxBytes) {
    std::vector<std::uint8_t> bytes(maxBytes);
    bytes.resize(readInto(path, bytes.data(), maxBytes));
    return bytes;
}

FileBytes readWholeFile(const fs::path& path) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error)
        throw FileError(FileError::Reason::CannotRead,
                        describe("cannot read", path) + ": " + error.message());
    FileBytes file{std::make_unique_for_overwrite<std::uint8_t[]>(size), 0};
    file.size = readInto(path, file.data.get(), static_cast<std::size_t>(size));
    return file;
}

void saveFileReplacing(const fs::path& target, std::span<const std::uint8_t> bytes) {
    const fs::path temporary = unusedPathBeside(target);
    writeAll(temporary, bytes);
    std::error_code error;
    const fs::file_status old = fs::status(target, error);
    if (fs::is_regular_file(old))
        fs::permissions(temporary, old.permissions(), error);
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw FileError(FileError::Reason::CannotReplace,
                        describe("cannot replace", target) + ": " + error.message());
    }
}
