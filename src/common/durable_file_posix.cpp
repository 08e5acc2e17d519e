#include "durable_file.h"

#include "file_error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const char* operation) {
    throw FileError(FileError::Reason::CannotCreate, std::string(operation) + ": " + std::strerror(errno));
}

} // namespace

DurableFile::DurableFile(const std::filesystem::path& path) {
    handle = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (handle < 0)
        fail("open");
}

DurableFile::~DurableFile() {
    ::close(static_cast<int>(handle));
}

void DurableFile::Append(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(static_cast<int>(handle), bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            fail("write");
        done += static_cast<std::size_t>(written);
    }
}

void DurableFile::Sync() {
#if defined(__APPLE__)
    const int result = ::fsync(static_cast<int>(handle));
#else
    const int result = ::fdatasync(static_cast<int>(handle));
#endif
    if (result != 0)
        fail("sync");
}
