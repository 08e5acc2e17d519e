#include "live_processing.h"

#include "numbers.h"
#include "oxygen_sensor.h"
#include "rounded_text.h"

#include <algorithm>

namespace {

constexpr int kPeriodScale = 1500000;
constexpr std::size_t kAverageBefore = 20; // samples before k in the centred average
constexpr std::size_t kAverageAfter = 19;  // samples after k
constexpr std::size_t kFirstSmoothedO2 = 30;
constexpr std::size_t kUnsmoothedO2AtEnd = 2;
constexpr int kMinThrottleSpread = 20;

} // namespace

int RpmFromPeriod(int period) {
    return roundHalfEven(static_cast<long double>(kPeriodScale) / (period == 0 ? kPeriodScale : period));
}

std::string ThrottleText(int rawTps, char separator) {
    return std::to_string(rawTps) + "N" + roundedDecimalText(rawTps * 5.0L / 255, 2, separator) + "V";
}

TMsgDashData MakeDashData(const LogSample& newest, int sensorType, char separator) {
    TMsgDashData data;
    data.ConverterOut = newest[LogSeries::Converter];
    data.MafIn = newest[LogSeries::MAF];
    data.TpsRaw = newest[LogSeries::TPS];
    data.MarkerValue = newest[LogSeries::Marker];
    data.TpsText = ThrottleText(newest[LogSeries::TPS], separator);
    data.Rpm = RpmFromPeriod(newest[LogSeries::RPM]);
    data.O2Raw = newest[LogSeries::O2];
    O2Reading o2 = ConvertO2(newest[LogSeries::O2], sensorType, separator);
    data.O2Text = std::move(o2.text);
    data.O2Colour = o2.colour;
    data.O2Level = o2.level;
    return data;
}

MafWindow CorrectionWindow(std::span<const LogSample> newest) {
    if (newest.empty())
        return {};
    const auto window = newest.last(std::min(newest.size(), kCorrectionWindowSamples));
    const auto [lowest, highest] =
        std::minmax_element(window.begin(), window.end(), [](const LogSample& a, const LogSample& b) {
            return a[LogSeries::MAF] < b[LogSeries::MAF];
        });
    return {(*lowest)[LogSeries::MAF], (*highest)[LogSeries::MAF]};
}

void FillCenteredAverage(LogStore::View& view, LogSeries source, LogSeries target, std::size_t first,
                         std::size_t last) {
    const std::size_t size = view.Size();
    last = std::min(last, size);
    // A running sum over the window [low, high): both ends only move forward.
    long long sum = 0;
    std::size_t low = first > kAverageBefore ? first - kAverageBefore : 0;
    std::size_t high = low;
    for (std::size_t k = first; k < last; ++k) {
        const std::size_t newLow = k > kAverageBefore ? k - kAverageBefore : 0;
        const std::size_t newHigh = std::min(k + kAverageAfter + 1, size);
        for (; high < newHigh; ++high)
            sum += view[high][source];
        for (; low < newLow; ++low)
            sum -= view[low][source];
        view[k][target] = static_cast<int>(sum / static_cast<long long>(high - low));
    }
}

void SmoothO2(LogStore::View& view) {
    const std::size_t size = view.Size();
    if (size > kUnsmoothedO2AtEnd)
        FillCenteredAverage(view, LogSeries::O2, LogSeries::O2SM, kFirstSmoothedO2,
                            size - kUnsmoothedO2AtEnd);
}

ThrottleRange CalibrateThrottle(const LogStore::View& view) {
    ThrottleRange range{255, 0};
    for (std::size_t i = 0; i < view.Size(); ++i) {
        range.min = std::min(range.min, view[i][LogSeries::TPS]);
        range.max = std::max(range.max, view[i][LogSeries::TPS]);
    }
    if (range.max - range.min < kMinThrottleSpread)
        return ThrottleRange{};
    return range;
}
