#include "log_view.h"

#include "live_processing.h"
#include "numbers.h"

#include <algorithm>

namespace {

constexpr long kSamplesPerHour = 360000;
constexpr long kSamplesPerMinute = 6000;
constexpr long kSamplesPerSecond = 100;

} // namespace

ViewSpan ViewSpanFor(long count) {
    ViewSpan view;
    view.step = std::max(count / kViewPoints, 1L);
    if (view.step <= 1) {
        view.text = "0.01s";
        return view;
    }
    // Whole seconds are not taken modulo a minute: a long log's step of 8372 reads 83.72s.
    const long seconds = view.step / kSamplesPerSecond;
    const long hundredths = view.step % kSamplesPerSecond;
    view.text = std::to_string(seconds) + (hundredths < 10 ? ".0" : ".") + std::to_string(hundredths) + "s";
    return view;
}

std::vector<std::size_t> DrawnIndexes(long first, long last, long step, std::size_t n) {
    std::vector<std::size_t> indexes;
    if (n < kMinChartSamples || step < 1)
        return indexes;
    const long from = std::max(first - step, 0L);
    const long to = std::min(last + step, static_cast<long>(n) - 1);
    if (from > to)
        return indexes;
    indexes.reserve(static_cast<std::size_t>((to - from) / step + 1));
    for (long index = from; index <= to; index += step)
        indexes.push_back(static_cast<std::size_t>(index));
    return indexes;
}

std::string SampleTimeText(long index) {
    index = std::max(index, 0L);
    const long hours = index / kSamplesPerHour;
    const long minutes = index % kSamplesPerHour / kSamplesPerMinute;
    const long seconds = index % kSamplesPerMinute / kSamplesPerSecond;
    const long milliseconds = index % kSamplesPerSecond * kSampleMs;
    return std::to_string(hours) + ":" + std::to_string(minutes) + ":" + std::to_string(seconds) + ":" +
           std::to_string(milliseconds);
}

long IndexAtSeconds(double seconds) {
    if (!(seconds > 0))
        return 0;
    // Whole milliseconds first, as the axis' time reads them, then 10 ms per sample.
    return static_cast<long>(seconds * 1000.0 + 1e-6) / kSampleMs;
}

int DrawnValue(ChartSeries series, const LogSample& sample, const std::function<int(int maf, int tps)>& tab) {
    switch (series) {
    case ChartSeries::Maf:
        return sample[LogSeries::MAF];
    case ChartSeries::Tps:
        return sample[LogSeries::TPS];
    case ChartSeries::Converter:
        return sample[LogSeries::Converter];
    case ChartSeries::Tab:
        return tab(sample[LogSeries::MAF], sample[LogSeries::TPS]);
    case ChartSeries::Marker:
        return sample[LogSeries::Marker];
    case ChartSeries::Enrichment:
        return roundHalfEven((sample[LogSeries::Enrichment] - 128) * 0.78125L);
    case ChartSeries::Rpm:
        return sample[LogSeries::RPM] == 0 ? 0 : RpmFromPeriod(sample[LogSeries::RPM]) / 100;
    case ChartSeries::O2:
        return sample[LogSeries::O2];
    case ChartSeries::Corr:
        return sample[LogSeries::Corr];
    case ChartSeries::Iat:
        return sample[LogSeries::IAT];
    case ChartSeries::Ect:
        return sample[LogSeries::ECT];
    case ChartSeries::O2Sm:
        return sample[LogSeries::O2SM];
    case ChartSeries::LogCorr:
        return sample[LogSeries::LogCorr];
    }
    return 0;
}

std::optional<std::size_t> NearestDrawnPoint(const std::vector<double>& times, double time) {
    if (times.empty())
        return std::nullopt;
    for (std::size_t p = 0; p + 1 < times.size(); ++p) {
        const double midpoint = (times[p] + times[p + 1]) / 2;
        if (time < midpoint)
            return p;
    }
    return times.size() - 1;
}
