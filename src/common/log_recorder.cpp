#include "log_recorder.h"

#include "file_error.h"

#include <algorithm>

LogRecorder::LogRecorder(const std::filesystem::path& file, LogStore& store, LogTpsRange tps)
    : path(file), store(store), file(file) {
    this->file.Append(encodeLogHeader(tps));
    writer = std::thread([this] { Run(); });
}

LogRecorder::~LogRecorder() {
    Finish();
}

void LogRecorder::Finish() {
    {
        std::lock_guard lock(mutex);
        finishing = true;
    }
    wake.notify_all();
    if (writer.joinable())
        writer.join();
}

std::string LogRecorder::Failure() const {
    std::lock_guard lock(mutex);
    return failure;
}

void LogRecorder::Run() {
    auto lastSync = std::chrono::steady_clock::now();
    for (;;) {
        bool last = false;
        {
            std::unique_lock lock(mutex);
            last = wake.wait_for(lock, WriteEvery, [this] { return finishing; });
        }
        if (!WriteNew())
            return;
        const auto now = std::chrono::steady_clock::now();
        if (last || now - lastSync >= SyncEvery) {
            try {
                file.Sync();
            } catch (const FileError& error) {
                std::lock_guard lock(mutex);
                failure = error.what();
                return;
            }
            lastSync = now;
        }
        if (last)
            return;
    }
}

bool LogRecorder::WriteNew() {
    std::vector<std::uint8_t> records;
    {
        const LogStore::View view = store.Lock();
        records = encodeLogRecords(view, written);
        written = std::max(written, view.Size());
    }
    if (records.empty())
        return true;
    try {
        file.Append(records);
    } catch (const FileError& error) {
        std::lock_guard lock(mutex);
        failure = error.what();
        return false;
    }
    return true;
}
