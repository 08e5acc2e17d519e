#include "bench_recording.h"

#include "file_io.h"
#include "log_file.h"

#include <algorithm>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr LogTpsRange kTps{20, 230};

} // namespace

BenchRecording::Folder::Folder()
    : path(fs::temp_directory_path() / ("zarni_live_bench_" + std::to_string(::getpid()))) {
    fs::create_directories(path);
}

BenchRecording::Folder::~Folder() {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

BenchRecording::BenchRecording(LogStore& store)
    : store(store), recorder(folder.path / "run.log", store, kTps) {}

RecordingOutcome BenchRecording::Finish() {
    recorder.Finish();
    RecordingOutcome outcome;
    outcome.failure = recorder.Failure();
    const FileBytes file = readWholeFile(recorder.File());
    outcome.samplesRecorded =
        file.size < LogFileHeaderSize ? 0 : (file.size - LogFileHeaderSize) / LogFileRecordSize;
    const std::vector<std::uint8_t> expected = encodeLogFile(store.Lock(), kTps);
    outcome.matchesStore = std::ranges::equal(file.Bytes(), expected);
    return outcome;
}
