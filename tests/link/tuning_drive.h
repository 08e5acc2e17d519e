#pragma once
// The autotune driven on the simulated engine in simulated time: the core's autocorrection and table
// model are fed by the converter model packet by packet, with a tick every tenth packet, and the main
// window's part (track bars, pending correction, apply, smoothing) is carried out as the window does,
// over the converter's own commands. No port and no clock.

#include "autocorrection.h"
#include "table_image.h"
#include "target_grid_model.h"

#include <array>
#include <functional>

inline constexpr int kTuningRangeWidth = 32;
inline constexpr int kTuningRanges = MafCount / kTuningRangeWidth;

struct TuningSetup {
    AutocorrOptions options; // the sensor type and the output direction included
    TargetGridModel grid;    // calibrated and filled
    // The mixture the grid cell aims at, as an air-fuel ratio.
    std::function<double(const TargetGridModel::Choice&)> targetAfr;
    int cycles = 1; // of the engine's drive
};

// Steady part-load samples of one MAF range in the last cycle of a drive.
struct RangeFigures {
    int samples = 0;
    double meanError = 0; // mean |AFR - target AFR| of the mixture burnt
    double meanAfr = 0;
    double meanTargetAfr = 0;
};

struct TuningResult {
    std::array<RangeFigures, kTuningRanges> ranges;
    MafValues learned{};
    int applied = 0;      // corrections committed into the table
    int smoothingBox = 0; // the MAF smoothing box at the end, in percent
    int smoothing = 0;    // the MAF smoothing byte the converter works with then
};

TuningResult DriveWithAutotune(TuningSetup setup);
