// The simulated engine's meter pulsations: largest at wide-open throttle and high flow, passed by the
// converter's MAF smoothing in proportion min(value, 20) / 20.

#include "engine_model.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct PulsationPeaks {
    double fullThrottle = 0; // throttle above the ECU's power threshold
    double partLoad = 0;
};

// The peaks over one cycle of the drive, where the throttle holds still (the pedal's moves pass
// through every opening at every speed).
PulsationPeaks CyclePeaks(int smoothing) {
    EngineModel engine;
    engine.SetMafSmoothing(smoothing);
    PulsationPeaks peaks;
    int throttle = engine.Throttle();
    for (int ms = 0; ms < EngineModel::kCycleMs; ms += EngineModel::kStepMs) {
        engine.Step();
        engine.Burn(engine.Maf());
        if (engine.Throttle() == throttle) {
            double& peak = engine.PartLoad() ? peaks.partLoad : peaks.fullThrottle;
            peak = std::max(peak, engine.Pulsation());
        }
        throttle = engine.Throttle();
    }
    return peaks;
}

TEST(EnginePulsation, IsLargestAtWideOpenThrottleAndSmallAtPartLoad) {
    const PulsationPeaks peaks = CyclePeaks(20);
    // Nearly full flow, throttle wide open: nearly the whole of it.
    EXPECT_GT(peaks.fullThrottle, 0.85 * EngineModel::kFullPulsation);
    EXPECT_LE(peaks.fullThrottle, EngineModel::kFullPulsation);
    // The heaviest cruise stays under a quarter of it.
    EXPECT_GT(peaks.partLoad, 0);
    EXPECT_LT(peaks.partLoad, 0.25 * peaks.fullThrottle);
}

struct SmoothingCase {
    int smoothing;
    double passed; // of the pulsation at smoothing 20
};

class EngineSmoothing : public testing::TestWithParam<SmoothingCase> {};

TEST_P(EngineSmoothing, PassesItsShareOfThePulsations) {
    const PulsationPeaks full = CyclePeaks(20);
    const PulsationPeaks smoothed = CyclePeaks(GetParam().smoothing);
    EXPECT_NEAR(smoothed.fullThrottle, GetParam().passed * full.fullThrottle, 1e-9);
    EXPECT_NEAR(smoothed.partLoad, GetParam().passed * full.partLoad, 1e-9);
}

INSTANTIATE_TEST_SUITE_P(SmoothingValues, EngineSmoothing,
                         testing::Values(SmoothingCase{128, 1}, SmoothingCase{255, 1},
                                         SmoothingCase{19, 0.95}, SmoothingCase{10, 0.5},
                                         SmoothingCase{1, 0.05}, SmoothingCase{0, 0}));

} // namespace
