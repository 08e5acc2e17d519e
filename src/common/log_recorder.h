#pragma once
// Records a live run to disk while it runs, in the .log layout: a writer thread of its own (neither
// the reader nor the main thread) appends the store's new samples every tenth of a second and forces
// them onto the disk at least once a second, so a crash or a power loss costs at most about a second
// of the drive. Appends of the reader wait only while new samples are copied out of the store.

#include "durable_file.h"
#include "log_file.h"
#include "log_store.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>

class LogRecorder {
public:
    static constexpr std::chrono::milliseconds WriteEvery{100};
    static constexpr std::chrono::milliseconds SyncEvery{500};

    // Creates the file with its header and starts writing. Throws FileError when it cannot be created.
    LogRecorder(const std::filesystem::path& file, LogStore& store, LogTpsRange tps);
    // Finish.
    ~LogRecorder();
    LogRecorder(const LogRecorder&) = delete;
    LogRecorder& operator=(const LogRecorder&) = delete;

    // Writes what is still unwritten, syncs and ends the thread; once.
    void Finish();
    const std::filesystem::path& File() const { return path; }
    // The failure that stopped the recording (a full disk, a drive gone), empty while there is none.
    std::string Failure() const;

private:
    void Run();
    // Appends the samples beyond those written; true while the file takes them.
    bool WriteNew();

    std::filesystem::path path;
    LogStore& store;
    DurableFile file;
    std::size_t written = 0; // the writer thread's own
    mutable std::mutex mutex;
    std::condition_variable wake;
    bool finishing = false;
    std::string failure;
    std::thread writer; // last: starts once everything it uses exists
};
