#pragma once
// The rules of live data on the main thread: engine speed, the dashboard record of the newest sample,
// the correction window, the throttle calibration, and the smoothing of a finished run.

#include "log_store.h"
#include "messages.h"

#include <cstddef>
#include <span>
#include <string>

// The dashboard tick looks at the correction window once the store holds this many samples.
inline constexpr std::size_t kAutocorrMinSamples = 121;
// The correction window spans the MAF of this many newest samples.
inline constexpr std::size_t kCorrectionWindowSamples = 21;

// Engine speed from the engine period: 1500000 / period rounded (halves to even); a period of 0 counts
// as 1500000, so the speed is 1.
int RpmFromPeriod(int period);

// "128N2.51V": the raw value, "N", the volts (raw × 5 / 255, 2 decimals), "V"; no blank, unlike the O2
// read-out.
std::string ThrottleText(int rawTps, char separator);

// The dashboard record of the newest sample; the O2 fields by the sensor type.
TMsgDashData MakeDashData(const LogSample& newest, int sensorType, char separator);

struct MafWindow {
    int start = 0; // smallest MAF
    int end = 0;   // largest MAF
    friend bool operator==(const MafWindow&, const MafWindow&) = default;
};

// The smallest and largest MAF of the newest kCorrectionWindowSamples samples given (of all of them
// when there are fewer; 0..0 for none).
MafWindow CorrectionWindow(std::span<const LogSample> newest);

struct ThrottleRange {
    int min = 0;
    int max = 255;
    friend bool operator==(const ThrottleRange&, const ThrottleRange&) = default;
};

// The throttle calibration of a run: the lowest and highest raw throttle of the whole store. A spread
// under 20 (the pedal was never pressed, or no sample arrived) gives the full span 0..255.
ThrottleRange CalibrateThrottle(const LogStore::View& view);

// target[k] for first <= k < last: the integer part of the mean of source[k-20] .. source[k+19]. Near
// either end of the store the window holds only the samples that exist.
void FillCenteredAverage(LogStore::View& view, LogSeries source, LogSeries target, std::size_t first,
                         std::size_t last);

// The after-run smoothing: O2SM[k] for 30 <= k < n-2 from the forty O2 samples around k. O2SM[0..29],
// O2SM[n-2] and O2SM[n-1] keep their values.
void SmoothO2(LogStore::View& view);
