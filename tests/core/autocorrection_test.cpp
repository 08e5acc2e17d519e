#include "autocorrection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kVoltageTarget = 30;
constexpr int kAfrTarget = 147;
constexpr int kPeriod1200Rpm = 1250;
constexpr int kPeriod1199Rpm = 1251;
constexpr int kPeriod3000Rpm = 500;

// Throttle calibrated 0..100, so a raw throttle value is its own percentage.
TargetGridModel CalibratedGrid() {
    TargetGridModel grid;
    grid.SetCalibration(0, 100);
    return grid;
}

LogSample Sample(int tps, int period, int o2, int maf = 100) {
    LogSample sample;
    sample[LogSeries::TPS] = tps;
    sample[LogSeries::RPM] = period;
    sample[LogSeries::O2] = o2;
    sample[LogSeries::MAF] = maf;
    sample[LogSeries::Converter] = maf;
    return sample;
}

AutocorrOptions On(AutocorrOptions options = {}) {
    options.AutocorrEnabled = true;
    return options;
}

struct StepCase {
    std::string name;
    AutocorrOptions options;
    AutocorrState before;
    int tps = 50;
    int period = kPeriod3000Rpm;
    std::vector<int> o2 = {20}; // the newest ten, oldest first; one value stands for all ten
    MafWindow window{100, 104};
    int learnedAt = -1;
    int target = kVoltageTarget;
    // Expected.
    int correctionStep = 0;
    bool applyNow = false;
    int colour = kAutocorrNeutral;
    bool reset = false;
    AutocorrState after;
};

class AutocorrStepCases : public ::testing::TestWithParam<StepCase> {};

const AutocorrState kFresh{};
// One tick before a first-phase step is due.
const AutocorrState kDue{.StepTicks = 1, .StepInterval = 2, .CrossingCount = 0, .PreviousO2 = 20};
const AutocorrState kDueSecond{.StepTicks = 3, .StepInterval = 4, .CrossingCount = 1, .PreviousO2 = 20};

TEST_P(AutocorrStepCases, Decides) {
    const StepCase& c = GetParam();
    LogStore store;
    std::vector<int> o2 = c.o2;
    o2.resize(10, c.o2.back());
    for (int k = 0; k < 121; ++k)
        store.Append(Sample(c.tps, c.period, o2[static_cast<std::size_t>(k < 111 ? 0 : k - 111)]));
    TargetGridModel grid = CalibratedGrid();
    grid.FillTargets(c.target);
    MafValues learned{};
    if (c.learnedAt >= 0)
        learned[static_cast<std::size_t>(c.learnedAt)] = 77;
    AutocorrState state = c.before;
    LiveCounters counters;
    auto view = store.Lock();

    const AutocorrDecision decision =
        AutocorrStep(view, 120, c.window, c.options, state, counters, learned, grid);

    EXPECT_EQ(decision.step.Msg, MSG_AUTOCORR_STEP);
    EXPECT_EQ(decision.step.WindowStart, c.window.start);
    EXPECT_EQ(decision.step.WindowEnd, c.window.end);
    EXPECT_EQ(decision.step.CorrectionStep, c.correctionStep);
    EXPECT_EQ(decision.step.ApplyNow, c.applyNow);
    EXPECT_EQ(decision.step.StateColour, c.colour);
    EXPECT_EQ(decision.step.ResetCorrection, c.reset);
    EXPECT_EQ(state.StepTicks, c.after.StepTicks);
    EXPECT_EQ(state.StepInterval, c.after.StepInterval);
    EXPECT_EQ(state.CrossingCount, c.after.CrossingCount);
    EXPECT_EQ(state.PreviousO2, c.after.PreviousO2);
    EXPECT_FALSE(decision.smoothing);
}

AutocorrOptions Smoothing(AutocorrOptions options = {}) {
    options.SmoothingEnabled = true;
    return options;
}

AutocorrOptions Inverted() {
    AutocorrOptions options = On();
    options.OutputInverted = true;
    return options;
}

AutocorrOptions Sensor(int type) {
    AutocorrOptions options = On();
    options.SensorType = type;
    return options;
}

INSTANTIATE_TEST_SUITE_P(Autocorrection, AutocorrStepCases,
                         ::testing::Values(
                             // The order of the checks.
                             StepCase{.name = "FullThrottleWithSmoothingComesFirst",
                                      .options = Smoothing(),
                                      .before = kDueSecond,
                                      .tps = 96,
                                      .learnedAt = 100,
                                      .colour = kAutocorrFullThrottle,
                                      .reset = true,
                                      .after = {3, 4, 0, 20}},
                             StepCase{.name = "Exactly95IsNotFullThrottle",
                                      .options = Smoothing(On()),
                                      .before = kDue,
                                      .tps = 95,
                                      .correctionStep = 1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 20}},
                             StepCase{.name = "AutocorrectionOffIsNeutral",
                                      .options = {},
                                      .before = kDue,
                                      .period = kPeriod1200Rpm,
                                      .learnedAt = 100,
                                      .after = kDue},
                             StepCase{.name = "ForcedIdleAtExactlyIdleRpmAndIdleTps",
                                      .options = On(),
                                      .before = kDueSecond,
                                      .tps = 2,
                                      .period = kPeriod1200Rpm,
                                      .learnedAt = 100,
                                      .colour = kAutocorrForcedIdle,
                                      .reset = true,
                                      .after = {3, 4, 0, 20}},
                             StepCase{.name = "BelowIdleRpmIsNoForcedIdle",
                                      .options = On(),
                                      .before = kDue,
                                      .tps = 2,
                                      .period = kPeriod1199Rpm,
                                      .correctionStep = 1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 20}},
                             StepCase{.name = "AboveIdleTpsIsNoForcedIdle",
                                      .options = On(),
                                      .before = kDue,
                                      .tps = 3,
                                      .period = kPeriod1200Rpm,
                                      .correctionStep = 1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 20}},
                             StepCase{.name = "LearnedPointAtTheWindowsEndComesBeforeTooWide",
                                      .options = On(),
                                      .before = kDueSecond,
                                      .window = {100, 120},
                                      .learnedAt = 120,
                                      .colour = kAutocorrDone,
                                      .reset = true,
                                      .after = {3, 4, 0, 20}},
                             StepCase{.name = "LearnedPointJustOutsideTheWindow",
                                      .options = On(),
                                      .before = kDue,
                                      .learnedAt = 105,
                                      .correctionStep = 1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 20}},
                             StepCase{.name = "SpanOfExactlyMaxWindowSpanIsCorrected",
                                      .options = On(),
                                      .before = kDue,
                                      .window = {100, 110},
                                      .correctionStep = 1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 20}},
                             StepCase{.name = "OneMoreIsTooWideAndForgetsThePreviousO2",
                                      .options = On(),
                                      .before = kDueSecond,
                                      .window = {100, 111},
                                      .colour = kAutocorrTooWide,
                                      .reset = true,
                                      .after = {3, 4, 0, kNoPreviousO2}},
                             // Step intervals.
                             StepCase{.name = "FirstPhaseWaitsForItsInterval",
                                      .options = On(),
                                      .before = kFresh,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {1, 2, 0, kNoPreviousO2}},
                             StepCase{.name = "FirstPhaseStepsOnItsInterval",
                                      .options = On(),
                                      .before = kDue,
                                      .correctionStep = 1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 20}},
                             StepCase{.name = "SecondPhaseWaitsForTheFineInterval",
                                      .options = On(),
                                      .before = {2, 2, 1, 20},
                                      .colour = kAutocorrSecondPhase,
                                      .after = {3, 4, 1, 20}},
                             StepCase{.name = "SecondPhaseStepsOnTheFineInterval",
                                      .options = On(),
                                      .before = kDueSecond,
                                      .correctionStep = 1,
                                      .colour = kAutocorrSecondPhase,
                                      .after = {0, 4, 1, 20}},
                             StepCase{.name = "Above95StepsOnEveryTick",
                                      .options = On(),
                                      .before = {0, 4, 1, 20},
                                      .tps = 96,
                                      .correctionStep = 1,
                                      .colour = kAutocorrSecondPhase,
                                      .after = {0, 1, 1, 20}},
                             StepCase{.name = "Above95TheFirstCrossingFinishes",
                                      .options = On(),
                                      .before = {0, 2, 0, 20},
                                      .tps = 96,
                                      .o2 = {40},
                                      .applyNow = true,
                                      .colour = kAutocorrDone,
                                      .after = {0, 1, 0, kNoPreviousO2}},
                             // Decisions.
                             StepCase{.name = "AverageIsTruncated",
                                      .options = On(),
                                      .before = kDue,
                                      .o2 = {30, 30, 30, 30, 30, 30, 30, 30, 30, 29},
                                      .correctionStep = 1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 29}},
                             StepCase{.name = "RichAndRichBeforeLeansOut",
                                      .options = On(),
                                      .before = {1, 2, 0, 30},
                                      .o2 = {30},
                                      .correctionStep = -1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 30}},
                             StepCase{.name = "FirstCrossingStartsTheSecondPhase",
                                      .options = On(),
                                      .before = kDue,
                                      .o2 = {40},
                                      .correctionStep = -1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 1, 40}},
                             StepCase{.name = "SecondCrossingFinishesTheWindow",
                                      .options = On(),
                                      .before = kDueSecond,
                                      .o2 = {40},
                                      .applyNow = true,
                                      .colour = kAutocorrDone,
                                      .after = {0, 4, 0, kNoPreviousO2}},
                             StepCase{.name = "InvertedLeanStepsDown",
                                      .options = Inverted(),
                                      .before = kDue,
                                      .correctionStep = -1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 20}},
                             StepCase{.name = "InvertedRichStepsUp",
                                      .options = Inverted(),
                                      .before = {1, 2, 0, 40},
                                      .o2 = {40},
                                      .correctionStep = 1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 40}},
                             StepCase{.name = "InvertedCrossingStepsUp",
                                      .options = Inverted(),
                                      .before = kDue,
                                      .o2 = {40},
                                      .correctionStep = 1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 1, 40}},
                             // Sensor types: the voltage types compare as sent, the AFR types mirrored.
                             StepCase{.name = "VoltageTypeWithoutPreviousNeverCrosses",
                                      .options = Sensor(2),
                                      .before = {1, 2, 0, kNoPreviousO2},
                                      .o2 = {40},
                                      .correctionStep = -1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 40}},
                             StepCase{.name = "AfrRichWithoutPreviousCountsAsACrossing",
                                      .options = Sensor(1),
                                      .before = {1, 2, 0, kNoPreviousO2},
                                      .o2 = {140},
                                      .target = kAfrTarget,
                                      .correctionStep = -1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 1, 140}},
                             StepCase{.name = "AfrRichWithoutPreviousInTheSecondPhaseFinishes",
                                      .options = Sensor(3),
                                      .before = {3, 4, 1, kNoPreviousO2},
                                      .o2 = {140},
                                      .target = kAfrTarget,
                                      .applyNow = true,
                                      .colour = kAutocorrDone,
                                      .after = {0, 4, 0, kNoPreviousO2}},
                             StepCase{.name = "AfrLeanRichens",
                                      .options = Sensor(3),
                                      .before = {1, 2, 0, 160},
                                      .o2 = {160},
                                      .target = kAfrTarget,
                                      .correctionStep = 1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 160}},
                             StepCase{.name = "AfrRichAfterRichLeansOut",
                                      .options = Sensor(1),
                                      .before = {1, 2, 0, 140},
                                      .o2 = {140},
                                      .target = kAfrTarget,
                                      .correctionStep = -1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 140}},
                             StepCase{.name = "AfrMirroredTargetOfZeroIsNoCrossing",
                                      .options = Sensor(1),
                                      .before = {1, 2, 0, kNoPreviousO2},
                                      .o2 = {140},
                                      .target = 255,
                                      .correctionStep = -1,
                                      .colour = kAutocorrFirstPhase,
                                      .after = {0, 2, 0, 140}}),
                         [](const auto& info) { return info.param.name; });

// A store with `before` samples at 50 %, a pull at 100 % with the MAF pattern, and `after` samples at
// 50 %; every sample at the given period.
struct PullStore {
    LogStore store;
    std::size_t pullStart = 0; // first sample at full throttle
    std::size_t pullEnd = 0;   // last one
};

void AppendPull(PullStore& pull, std::size_t before, const std::vector<int>& pattern, std::size_t length,
                std::size_t after, int period = kPeriod3000Rpm) {
    for (std::size_t k = 0; k < before; ++k)
        pull.store.Append(Sample(50, period, 30, 150));
    pull.pullStart = pull.store.Size();
    for (std::size_t k = 0; k < length; ++k)
        pull.store.Append(Sample(100, period, 30, 150 + pattern[(k + 1) % pattern.size()]));
    pull.pullEnd = pull.store.Size() - 1;
    for (std::size_t k = 0; k < after; ++k)
        pull.store.Append(Sample(50, period, 30, 150));
}

// Period 20, mean 0: one pulse of +9 for five samples, at phase 0 of the pull's first sample.
std::vector<int> Pulses() {
    std::vector<int> pattern(20, -3);
    for (int k = 0; k < 5; ++k)
        pattern[static_cast<std::size_t>(k)] = 9;
    return pattern;
}

std::vector<std::size_t> Markers(LogStore& store) {
    std::vector<std::size_t> marked;
    auto view = store.Lock();
    for (std::size_t k = 0; k < view.Size(); ++k) {
        if (view[k][LogSeries::Marker] != 0)
            marked.push_back(k);
    }
    return marked;
}

struct PullCase {
    std::string name;
    std::vector<int> pattern;
    std::size_t length;
    int period = kPeriod3000Rpm;
    bool analysed = true;
    int episodes = 0; // marked when at least five
};

class AnalyseWotPullCases : public ::testing::TestWithParam<PullCase> {};

TEST_P(AnalyseWotPullCases, Analyses) {
    const PullCase& c = GetParam();
    PullStore pull;
    AppendPull(pull, 10, c.pattern, c.length, 5);
    TargetGridModel grid = CalibratedGrid();
    int countdown = kSmoothingCountdownStart;
    std::optional<TMsgSmoothingStep> result;
    {
        auto view = pull.store.Lock();
        const std::size_t last = view.Size() - 1;
        for (std::size_t k = 0; k < view.Size(); ++k)
            view[k][LogSeries::RPM] = c.period;
        result = AnalyseWotPull(view, last, grid, countdown);
        const std::size_t s = pull.pullStart - 1;
        EXPECT_EQ(view[s + 1][LogSeries::LogCorr], c.analysed ? 50 : 0);
        EXPECT_EQ(view[s + 35][LogSeries::LogCorr], c.analysed ? 150 : 0);
    }
    const bool enough = c.episodes >= 5;
    ASSERT_EQ(result.has_value(), enough);
    if (enough) {
        EXPECT_EQ(result->Msg, MSG_SMOOTHING_STEP);
        EXPECT_EQ(result->NewSmoothing, 20);
    }
    EXPECT_EQ(countdown, enough ? 20 : kSmoothingCountdownStart);
    const std::vector<std::size_t> marked = Markers(pull.store);
    EXPECT_EQ(marked.size(), enough ? static_cast<std::size_t>(c.episodes) : 0u);
}

std::vector<int> ExactlySixDoesNotEnd() {
    // +9 +9 +6 +6 +9 +9, then twelve at -3 and two at -6: one episode per period, mean 0.
    std::vector<int> pattern = {9, 9, 6, 6, 9, 9};
    pattern.insert(pattern.end(), 12, -3);
    pattern.insert(pattern.end(), 2, -6);
    return pattern;
}

std::vector<int> ExactlySixDoesNotStart() {
    std::vector<int> pattern(20, -2);
    for (int k = 0; k < 5; ++k)
        pattern[static_cast<std::size_t>(k)] = 6;
    return pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Autocorrection, AnalyseWotPullCases,
    ::testing::Values(
        // Pulses start at 40, 60, ... samples into the pull; the search covers 30 .. length - 40.
        PullCase{.name = "Pull59IsNotAnalysed", .pattern = Pulses(), .length = 59, .analysed = false},
        PullCase{.name = "Pull60IsAnalysed", .pattern = Pulses(), .length = 60},
        PullCase{.name = "FourEpisodesAreTooFew", .pattern = Pulses(), .length = 159, .episodes = 4},
        PullCase{.name = "FiveEpisodesStepTheSmoothing", .pattern = Pulses(), .length = 160, .episodes = 5},
        PullCase{.name = "At1500RpmNothingStarts",
                 .pattern = Pulses(),
                 .length = 200,
                 .period = 1000,
                 .episodes = 0},
        PullCase{.name = "At1502RpmEpisodesStart",
                 .pattern = Pulses(),
                 .length = 200,
                 .period = 999,
                 .episodes = 7},
        PullCase{
            .name = "DeviationOfExactly6DoesNotStart", .pattern = ExactlySixDoesNotStart(), .length = 200},
        PullCase{.name = "DeviationOfExactly6DoesNotEnd",
                 .pattern = ExactlySixDoesNotEnd(),
                 .length = 200,
                 .episodes = 7}),
    [](const auto& info) { return info.param.name; });

TEST(AnalyseWotPull, MarksTheMafAtEachEpisodeStart) {
    PullStore pull;
    AppendPull(pull, 10, Pulses(), 160, 5);
    TargetGridModel grid = CalibratedGrid();
    int countdown = kSmoothingCountdownStart;
    auto view = pull.store.Lock();
    ASSERT_TRUE(AnalyseWotPull(view, view.Size() - 1, grid, countdown));
    const std::size_t s = pull.pullStart - 1;
    for (std::size_t k = 0; k < view.Size(); ++k) {
        const bool start = k >= s + 40 && k <= s + 120 && (k - s) % 20 == 0;
        EXPECT_EQ(view[k][LogSeries::Marker], start ? 159 : 0) << k;
    }
}

TEST(AnalyseWotPull, The21stStepOfARunSends255) {
    PullStore pull;
    AppendPull(pull, 10, Pulses(), 200, 5);
    TargetGridModel grid = CalibratedGrid();
    int countdown = kSmoothingCountdownStart;
    auto view = pull.store.Lock();
    for (int expected = 20; expected >= 1; --expected)
        EXPECT_EQ(AnalyseWotPull(view, view.Size() - 1, grid, countdown)->NewSmoothing, expected);
    EXPECT_EQ(AnalyseWotPull(view, view.Size() - 1, grid, countdown)->NewSmoothing, 255);
    EXPECT_EQ(countdown, 1);
}

TEST(AnalyseWotPull, APullReachingBackToTheFirstSampleIsAnalysedFromThere) {
    PullStore pull;
    AppendPull(pull, 0, Pulses(), 200, 1);
    TargetGridModel grid = CalibratedGrid();
    int countdown = kSmoothingCountdownStart;
    auto view = pull.store.Lock();
    view[0][LogSeries::Converter] = 77;
    const auto result = AnalyseWotPull(view, view.Size() - 1, grid, countdown);
    ASSERT_TRUE(result);
    EXPECT_EQ(view[0][LogSeries::LogCorr], 77);
    EXPECT_EQ(view[1][LogSeries::LogCorr], 50);
    EXPECT_EQ(view[29][LogSeries::LogCorr], 50);
    EXPECT_EQ(view[40][LogSeries::LogCorr], 150);
}

TEST(AnalyseWotPull, NoFullThrottleSampleAtAllIsNoPull) {
    LogStore store;
    for (int k = 0; k < 121; ++k)
        store.Append(Sample(50, kPeriod3000Rpm, 30));
    TargetGridModel grid = CalibratedGrid();
    int countdown = kSmoothingCountdownStart;
    auto view = store.Lock();
    EXPECT_FALSE(AnalyseWotPull(view, 120, grid, countdown));
}

TEST(AnalyseWotPull, TheMovingAverageStopsAtTheNewestSample) {
    // The pull ends one sample before the newest: its last averages have fewer than 19 samples ahead.
    PullStore pull;
    AppendPull(pull, 10, std::vector<int>{0}, 100, 1);
    TargetGridModel grid = CalibratedGrid();
    int countdown = kSmoothingCountdownStart;
    auto view = pull.store.Lock();
    view[view.Size() - 1][LogSeries::MAF] = 0;
    EXPECT_FALSE(AnalyseWotPull(view, view.Size() - 1, grid, countdown));
    // Sample E-1 averages E-21 .. E+1: 22 samples at 150 and the newest at 0.
    EXPECT_EQ(view[pull.pullEnd - 1][LogSeries::LogCorr], 150 * 22 / 23);
    EXPECT_EQ(view[pull.pullEnd][LogSeries::LogCorr], 150); // the converter output at 3000 rpm
}

// A sequence of ticks: the pull ends when the throttle drops below 95 % after a tick at 95 % or more,
// and StepTicks carries over everything that interrupts the correction.
TEST(AutocorrStep, PullEndsAfterATickAt95AndStepTicksCarryOver) {
    LogStore store;
    for (int k = 0; k < 200; ++k)
        store.Append(
            Sample(k < 10 ? 50 : 100, kPeriod3000Rpm, 20, 150 + Pulses()[static_cast<std::size_t>(k % 20)]));
    TargetGridModel grid = CalibratedGrid();
    grid.FillTargets(kVoltageTarget);
    const MafValues learned{};
    AutocorrOptions options = Smoothing(On());
    AutocorrState state{.StepTicks = 1, .StepInterval = 2, .CrossingCount = 0, .PreviousO2 = 20};
    LiveCounters counters{.PreviousTpsPercent = 95, .SmoothingCountdown = kSmoothingCountdownStart};
    auto view = store.Lock();
    const auto tick = [&](int tps, int period) {
        view[199][LogSeries::TPS] = tps;
        view[199][LogSeries::RPM] = period;
        return AutocorrStep(view, 199, {100, 104}, options, state, counters, learned, grid);
    };

    AutocorrDecision d = tick(95, kPeriod3000Rpm); // 95 after 95: no pull end
    EXPECT_FALSE(d.smoothing);
    EXPECT_EQ(d.step.CorrectionStep, 1);
    EXPECT_EQ(counters.PreviousTpsPercent, 95);
    EXPECT_EQ(state.StepTicks, 0);

    d = tick(96, kPeriod3000Rpm); // full throttle: StepTicks stays
    EXPECT_EQ(d.step.StateColour, kAutocorrFullThrottle);
    EXPECT_EQ(state.StepTicks, 0);
    d = tick(2, kPeriod1200Rpm); // the pull ends, into forced idle
    ASSERT_TRUE(d.smoothing);
    EXPECT_EQ(d.smoothing->NewSmoothing, 20);
    EXPECT_EQ(d.step.StateColour, kAutocorrForcedIdle);
    EXPECT_EQ(state.StepTicks, 0);
    d = tick(50, kPeriod3000Rpm); // waiting
    EXPECT_EQ(state.StepTicks, 1);
    EXPECT_FALSE(d.target);
    d = tick(2, kPeriod1200Rpm); // forced idle: StepTicks stays at 1
    EXPECT_EQ(state.StepTicks, 1);
    options.MaxWindowSpan = 2; // too wide: StepTicks stays too
    d = tick(50, kPeriod3000Rpm);
    EXPECT_EQ(d.step.StateColour, kAutocorrTooWide);
    EXPECT_EQ(state.StepTicks, 1);
    options.MaxWindowSpan = 10;
    d = tick(50, kPeriod3000Rpm); // the step is due at once
    EXPECT_EQ(d.step.CorrectionStep, 1);
    ASSERT_TRUE(d.target);
    EXPECT_EQ(d.target->value, kVoltageTarget);
    EXPECT_EQ(state.StepTicks, 0);
}

} // namespace
