// Recording a live run to disk while samples arrive from another thread, as the reader appends them.

#include "file_error.h"
#include "log_file.h"
#include "log_recorder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

LogSample Sample(int k) {
    LogSample sample;
    sample[LogSeries::MAF] = k % 256;
    sample[LogSeries::RPM] = 500 + k;
    sample[LogSeries::Corr] = -(k % 9);
    return sample;
}

class LogRecorderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() / ("zarni-recorder-" + std::to_string(::getpid()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    fs::path folder;
};

} // namespace

TEST_F(LogRecorderTest, TheFileFollowsTheRunWithinASecondAndEqualsTheSavedLogAtTheEnd) {
    LogStore store;
    const fs::path path = folder / "run.log";
    LogRecorder recorder(path, store, {18, 245});
    std::atomic<int> appended{0};
    std::thread reader([&] {
        for (int k = 0; k < 150; ++k) {
            store.Append(Sample(k));
            appended = k + 1;
            std::this_thread::sleep_for(2ms);
        }
    });
    // Well before the run ends, what arrived a second ago is on disk.
    std::this_thread::sleep_for(150ms);
    const int arrivedEarly = appended;
    std::this_thread::sleep_for(1s);
    const std::size_t recorded = (ReadFile(path).size() - LogFileHeaderSize) / LogFileRecordSize;
    EXPECT_GE(recorded, std::size_t(arrivedEarly)) << "recorded while the run goes on";
    reader.join();

    recorder.Finish();
    EXPECT_EQ(ReadFile(path), encodeLogFile(store.Lock(), {18, 245}));
    EXPECT_TRUE(recorder.Failure().empty());
}

TEST_F(LogRecorderTest, AFileThatCannotBeCreatedOrWrittenIsAFileError) {
    LogStore store;
    EXPECT_THROW(LogRecorder(folder / "missing" / "run.log", store, {}), FileError);
    // A full disk takes not even the header.
    if (fs::exists("/dev/full")) {
        EXPECT_THROW(LogRecorder("/dev/full", store, {}), FileError);
    }
}
