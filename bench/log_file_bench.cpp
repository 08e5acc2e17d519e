// The .log file of a long run, 1 M samples (15 MB, about 2 h 47 min of live data): loading it into the
// store and saving the store, against a plain read and a plain write of the same file. Loading and
// saving should each stay within twice the plain read.

#include "log_file.h"
#include "log_store.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kSamples = 1'000'000;

LogSample sampleNumber(std::size_t n) {
    LogSample s;
    for (int series = 0; series < kLogSeriesCount; ++series)
        s.values[static_cast<std::size_t>(series)] =
            static_cast<int>((n * 7 + static_cast<std::size_t>(series) * 13) % 256);
    s[LogSeries::RPM] = static_cast<int>((n * 263) % 65536);
    s[LogSeries::Corr] = static_cast<int>(n % 511) - 255;
    s[LogSeries::LogCorr] = 255 - static_cast<int>(n % 511);
    return s;
}

// One folder per run holding the saved 1 M sample log, removed at exit.
struct BenchFiles {
    BenchFiles() : folder(fs::temp_directory_path() / ("log_file_bench_" + std::to_string(::getpid()))) {
        fs::create_directories(folder);
        for (std::size_t n = 0; n < kSamples; ++n)
            store.Append(sampleNumber(n));
        saveLogFile(log(), store, {20, 230});
        size = static_cast<std::size_t>(fs::file_size(log()));
    }
    ~BenchFiles() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    fs::path log() const { return folder / "long.log"; }
    fs::path saved() const { return folder / "saved.log"; }
    fs::path plain() const { return folder / "plain.bin"; }

    fs::path folder;
    LogStore store;
    std::size_t size = 0;
};

BenchFiles& files() {
    static BenchFiles instance;
    return instance;
}

void reportBytes(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * files().size));
}

// The floor: the whole file into a fresh buffer with one read() call.
void BM_PlainRead(benchmark::State& state) {
    const std::string path = files().log().string();
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        struct stat info {};
        ::fstat(fd, &info);
        const auto size = static_cast<std::size_t>(info.st_size);
        auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(size);
        if (::read(fd, buffer.get(), size) != static_cast<ssize_t>(size))
            state.SkipWithError("short read");
        ::close(fd);
        benchmark::DoNotOptimize(buffer.get());
        benchmark::ClobberMemory();
    }
    reportBytes(state);
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

// What the log page's open does: read the file, then empty the store and fill it under one lock.
void BM_LoadLog(benchmark::State& state) {
    LogStore store;
    for (auto _ : state) {
        benchmark::DoNotOptimize(loadLogFile(files().log(), store));
        if (store.Size() != kSamples)
            state.SkipWithError("wrong sample count");
    }
    reportBytes(state);
}
BENCHMARK(BM_LoadLog)->Unit(benchmark::kMillisecond);

// The store's own floor for a load: emptying it and appending 1 M samples under one lock, with no
// file and no decoding. Most of it is the first touch of the store's fresh memory (48 MB of chunks).
void BM_RefillStore(benchmark::State& state) {
    LogStore store;
    const LogSample sample = sampleNumber(5);
    for (auto _ : state) {
        LogStore::View view = store.Lock();
        view.Clear();
        for (std::size_t n = 0; n < kSamples; ++n)
            view.Append(sample);
        benchmark::DoNotOptimize(view.Size());
    }
    reportBytes(state);
}
BENCHMARK(BM_RefillStore)->Unit(benchmark::kMillisecond);

// The decoder alone, from bytes in memory into a vector of samples.
void BM_DecodeLogBytes(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = encodeLogFile(files().store.Lock(), {20, 230});
    for (auto _ : state) {
        const LogFileContent content = decodeLogFile(bytes);
        benchmark::DoNotOptimize(content.samples.data());
    }
    reportBytes(state);
}
BENCHMARK(BM_DecodeLogBytes)->Unit(benchmark::kMillisecond);

// What the log page's save does: encode under the lock, write aside, rename over the last save.
void BM_SaveLog(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(saveLogFile(files().saved(), files().store, {20, 230}));
    reportBytes(state);
}
BENCHMARK(BM_SaveLog)->Unit(benchmark::kMillisecond);

// The encoder alone, from the store into one byte vector.
void BM_EncodeLogStore(benchmark::State& state) {
    for (auto _ : state) {
        const std::vector<std::uint8_t> bytes = encodeLogFile(files().store.Lock(), {20, 230});
        benchmark::DoNotOptimize(bytes.data());
    }
    reportBytes(state);
}
BENCHMARK(BM_EncodeLogStore)->Unit(benchmark::kMillisecond);

// For the save's own floor: the same bytes written over a file with one write() call.
void BM_PlainWrite(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes = encodeLogFile(files().store.Lock(), {20, 230});
    const std::string path = files().plain().string();
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
            state.SkipWithError("short write");
        ::close(fd);
    }
    reportBytes(state);
}
BENCHMARK(BM_PlainWrite)->Unit(benchmark::kMillisecond);

} // namespace
