// The autotune proven on the simulated engine with its exhaust delay, sensor lag and pulsations: each
// sensor type with the same mixture aim in its own units, a grid of different targets, a falling
// meter, and the full-throttle path with smoothing on and off.

#include "tuning_drive.h"

#include "converter_model.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kTunedCycles = 11;
// Samples of one MAF range in the last cycle that make it a range the drive visited: 2 s.
constexpr int kVisitedSamples = 200;
constexpr double kBand = 0.3; // AFR
constexpr double kShrink = 3;
constexpr int kThrottleHeaders[] = {100, 90, 80, 70, 60, 50, 40, 30, 20, 10};
constexpr int kSpeedHeaders[] = {0, 1000, 1500, 2000, 2500, 3000, 3500, 4000, 5000, 6000};

enum class Targets { Uniform, Grid };

struct TuningCase {
    const char* name;
    int sensorType;
    Targets targets;
    bool inverted;
    bool smoothing;
};

const TuningCase kCases[] = {
    {"InnovateMtxL", 1, Targets::Uniform, false, true},
    {"Aem3041", 3, Targets::Uniform, false, true},
    {"NarrowBand", 0, Targets::Uniform, false, true},
    {"ZeroToFiveVolt", 2, Targets::Uniform, false, true},
    {"InnovateMtxLFalling", 1, Targets::Uniform, true, true},
    {"InnovateMtxLGridSmoothingOff", 1, Targets::Grid, false, false},
};

// Richer as the load rises, leaner at light cruise, stoichiometric at idle.
double GridAfr(const TargetGridModel::Choice& cell) {
    const int throttle = kThrottleHeaders[cell.row];
    const int rpm = kSpeedHeaders[cell.column - 1];
    if (throttle >= 90)
        return 12.8;
    const double highSpeed = rpm >= 4000 ? -0.3 : 0;
    if (throttle >= 60)
        return 14.0 + highSpeed;
    if (throttle >= 30)
        return 14.7 + highSpeed;
    return rpm < 1000 ? 14.7 : 15.2;
}

TuningSetup SetupFor(const TuningCase& c, bool tune, int cycles) {
    TuningSetup setup;
    setup.options = {.AutocorrEnabled = tune,
                     .SmoothingEnabled = tune && c.smoothing,
                     .OutputInverted = c.inverted,
                     .SensorType = c.sensorType};
    setup.grid.SetCalibration(18, 245); // what the throttle calibration finds on this engine
    for (int row = 0; row < 10; ++row)
        setup.grid.SetCell(TargetGridModel::kHeaderColumn, row, std::to_string(kThrottleHeaders[row]));
    for (int column = 1; column <= 10; ++column)
        setup.grid.SetCell(column, TargetGridModel::kHeaderRow, std::to_string(kSpeedHeaders[column - 1]));
    if (c.targets == Targets::Grid)
        setup.targetAfr = GridAfr;
    else
        setup.targetAfr = [](const TargetGridModel::Choice&) { return EngineModel::kStoichiometricAfr; };
    for (int row = 0; row < 10; ++row) {
        for (int column = 1; column <= 10; ++column) {
            const double afr = setup.targetAfr({column, row, 0});
            setup.grid.SetCell(column, row, std::to_string(EngineModel::O2Reading(afr, c.sensorType)));
        }
    }
    setup.cycles = cycles;
    return setup;
}

int LearnedIn(const MafValues& learned, int range) {
    int count = 0;
    for (int maf = range * kTuningRangeWidth; maf < (range + 1) * kTuningRangeWidth; ++maf)
        count += learned[static_cast<std::size_t>(maf)] != 0 ? 1 : 0;
    return count;
}

class Tuning : public testing::TestWithParam<TuningCase> {};

// Every range the drive visits at part load is learned and its mean mixture comes within the band
// of its targets. The mean |error| of each reaches the band too, or, where the exhaust's delay and
// the straight lines between learned points leave it outside, at least shrinks kShrink-fold; all but
// one range reach the band.
TEST_P(Tuning, LearnsTheVisitedMafRangesAndBringsTheMixtureTowardsItsTargets) {
    const TuningCase& c = GetParam();
    const TuningResult before = DriveWithAutotune(SetupFor(c, false, 1));
    const TuningResult after = DriveWithAutotune(SetupFor(c, true, kTunedCycles));

    std::printf("%s: MAF range, learned, |AFR error| before -> after, mean AFR after (target)\n", c.name);
    int visited = 0;
    int inBand = 0;
    for (int r = 0; r < kTuningRanges; ++r) {
        const RangeFigures& b = before.ranges[static_cast<std::size_t>(r)];
        const RangeFigures& a = after.ranges[static_cast<std::size_t>(r)];
        const int learned = LearnedIn(after.learned, r);
        if (b.samples < kVisitedSamples) {
            if (learned > 0)
                std::printf("  %3d..%3d  %2d  (not at steady part load)\n", r * kTuningRangeWidth,
                            (r + 1) * kTuningRangeWidth - 1, learned);
            continue;
        }
        std::printf("  %3d..%3d  %2d  %.2f -> %.2f  %.2f (%.2f)\n", r * kTuningRangeWidth,
                    (r + 1) * kTuningRangeWidth - 1, learned, b.meanError, a.meanError, a.meanAfr,
                    a.meanTargetAfr);
        ++visited;
        EXPECT_GT(learned, 0) << r;
        EXPECT_GE(a.samples, kVisitedSamples) << r;
        EXPECT_NEAR(a.meanAfr, a.meanTargetAfr, kBand) << r;
        EXPECT_LT(a.meanError, b.meanError) << r;
        if (a.meanError < kBand)
            ++inBand;
        else
            EXPECT_LE(a.meanError, b.meanError / kShrink) << r;
    }
    std::printf("  corrections applied %d, MAF smoothing box %d (byte %d)\n", after.applied,
                after.smoothingBox, after.smoothing);
    EXPECT_GE(visited, 5);
    EXPECT_GE(inBand, visited - 1);

    // The learned points follow the meter's direction.
    int previous = -1;
    for (int maf = 0; maf < MafCount; ++maf) {
        const int value = after.learned[static_cast<std::size_t>(maf)];
        if (value == 0)
            continue;
        if (previous >= 0) {
            if (c.inverted)
                EXPECT_LT(value, previous) << maf;
            else
                EXPECT_GT(value, previous) << maf;
        }
        previous = value;
    }

    const int startBox = before.smoothingBox;
    if (c.smoothing) {
        // The pulls pulsated, so the smoothing stepped down; it stopped once the pulsations it
        // passes fell under what the analysis counts, well before the countdown's end.
        EXPECT_LT(after.smoothingBox, kSmoothingCountdownStart - 1);
        EXPECT_GT(after.smoothingBox, 1);
    } else {
        EXPECT_EQ(after.smoothingBox, startBox);
    }
}

INSTANTIATE_TEST_SUITE_P(SensorsTargetsAndDirections, Tuning, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<TuningCase>& info) { return info.param.name; });

} // namespace
