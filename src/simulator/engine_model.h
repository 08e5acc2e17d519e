#pragma once
// The engine behind the simulated converter, seen through the converter's inputs. It drives a fixed
// two-minute cycle in 10 ms steps (idle, cruise at several loads, wide-open pulls, engine braking),
// so runs are repeatable; its small noises come from a fixed seed.
//
// The engine has been modified: the air it burns differs from what the stock meter says, more in
// some MAF ranges (lean with a 1:1 table) and less in others (rich), so a table can be tuned on it.
// The ECU fuels for the signal the converter hands it; the O2 sensor sees the result only after the
// exhaust's transport delay and its own response (ExhaustPath).

#include "exhaust_path.h"

#include <cstdint>
#include <random>

class EngineModel {
public:
    static constexpr int kStepMs = ExhaustPath::kStepMs;
    static constexpr int kCycleMs = 120000;
    static constexpr double kStoichiometricAfr = 14.7;
    // The meter's pulsations at full air flow with the throttle wide open, in MAF counts, before the
    // converter's smoothing. They come as a burst for 5 of every 20 steps and shrink with the air flow
    // and the square of the throttle opening (the throttle plate damps them at part load).
    static constexpr double kFullPulsation = 16;
    static constexpr int kPulsationPeriod = 20;
    static constexpr int kPulsationBurst = 5;

    // O2 sensor types as the configurator numbers them: 0 "0-1V Signal", 1 "Innovate MTX-L",
    // 2 "0-5V Signal", 3 "AEM 30-41,42XX".
    explicit EngineModel(int o2SensorType = 1);

    void SetO2SensorType(int type) { o2SensorType = type; }
    int O2SensorType() const { return o2SensorType; }
    // The converter's MAF smoothing parameter: the converter passes min(value, 20) / 20 of the
    // meter's pulsations, so a lower value smooths more.
    void SetMafSmoothing(int value) { mafSmoothing = value; }
    // A stock meter whose signal falls as the air flow rises. The converter reads it mirrored, so its
    // MAF index rises with the air either way, and the ECU reads the converter's output as falling.
    void SetFallingMeter(bool on) { fallingMeter = on; }

    // Advances the drive by one step and samples the air-flow meter.
    void Step();
    // The ECU fuels this step for the converter's output: returns the O2 reading that follows.
    std::uint8_t Burn(int output);

    // Throttle position, raw 0..255.
    std::uint8_t Throttle() const;
    // Engine period as the converter measures it: 1500000 / rpm.
    std::uint16_t Period() const;
    // Signal of the air-flow meter after the converter's smoothing, 0..255.
    std::uint8_t Maf() const { return maf; }
    // The mixture burnt in this step.
    double Afr() const { return afr; }
    // The ECU holds its part-load aim in this step: no fuel cut, no power enrichment.
    bool PartLoad() const;
    // The pulsation the meter adds on a burst step now, in MAF counts, after the converter's smoothing.
    double Pulsation() const;

    // The converter output (rising with the air) at which the ECU meters the fuel the engine needs at
    // this MAF signal.
    static double NeededOutput(double maf);
    // The O2 value a sensor of the type reads for a mixture.
    static int O2Reading(double afr, int sensorType);

private:
    double noise(double amplitude);
    double airFlow() const;
    bool fuelCut() const;

    int o2SensorType;
    int mafSmoothing = 255;
    bool fallingMeter = false;
    int elapsedMs = 0;
    int steps = 0;
    double throttle = 18;
    double rpm = 850;
    // The signal the air itself gives; the meter's reading adds its noise and pulsations.
    double airSignal = 0;
    std::uint8_t maf = 0;
    double afr = kStoichiometricAfr;
    ExhaustPath exhaust{kStoichiometricAfr};
    std::mt19937 random{20240611};
};
