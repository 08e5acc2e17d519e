// The exhaust between the cylinders and the O2 sensor: a transport delay that shortens as the air
// flow rises, then the sensor's own first-order response.

#include "exhaust_path.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct DelayCase {
    double maf;
    int delayMs;
};

class ExhaustDelay : public testing::TestWithParam<DelayCase> {};

TEST_P(ExhaustDelay, FallsFromIdleToFullLoadAlongItsKnots) {
    EXPECT_EQ(ExhaustPath::DelayMs(GetParam().maf), GetParam().delayMs);
}

INSTANTIATE_TEST_SUITE_P(AirFlows, ExhaustDelay,
                         testing::Values(DelayCase{15, 300}, DelayCase{58, 300}, DelayCase{100, 300},
                                         DelayCase{137.5, 225}, DelayCase{175, 150}, DelayCase{207.5, 115},
                                         DelayCase{240, 80}, DelayCase{255, 80}));

class ExhaustStep : public testing::TestWithParam<double> {};

// The mixture steps from 14.7 to 12 at one step: the sensor reads the old gas until the delay has
// passed, and covers 1 - 1/e of the step one response time after the new gas arrived.
TEST_P(ExhaustStep, TheSensorSeesAMixtureStepOnlyAfterTheDelayAndThenWithItsLag) {
    const double maf = GetParam();
    const int delaySteps = ExhaustPath::DelayMs(maf) / ExhaustPath::kStepMs;
    const int responseSteps = ExhaustPath::kSensorResponseMs / ExhaustPath::kStepMs;
    ExhaustPath exhaust(14.7);
    for (int step = 0; step < delaySteps; ++step)
        EXPECT_DOUBLE_EQ(exhaust.Pass(12.0, maf), 14.7) << step;
    double reading = 0;
    for (int step = 0; step < responseSteps; ++step)
        reading = exhaust.Pass(12.0, maf);
    EXPECT_NEAR(reading, 12.0 + 2.7 * std::exp(-1.0), 1e-9);
    for (int step = 0; step < 10 * responseSteps; ++step)
        reading = exhaust.Pass(12.0, maf);
    EXPECT_NEAR(reading, 12.0, 0.001);
}

INSTANTIATE_TEST_SUITE_P(IdleCruiseAndFullLoad, ExhaustStep, testing::Values(58.0, 150.0, 246.0));

} // namespace
