#include "autocorrection.h"

#include "oxygen_sensor.h"

#include <array>
#include <cstdlib>
#include <vector>

namespace {

constexpr int kFullThrottlePercent = 95;
constexpr std::size_t kMinPullSamples = 60;
// LogCorr over the first samples of a pull, where the moving average has not settled yet.
constexpr std::size_t kSettlingSamples = 30;
constexpr int kSettlingLogCorr = 50;
// The last 40 samples of a pull are not searched: the engine is already leaving full load.
constexpr std::size_t kUnsearchedPullEnd = 40;
constexpr int kPulsationDeviation = 6;
constexpr int kPulsationMinRpm = 1500;
constexpr std::size_t kMinEpisodes = 5;
constexpr std::size_t kO2AverageSamples = 10;
// The AFR types send tenths of a ratio, which fall as the mixture richens; mirrored, they rise with
// it as the voltage types do.
constexpr int kMirror = 255;
// A PreviousO2 above this is the "none" sentinel.
constexpr int kLargestPreviousO2 = 256;

// TpsPercent of every raw byte value: a walk back over a long pull then costs a lookup per sample.
class ThrottlePercents {
public:
    explicit ThrottlePercents(TargetGridModel& grid) : grid(grid) {
        for (int raw = 0; raw < static_cast<int>(percents.size()); ++raw)
            percents[static_cast<std::size_t>(raw)] = grid.TpsPercent(raw);
    }

    int operator()(int raw) const {
        return raw >= 0 && raw < static_cast<int>(percents.size()) ? percents[static_cast<std::size_t>(raw)]
                                                                   : grid.TpsPercent(raw);
    }

private:
    TargetGridModel& grid;
    std::array<int, 256> percents{};
};

// The samples first..last (both included) where a pulsation episode starts: the MAF leaves its moving
// average by more than 6 while the engine turns faster than 1500 rpm. An episode ends when it comes
// back within less than 6 at such a speed.
std::vector<std::size_t> PulsationStarts(const LogStore::View& view, std::size_t first, std::size_t last) {
    std::vector<std::size_t> starts;
    bool in = false;
    for (std::size_t k = first; k <= last; ++k) {
        const int deviation = std::abs(view[k][LogSeries::LogCorr] - view[k][LogSeries::MAF]);
        const bool fast = RpmFromPeriod(view[k][LogSeries::RPM]) > kPulsationMinRpm;
        if (deviation > kPulsationDeviation && !in && fast) {
            starts.push_back(k);
            in = true;
        }
        if (deviation < kPulsationDeviation && in && fast)
            in = false;
    }
    return starts;
}

// The mean of the newest ten O2 values, mirrored for the AFR types.
int AverageO2(const LogStore::View& view, std::size_t i, bool mirrored) {
    int sum = 0;
    for (std::size_t k = 0; k < kO2AverageSamples; ++k) {
        const int o2 = view[i - k][LogSeries::O2];
        sum += mirrored ? kMirror - o2 : o2;
    }
    return sum / static_cast<int>(kO2AverageSamples);
}

// Leaves the window alone and throws the pending correction away; back to the first phase.
void Interrupt(AutocorrDecision& decision, AutocorrState& state, int colour) {
    decision.step.StateColour = colour;
    decision.step.ResetCorrection = true;
    state.CrossingCount = 0;
}

} // namespace

AutocorrDecision AutocorrStep(LogStore::View& view, std::size_t i, MafWindow window,
                              const AutocorrOptions& options, AutocorrState& state, LiveCounters& counters,
                              const MafValues& learned, TargetGridModel& grid) {
    AutocorrDecision decision;
    TMsgAutocorrStep& step = decision.step;
    step.WindowStart = window.start;
    step.WindowEnd = window.end;
    step.StateColour = kAutocorrNeutral;

    const int tps = view[i][LogSeries::TPS];
    const int rpm = RpmFromPeriod(view[i][LogSeries::RPM]);
    if (options.SmoothingEnabled) {
        const int percent = grid.TpsPercent(tps);
        if (percent > kFullThrottlePercent) {
            counters.PreviousTpsPercent = percent;
            Interrupt(decision, state, kAutocorrFullThrottle);
            return decision;
        }
        if (counters.PreviousTpsPercent >= kFullThrottlePercent && percent < kFullThrottlePercent)
            decision.smoothing = AnalyseWotPull(view, i, grid, counters.SmoothingCountdown);
        counters.PreviousTpsPercent = percent;
    }
    if (!options.AutocorrEnabled)
        return decision;
    if (rpm >= options.IdleRpm && grid.TpsPercent(tps) <= options.IdleTps) {
        Interrupt(decision, state, kAutocorrForcedIdle);
        return decision;
    }
    for (int maf = window.start; maf <= window.end; ++maf) {
        if (maf >= 0 && maf < MafCount && learned[static_cast<std::size_t>(maf)] != 0) {
            Interrupt(decision, state, kAutocorrDone);
            return decision;
        }
    }
    if (window.end - window.start > options.MaxWindowSpan) {
        state.PreviousO2 = kNoPreviousO2;
        Interrupt(decision, state, kAutocorrTooWide);
        return decision;
    }

    int fast = options.FastInterval;
    int fine = options.FineInterval;
    int requiredCrossings = 1;
    if (grid.TpsPercent(tps) > kFullThrottlePercent) {
        // Full load passes quickly: step on every tick and finish on the first crossing.
        requiredCrossings = 0;
        fast = fine = 1;
    }
    if (state.CrossingCount == 0) {
        step.StateColour = kAutocorrFirstPhase;
        state.StepInterval = fast;
    } else if (state.CrossingCount == 1) {
        step.StateColour = kAutocorrSecondPhase;
        state.StepInterval = fine;
    }
    state.StepTicks += 1;
    if (state.StepTicks < state.StepInterval)
        return decision;
    state.StepTicks = 0;

    decision.target = grid.TargetAt(tps, rpm);
    const bool mirrored = IsAfrSensor(options.SensorType);
    if (mirrored && state.PreviousO2 > kLargestPreviousO2)
        state.PreviousO2 = kMirror; // so that "none" never compares as the richest reading
    const int previous = mirrored ? kMirror - state.PreviousO2 : state.PreviousO2;
    const int average = AverageO2(view, i, mirrored);
    const int target = mirrored ? kMirror - decision.target->value : decision.target->value;
    const int leaner = options.OutputInverted ? 1 : -1;

    if (average < target) {
        step.CorrectionStep = -leaner;
    } else if (previous >= target) {
        step.CorrectionStep = leaner;
    } else if (state.CrossingCount >= requiredCrossings) {
        step.StateColour = kAutocorrDone;
        step.ApplyNow = true;
        state.PreviousO2 = kNoPreviousO2;
        state.CrossingCount = 0;
        return decision;
    } else {
        state.CrossingCount += 1;
        step.CorrectionStep = leaner;
    }
    state.PreviousO2 = view[i][LogSeries::O2];
    return decision;
}

std::optional<TMsgSmoothingStep> AnalyseWotPull(LogStore::View& view, std::size_t i, TargetGridModel& grid,
                                                int& smoothingCountdown) {
    const ThrottlePercents percent(grid);
    // Both walks stop at the first sample: a pull that reaches back to it is analysed from there.
    std::size_t end = i;
    while (percent(view[end][LogSeries::TPS]) < kFullThrottlePercent) {
        if (end == 0)
            return std::nullopt;
        --end;
    }
    std::size_t start = end;
    while (start > 0 && percent(view[start][LogSeries::TPS]) >= kFullThrottlePercent)
        --start;
    if (end - start < kMinPullSamples)
        return std::nullopt;

    view[start][LogSeries::LogCorr] = view[start][LogSeries::Converter];
    for (std::size_t k = start + 1; k < start + kSettlingSamples; ++k)
        view[k][LogSeries::LogCorr] = kSettlingLogCorr;
    FillCenteredAverage(view, LogSeries::MAF, LogSeries::LogCorr, start + kSettlingSamples, end);
    view[end][LogSeries::LogCorr] =
        RpmFromPeriod(view[end][LogSeries::RPM]) > kPulsationMinRpm ? view[end][LogSeries::Converter] : 0;

    const std::vector<std::size_t> starts =
        PulsationStarts(view, start + kSettlingSamples, end - kUnsearchedPullEnd);
    if (starts.size() < kMinEpisodes)
        return std::nullopt;
    int newSmoothing = kNoSmoothingChange;
    if (smoothingCountdown > 1) {
        smoothingCountdown -= 1;
        newSmoothing = smoothingCountdown;
    }
    for (const std::size_t k : starts)
        view[k][LogSeries::Marker] = view[k][LogSeries::MAF];
    return TMsgSmoothingStep(newSmoothing);
}
