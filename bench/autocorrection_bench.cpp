// The live tick's own work with the autocorrection (the chart repaint is not part of it) on a store
// holding one hour of samples: an ordinary tick at part load, the tick that ends a ten-second pull,
// and the worst a store can hold: a pull that lasted the whole hour.

#include "autocorrection.h"
#include "live_processing.h"
#include "log_store.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kOneHour = 360000;
constexpr int kPartThrottle = 100;
constexpr int kFullThrottle = 255;

// One hour of 10 ms samples at 3000 rpm: the last pullSamples before the newest at full throttle,
// with MAF pulses, the rest at part load with a little MAF jitter.
void FillHour(LogStore& store, std::size_t pullSamples) {
    for (std::size_t n = 0; n < kOneHour; ++n) {
        const bool pull = n + 1 < kOneHour && n + 1 + pullSamples >= kOneHour;
        LogSample sample;
        sample[LogSeries::TPS] = pull ? kFullThrottle : kPartThrottle;
        sample[LogSeries::RPM] = 500;
        sample[LogSeries::MAF] = pull ? 200 + (n % 20 < 5 ? 12 : 0) : 120 + static_cast<int>(n % 3);
        sample[LogSeries::Converter] = sample[LogSeries::MAF];
        sample[LogSeries::O2] = 140 + static_cast<int>(n % 15);
        store.Append(sample);
    }
}

// What Log::Tick does under the store's lock once the store is long enough.
AutocorrDecision Tick(LogStore& store, AutocorrState& state, LiveCounters& counters, TargetGridModel& grid,
                      const MafValues& learned) {
    const AutocorrOptions options{.AutocorrEnabled = true, .SmoothingEnabled = true, .SensorType = 1};
    LogStore::View view = store.Lock();
    const std::size_t n = view.Size();
    std::array<LogSample, kCorrectionWindowSamples> newest;
    for (std::size_t k = 0; k < newest.size(); ++k)
        newest[k] = view[n - newest.size() + k];
    benchmark::DoNotOptimize(MakeDashData(newest.back(), options.SensorType, '.'));
    return AutocorrStep(view, n - 1, CorrectionWindow(newest), options, state, counters, learned, grid);
}

void RunTicks(benchmark::State& bench, std::size_t pullSamples) {
    LogStore store;
    FillHour(store, pullSamples);
    TargetGridModel grid;
    grid.SetCalibration(0, 255);
    grid.FillTargets(147);
    const MafValues learned{};
    AutocorrState state;
    LiveCounters counters;
    std::vector<Clock::duration> timings;
    for (auto _ : bench) {
        // Every tick is the one right after the pull (when there is one).
        counters.PreviousTpsPercent = pullSamples > 0 ? 100 : 0;
        const auto start = Clock::now();
        benchmark::DoNotOptimize(Tick(store, state, counters, grid, learned));
        timings.push_back(Clock::now() - start);
    }
    std::sort(timings.begin(), timings.end());
    const auto us = [](Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); };
    bench.counters["median_us"] = us(timings[timings.size() / 2]);
    bench.counters["worst_us"] = us(timings.back());
}

void BM_TickAtPartLoad(benchmark::State& bench) {
    RunTicks(bench, 0);
}

void BM_TickEndingATenSecondPull(benchmark::State& bench) {
    RunTicks(bench, 1000);
}

void BM_TickEndingAnHourLongPull(benchmark::State& bench) {
    RunTicks(bench, kOneHour - 1);
}

} // namespace

BENCHMARK(BM_TickAtPartLoad)->Iterations(2000);
BENCHMARK(BM_TickEndingATenSecondPull)->Iterations(2000);
BENCHMARK(BM_TickEndingAnHourLongPull)->Iterations(100);
