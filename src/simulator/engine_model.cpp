#include "engine_model.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr double kIdleThrottle = 18;
constexpr double kIdleRpm = 850;
constexpr double kFullThrottle = 245;
constexpr double kRedLine = 6500;
// Above this throttle the ECU leaves closed loop and aims richer for power.
constexpr double kPowerThrottle = 230;
constexpr double kPowerAfr = 12.8;
// With the throttle closed above this speed the ECU cuts the fuel; the wide-band sensors read their
// lean limit then.
constexpr double kFuelCutRpm = 1300;
constexpr double kClosedThrottle = 25;
constexpr double kLeanLimitAfr = 22.4;
constexpr double kO2NoiseAfr = 0.08;
constexpr double kMafNoise = 0.7;
constexpr int kFullPulsationSmoothing = 20;

enum class Phase { Idle, Cruise, Pull, Braking };

struct Segment {
    int untilMs; // within the cycle
    Phase phase;
    double throttle;
    double rpm;
};

// Loads chosen so that cruising visits the meter's range from about 55 to 175 counts.
constexpr Segment kDrive[] = {
    {4000, Phase::Idle, kIdleThrottle, kIdleRpm},
    {11000, Phase::Cruise, 60, 2400},
    {14500, Phase::Pull, kFullThrottle, kRedLine},
    {19000, Phase::Braking, kIdleThrottle, kIdleRpm},
    {24000, Phase::Idle, kIdleThrottle, kIdleRpm},
    {40000, Phase::Cruise, 40, 1800},
    {56000, Phase::Cruise, 90, 3000},
    {72000, Phase::Cruise, 130, 3500},
    {76000, Phase::Braking, kIdleThrottle, kIdleRpm},
    {92000, Phase::Cruise, 170, 4000},
    {96000, Phase::Pull, kFullThrottle, kRedLine},
    {101000, Phase::Braking, kIdleThrottle, kIdleRpm},
    {114000, Phase::Cruise, 110, 3200},
    {EngineModel::kCycleMs, Phase::Idle, kIdleThrottle, kIdleRpm},
};

const Segment& SegmentAt(int cycleMs) {
    return *std::find_if(std::begin(kDrive), std::end(kDrive),
                         [cycleMs](const Segment& s) { return cycleMs < s.untilMs; });
}

int Clamp255(double value) {
    return static_cast<int>(std::clamp(std::lround(value), 0L, 255L));
}

// What the ECU's aim gives when it meters fuel for this signal while the air gives airSignal.
double Mixture(double aimAfr, double airSignal, int signal) {
    if (signal <= 0)
        return kLeanLimitAfr; // no fuel at all
    return std::min(kLeanLimitAfr, aimAfr * EngineModel::NeededOutput(airSignal) / signal);
}

double Bump(double x, double centre, double width) {
    const double d = (x - centre) / width;
    return std::exp(-d * d);
}

} // namespace

EngineModel::EngineModel(int o2SensorType) : o2SensorType(o2SensorType) {}

double EngineModel::noise(double amplitude) {
    // Mapped by hand, not by a distribution, so every library gives the same sequence.
    return (static_cast<double>(random()) / std::mt19937::max() * 2 - 1) * amplitude;
}

void EngineModel::Step() {
    elapsedMs = (elapsedMs + kStepMs) % kCycleMs;
    ++steps;
    const Segment& segment = SegmentAt(elapsedMs);
    // The pedal moves within about 100 ms; the engine speed follows the load more slowly.
    throttle += (segment.throttle - throttle) * 0.1;
    switch (segment.phase) {
    case Phase::Pull:
        rpm = std::min(kRedLine, rpm + 15); // 1500 rpm per second under full load
        break;
    case Phase::Braking:
        rpm += (segment.rpm - rpm) * 0.004; // the car drags the engine down slowly
        break;
    case Phase::Idle:
    case Phase::Cruise:
        rpm += (segment.rpm - rpm) * 0.02;
        break;
    }

    // A hot-wire meter's signal rises steeply at low flow and flattens out at high flow.
    airSignal = 15 + 235 * std::sqrt(airFlow());
    double signal = airSignal + noise(kMafNoise);
    if (steps % kPulsationPeriod < kPulsationBurst)
        signal += Pulsation();
    maf = static_cast<std::uint8_t>(Clamp255(signal));
}

double EngineModel::airFlow() const {
    const double load = 0.2 + 0.8 * throttle / 255.0;
    return rpm / kRedLine * load; // 0..1 of the meter's range
}

double EngineModel::Pulsation() const {
    const double opening = throttle / 255.0;
    const double passed =
        std::clamp(mafSmoothing, 0, kFullPulsationSmoothing) / static_cast<double>(kFullPulsationSmoothing);
    return kFullPulsation * airFlow() * opening * opening * passed;
}

bool EngineModel::fuelCut() const {
    return throttle < kClosedThrottle && rpm > kFuelCutRpm;
}

bool EngineModel::PartLoad() const {
    return !fuelCut() && throttle <= kPowerThrottle;
}

std::uint8_t EngineModel::Burn(int output) {
    // The meter's noise and pulsations reach the ECU through the converter; the air does not have them.
    const int signal = fallingMeter ? 255 - output : output;
    if (fuelCut())
        afr = kLeanLimitAfr;
    else
        afr = Mixture(throttle > kPowerThrottle ? kPowerAfr : kStoichiometricAfr, airSignal, signal);
    const double sensed = exhaust.Pass(afr, airSignal);
    return static_cast<std::uint8_t>(O2Reading(sensed + noise(kO2NoiseAfr), o2SensorType));
}

std::uint8_t EngineModel::Throttle() const {
    return static_cast<std::uint8_t>(Clamp255(throttle));
}

std::uint16_t EngineModel::Period() const {
    return static_cast<std::uint16_t>(std::lround(1500000.0 / rpm));
}

double EngineModel::NeededOutput(double maf) {
    // Lean around idle, rich in the middle of the range, lean again towards full load.
    return maf * (1 + 0.10 * Bump(maf, 65, 25) - 0.09 * Bump(maf, 135, 25) + 0.07 * Bump(maf, 185, 20));
}

int EngineModel::O2Reading(double afr, int sensorType) {
    switch (sensorType) {
    case 0:
        // A narrow-band sensor: about 0.9 V rich, 0.05 V lean, switching at stoichiometry; ADC counts
        // of 5 V / 256.
        return Clamp255((0.475 + 0.425 * std::tanh((kStoichiometricAfr - afr) * 4)) * 256 / 5);
    case 2:
        // A wide-band controller's linear output, wired to rise with richness: 0 V at 20, 5 V at 10.
        return Clamp255((20 - afr) / 2 * 256 / 5);
    default:
        return Clamp255(afr * 10); // tenths of a ratio
    }
}
