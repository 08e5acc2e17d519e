#pragma once
// One sample of the live log: a value of each of the twelve series, taken from one live packet (or one
// record of a log file). The series are numbered as the log chart and the log file number them.

#include <array>
#include <cstddef>

enum class LogSeries { Converter, Marker, Enrichment, MAF, TPS, RPM, O2, Corr, IAT, ECT, O2SM, LogCorr };

inline constexpr int kLogSeriesCount = 12;

struct LogSample {
    std::array<int, kLogSeriesCount> values{};

    int& operator[](LogSeries series) { return values[static_cast<std::size_t>(series)]; }
    int operator[](LogSeries series) const { return values[static_cast<std::size_t>(series)]; }
    friend bool operator==(const LogSample&, const LogSample&) = default;
};
