#pragma once
// The way from the cylinders to the O2 sensor. The gas of a step reaches the sensor only after a
// transport delay, which grows as the air flow falls (slow gas at idle, fast gas at full load), and
// the sensor then answers with a lag of its own.

#include <array>
#include <cstddef>

class ExhaustPath {
public:
    static constexpr int kStepMs = 10;
    // The time constant of the sensor with its controller.
    static constexpr int kSensorResponseMs = 100;
    static constexpr int kLongestDelayMs = 300;

    explicit ExhaustPath(double startAfr);

    // The transport delay at this MAF signal: 300 ms at idle and light cruise (MAF 100 and below),
    // 150 ms at MAF 175, 80 ms at full load (MAF 240 and above), straight lines between.
    static int DelayMs(double maf);

    // The mixture burnt in this step enters the exhaust while the air flows at this MAF signal;
    // returns the ratio the sensor reads now.
    double Pass(double burntAfr, double maf);

private:
    static constexpr std::size_t kHistory = kLongestDelayMs / kStepMs + 1;

    std::array<double, kHistory> burnt{};
    std::size_t newest = 0;
    double sensed;
};
