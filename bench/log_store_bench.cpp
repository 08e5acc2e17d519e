// The log store under live load: appends of the reader while the tick copies the newest samples, and
// a store holding one hour of samples (360000 at 10 ms).

#include "live_processing.h"
#include "log_store.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kOneHour = 360000;

LogSample sampleNumber(std::size_t n) {
    LogSample sample;
    for (int s = 0; s < kLogSeriesCount; ++s)
        sample.values[static_cast<std::size_t>(s)] =
            static_cast<int>((n * 7 + static_cast<std::size_t>(s)) % 256);
    return sample;
}

void fill(LogStore& store, std::size_t count) {
    for (std::size_t n = 0; n < count; ++n)
        store.Append(sampleNumber(n));
}

double microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// Median and worst of the timings, in microseconds, as counters.
void reportLatencies(benchmark::State& state, std::vector<Clock::duration>& timings, const char* name) {
    if (timings.empty())
        return;
    std::sort(timings.begin(), timings.end());
    state.counters[std::string(name) + "_median_us"] = microseconds(timings[timings.size() / 2]);
    state.counters[std::string(name) + "_p999_us"] = microseconds(timings[timings.size() * 999 / 1000]);
    state.counters[std::string(name) + "_p9999_us"] = microseconds(timings[timings.size() * 9999 / 10000]);
    state.counters[std::string(name) + "_worst_us"] = microseconds(timings.back());
}

// Fills a store with one hour of samples from empty.
void BM_AppendOneHour(benchmark::State& state) {
    for (auto _ : state) {
        LogStore store;
        fill(store, kOneHour);
        benchmark::DoNotOptimize(store.Size());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kOneHour));
    const std::size_t chunks = (kOneHour + LogStore::kChunkSamples - 1) / LogStore::kChunkSamples;
    state.counters["store_MiB"] =
        static_cast<double>(chunks * LogStore::kChunkSamples * sizeof(LogSample)) / (1024.0 * 1024.0);
}
BENCHMARK(BM_AppendOneHour)->Unit(benchmark::kMillisecond);

// Appends one sample per iteration to a store that already holds an hour, timing each append.
std::vector<Clock::duration> timedAppends(benchmark::State& state, LogStore& store) {
    std::vector<Clock::duration> timings;
    timings.reserve(1 << 22);
    std::size_t n = kOneHour;
    for (auto _ : state) {
        const auto start = Clock::now();
        store.Append(sampleNumber(n++));
        timings.push_back(Clock::now() - start);
    }
    return timings;
}

// The reader's appends on a store already holding one hour, while another thread copies the newest
// 121 samples every 100 us (a thousand times the tick's rate). Every append is timed, chunk
// allocations included: none may stall behind the copies. On a loaded machine the worst figures are
// those of the scheduler, not of the lock.
void BM_AppendWhileCopying(benchmark::State& state) {
    LogStore store;
    fill(store, kOneHour);
    std::atomic<bool> done{false};
    std::vector<Clock::duration> copyTimings;
    std::thread copier([&] {
        while (!done) {
            const auto start = Clock::now();
            const auto newest = store.Newest(kAutocorrMinSamples);
            copyTimings.push_back(Clock::now() - start);
            benchmark::DoNotOptimize(CorrectionWindow(newest));
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    });
    std::vector<Clock::duration> appendTimings = timedAppends(state, store);
    done = true;
    copier.join();
    state.SetItemsProcessed(state.iterations());
    reportLatencies(state, appendTimings, "append");
    reportLatencies(state, copyTimings, "copy121");
    state.counters["copies"] = static_cast<double>(copyTimings.size());
}
BENCHMARK(BM_AppendWhileCopying)->Iterations(200000)->UseRealTime();

// The same appends with no copier: the baseline that shows what the machine itself adds.
void BM_AppendAlone(benchmark::State& state) {
    LogStore store;
    fill(store, kOneHour);
    std::vector<Clock::duration> appendTimings = timedAppends(state, store);
    state.SetItemsProcessed(state.iterations());
    reportLatencies(state, appendTimings, "append");
}
BENCHMARK(BM_AppendAlone)->Iterations(200000)->UseRealTime();

// The tick's own copy on a one-hour store, without contention.
void BM_NewestOnOneHour(benchmark::State& state) {
    LogStore store;
    fill(store, kOneHour);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.Newest(kAutocorrMinSamples));
}
BENCHMARK(BM_NewestOnOneHour);

// The after-run O2 smoothing of a one-hour run, which holds the lock for its whole pass.
void BM_SmoothO2OneHour(benchmark::State& state) {
    LogStore store;
    fill(store, kOneHour);
    for (auto _ : state) {
        auto view = store.Lock();
        SmoothO2(view);
    }
}
BENCHMARK(BM_SmoothO2OneHour)->Unit(benchmark::kMillisecond);

} // namespace
