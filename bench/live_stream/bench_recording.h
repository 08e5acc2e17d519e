#pragma once
// The run's recording on disk, as the log page makes it for every live run: a LogRecorder writing
// the store into a folder of this run under the system's temporary folder, removed with it.

#include "log_recorder.h"
#include "log_store.h"

#include <cstddef>
#include <filesystem>
#include <string>

struct RecordingOutcome {
    std::size_t samplesRecorded = 0; // whole records in the file
    bool matchesStore = false;       // the file is the store's .log file, byte for byte
    std::string failure;             // what stopped the recording, empty when nothing did
};

class BenchRecording {
public:
    // Starts recording the store. Throws FileError when the file cannot be created. Destroyed, it
    // finishes the recording and removes the folder.
    explicit BenchRecording(LogStore& store);

    // Writes the rest, syncs and ends the writer, then checks the file against the store. The caller
    // must not hold a view of the store.
    RecordingOutcome Finish();

private:
    // Removed once the recorder, declared after it, has ended.
    struct Folder {
        Folder();
        ~Folder();
        Folder(const Folder&) = delete;
        Folder& operator=(const Folder&) = delete;
        std::filesystem::path path;
    };

    Folder folder;
    LogStore& store;
    LogRecorder recorder;
};
