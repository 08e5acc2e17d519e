#include "durable_file.h"

#include "file_error.h"

#include <algorithm>
#include <string>
#include <windows.h>

namespace {

[[noreturn]] void fail(const char* operation) {
    throw FileError(FileError::Reason::CannotCreate,
                    std::string(operation) + " failed (Error: " + std::to_string(GetLastError()) + ")");
}

HANDLE asHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

DurableFile::DurableFile(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        fail("CreateFile");
    handle = reinterpret_cast<std::intptr_t>(file);
}

DurableFile::~DurableFile() {
    CloseHandle(asHandle(handle));
}

void DurableFile::Append(std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(asHandle(handle), bytes.data() + done, chunk, &written, nullptr) || written == 0)
            fail("WriteFile");
        done += written;
    }
}

void DurableFile::Sync() {
    if (!FlushFileBuffers(asHandle(handle)))
        fail("FlushFileBuffers");
}
