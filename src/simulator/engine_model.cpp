#include "engine_model.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kIdleThrottle = 18;
constexpr double kIdleRpm = 850;
constexpr double kCruiseThrottle = 70;
constexpr double kCruiseRpm = 2600;
constexpr double kFullThrottle = 245;
constexpr double kRedLine = 6500;
// Above this throttle the ECU leaves closed loop and aims richer for power.
constexpr double kPowerThrottle = 200;
constexpr double kStoichiometricAfr = 14.7;
constexpr double kPowerAfr = 12.8;

enum class Phase { Idle, Cruise, Pull };

Phase PhaseAt(int cycleMs) {
    if (cycleMs < 4000)
        return Phase::Idle;
    if (cycleMs < 11000)
        return Phase::Cruise;
    if (cycleMs < 14000)
        return Phase::Pull;
    return Phase::Idle;
}

int Clamp255(double value) {
    return static_cast<int>(std::clamp(std::lround(value), 0L, 255L));
}

} // namespace

void EngineModel::Step() {
    elapsedMs = (elapsedMs + kStepMs) % kCycleMs;
    const Phase phase = PhaseAt(elapsedMs);
    const double throttleTarget = phase == Phase::Idle     ? kIdleThrottle
                                  : phase == Phase::Cruise ? kCruiseThrottle
                                                           : kFullThrottle;
    // The pedal moves within about 100 ms; the engine speed follows the load more slowly.
    throttle += (throttleTarget - throttle) * 0.1;
    if (phase == Phase::Pull)
        rpm = std::min(kRedLine, rpm + 15); // 1500 rpm per second under full load
    else
        rpm += ((phase == Phase::Idle ? kIdleRpm : kCruiseRpm) - rpm) * 0.02;
}

std::uint8_t EngineModel::Throttle() const {
    return static_cast<std::uint8_t>(Clamp255(throttle));
}

std::uint16_t EngineModel::Period() const {
    return static_cast<std::uint16_t>(std::lround(1500000.0 / rpm));
}

std::uint8_t EngineModel::Maf() const {
    const double load = 0.2 + 0.8 * throttle / 255.0;
    const double flow = rpm / kRedLine * load; // 0..1 of the meter's range
    // A hot-wire meter's signal rises steeply at low flow and flattens out at high flow.
    return static_cast<std::uint8_t>(Clamp255(15 + 235 * std::sqrt(flow)));
}

double EngineModel::NeededOutput() const {
    const double maf = Maf();
    return maf * (1.10 - 0.20 * maf / 255.0);
}

std::uint8_t EngineModel::O2(int output) const {
    const double targetAfr = throttle > kPowerThrottle ? kPowerAfr : kStoichiometricAfr;
    if (output <= 0)
        return 255; // no fuel at all: as lean as the sensor reads
    return static_cast<std::uint8_t>(Clamp255(10 * targetAfr * NeededOutput() / output));
}
