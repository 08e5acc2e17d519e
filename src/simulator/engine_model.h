#pragma once
// The engine behind the simulated converter, seen through the converter's inputs. It drives a fixed
// cycle (idle, cruise, a wide-open pull, back to idle) in 10 ms steps, so runs are repeatable.

#include <cstdint>

class EngineModel {
public:
    static constexpr int kStepMs = 10;
    static constexpr int kCycleMs = 20000;

    // Advances the engine by one step.
    void Step();

    // Throttle position, raw 0..255.
    std::uint8_t Throttle() const;
    // Engine period as the converter measures it: 1500000 / rpm.
    std::uint16_t Period() const;
    // Signal of the air-flow meter, 0..255.
    std::uint8_t Maf() const;
    // The converter output at which the ECU meters the fuel this air flow needs. The engine has been
    // modified, so it needs more than the stock meter says at low flow and less at high flow.
    double NeededOutput() const;
    // Wide-band O2 reading in tenths of an air-fuel ratio (147 = 14.7) when the converter sends
    // `output`: the ECU fuels for the air the output stands for, the engine burns the air it needs.
    std::uint8_t O2(int output) const;

private:
    int elapsedMs = 0;
    double throttle = 18;
    double rpm = 850;
};
