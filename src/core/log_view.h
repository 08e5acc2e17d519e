#pragma once
// The rules of the log chart without the chart: which samples a view draws and with what step, the
// step's text, the time of a sample and its label, the value each of the thirteen chart series draws
// for a sample, and which drawn point a time falls on.

#include "log_sample.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The chart's series, in the order of the chart, its buttons and its legend.
enum class ChartSeries {
    Maf,
    Tps,
    Converter,
    Tab,
    Marker,
    Enrichment,
    Rpm,
    O2,
    Corr,
    Iat,
    Ect,
    O2Sm,
    LogCorr
};
inline constexpr int kChartSeriesCount = 13;

// A store shorter than this draws nothing.
inline constexpr std::size_t kMinChartSamples = 118;
// About this many samples per series in a view, whatever its length (up to twice as many).
inline constexpr long kViewPoints = 430;
// 10 ms of live data per sample.
inline constexpr long kSampleMs = 10;

struct ViewSpan {
    long step = 1;
    // "0.01s" for a step of 1; seconds with two decimals otherwise ("83.72s" for 8372).
    std::string text;
};

// The step for a view of count samples.
ViewSpan ViewSpanFor(long count);

// The samples a fill draws for the view first..last: widened by one step on each side, within the
// store of n samples; every step-th index from the first. Empty when n is below kMinChartSamples.
std::vector<std::size_t> DrawnIndexes(long first, long last, long step, std::size_t n);

// The time label of a sample, "h:m:s:z" without leading zeros: index 6001 is "0:1:0:10". Computed
// from the index alone, so no time zone or calendar can shift it.
std::string SampleTimeText(long index);

// The sample at a time in seconds on the chart's time axis (negative times count as 0).
long IndexAtSeconds(double seconds);

// The value series draws for a sample; tab gives the working table's output for a MAF at a raw
// throttle value.
int DrawnValue(ChartSeries series, const LogSample& sample, const std::function<int(int maf, int tps)>& tab);

// The drawn point a time falls on: the point before the midpoint to the next point, the next one
// from the midpoint on; before the first point the first, beyond the last point the last. times
// holds the drawn points' times in order; none for no points.
std::optional<std::size_t> NearestDrawnPoint(const std::vector<double>& times, double time);
