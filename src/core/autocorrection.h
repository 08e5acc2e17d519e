#pragma once
// The autotune decisions of the live tick: which way the pending correction moves for the newest
// correction window, when it is committed or thrown away, and, at the end of a wide-open-throttle
// pull, whether the converter's MAF smoothing steps down. Pure logic over the log store; the caller
// broadcasts the records and the main window carries them out.

#include "live_processing.h"
#include "log_store.h"
#include "messages.h"
#include "table_image.h"
#include "target_grid_model.h"

#include <cstddef>
#include <optional>

// State colours of the autocorrection record, 0x00BBGGRR.
inline constexpr int kAutocorrNeutral = 0x6CF0ED;
inline constexpr int kAutocorrFullThrottle = 0xFF00FF;
inline constexpr int kAutocorrForcedIdle = 0xF0CAA6;
inline constexpr int kAutocorrDone = 0x808080;
inline constexpr int kAutocorrTooWide = 0x0000FF;
inline constexpr int kAutocorrFirstPhase = 0x008000;
inline constexpr int kAutocorrSecondPhase = 0x00FF00;

// PreviousO2 when no correction step has been taken in this window.
inline constexpr int kNoPreviousO2 = 1024;
// The value SmoothingCountdown starts each live run with.
inline constexpr int kSmoothingCountdownStart = 21;

// The autotune options as the window sets them.
struct AutocorrOptions {
    int IdleRpm = 1200;
    int IdleTps = 2;      // %
    int FastInterval = 2; // ticks between steps before the first crossing
    int FineInterval = 4; // ticks between steps after it
    bool AutocorrEnabled = false;
    bool SmoothingEnabled = false;
    bool OutputInverted = false;
    int MaxWindowSpan = 10;
    int SensorType = 0;
};

// Kept for the whole run of the program: a new live run does not reset it.
struct AutocorrState {
    int StepTicks = 0;
    int StepInterval = 2;
    int CrossingCount = 0;
    int PreviousO2 = kNoPreviousO2;
};

// Kept per live run: the start of a run sets both back to these values.
struct LiveCounters {
    int PreviousTpsPercent = 0;
    int SmoothingCountdown = kSmoothingCountdownStart;
};

struct AutocorrDecision {
    // Broadcast first when present: the end of a pull was analysed and found pulsating.
    std::optional<TMsgSmoothingStep> smoothing;
    // Always broadcast, once per tick.
    TMsgAutocorrStep step;
    // The target grid cell consulted, for the grid to select; none when no step was due.
    std::optional<TargetGridModel::Choice> target;
};

// The decision for the newest sample i (the store holds at least kAutocorrMinSamples samples) and the
// correction window of the newest samples. May write LogCorr and Marker over a pull that just ended.
AutocorrDecision AutocorrStep(LogStore::View& view, std::size_t i, MafWindow window,
                              const AutocorrOptions& options, AutocorrState& state, LiveCounters& counters,
                              const MafValues& learned, TargetGridModel& grid);

// The MAF pulsation analysis of the full-throttle pull that ends before sample i: fills LogCorr over
// the pull with the moving average of the MAF, and when it finds at least five pulsation episodes
// marks their starts in Marker and counts SmoothingCountdown down. Nothing when the pull is shorter
// than 60 samples or pulsates less.
std::optional<TMsgSmoothingStep> AnalyseWotPull(LogStore::View& view, std::size_t i, TargetGridModel& grid,
                                                int& smoothingCountdown);
