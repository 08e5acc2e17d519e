#include "live_packet.h"
#include "live_processing.h"
#include "oxygen_sensor.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

struct RpmCase {
    int period;
    int rpm;
};

class RpmFromPeriodCases : public ::testing::TestWithParam<RpmCase> {};

struct ThrottleTextCase {
    int raw;
    char separator;
    std::string text;
};

class ThrottleTexts : public ::testing::TestWithParam<ThrottleTextCase> {};

LogSample withMaf(int maf) {
    LogSample sample;
    sample[LogSeries::MAF] = maf;
    return sample;
}

// A store whose O2 series is given; every other value 0.
void fillO2(LogStore& store, const std::vector<int>& o2) {
    for (const int value : o2) {
        LogSample sample;
        sample[LogSeries::O2] = value;
        store.Append(sample);
    }
}

std::vector<int> smoothedO2(LogStore& store) {
    std::vector<int> smoothed;
    auto view = store.Lock();
    for (std::size_t i = 0; i < view.Size(); ++i)
        smoothed.push_back(view[i][LogSeries::O2SM]);
    return smoothed;
}

// The mean over the samples of o2[first, last) that exist, truncated.
int meanOf(const std::vector<int>& o2, int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, static_cast<int>(o2.size()));
    return std::accumulate(o2.begin() + first, o2.begin() + last, 0) / (last - first);
}

} // namespace

TEST_P(RpmFromPeriodCases, EngineSpeed) {
    EXPECT_EQ(RpmFromPeriod(GetParam().period), GetParam().rpm);
}

INSTANTIATE_TEST_SUITE_P(Periods, RpmFromPeriodCases,
                         ::testing::Values(RpmCase{0, 1}, RpmCase{1, 1500000}, RpmCase{500, 3000},
                                           RpmCase{1000, 1500}, RpmCase{3000, 500}, RpmCase{65535, 23},
                                           // 1500000 / 7 = 214285.71; halves go to even
                                           RpmCase{7, 214286}, RpmCase{2400000 / 2, 1}, RpmCase{3000000, 0},
                                           RpmCase{1000000, 2}, RpmCase{600000, 2}, RpmCase{428572, 3}));

TEST_P(ThrottleTexts, RawThenVoltsWithoutBlank) {
    const ThrottleTextCase& c = GetParam();
    EXPECT_EQ(ThrottleText(c.raw, c.separator), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ThrottleTexts,
    ::testing::Values(ThrottleTextCase{128, '.', "128N2.51V"}, ThrottleTextCase{128, ',', "128N2,51V"},
                      ThrottleTextCase{255, '.', "255N5V"}, ThrottleTextCase{0, '.', "0N0V"},
                      ThrottleTextCase{50, '.', "50N0.98V"}, ThrottleTextCase{51, '.', "51N1V"},
                      ThrottleTextCase{1, '.', "1N0.02V"}));

TEST(MakeDashData, NewestSampleOfTheSimulatorsPacket) {
    LogSample sample = LivePacket{{0x40, 0x00, 0x90, 0x64, 0x32, 0x01, 0xF4, 0x7F}}.ToSample(true, 0);
    const TMsgDashData data = MakeDashData(sample, 0, '.');
    EXPECT_EQ(data.Msg, MSG_DASH_DATA);
    EXPECT_EQ(data.ConverterOut, 64);
    EXPECT_EQ(data.MafIn, 100);
    EXPECT_EQ(data.TpsRaw, 50);
    EXPECT_EQ(data.MarkerValue, 128);
    EXPECT_EQ(data.TpsText, "50N0.98V");
    EXPECT_EQ(data.Rpm, 3000);
    EXPECT_EQ(data.O2Raw, 127);
    EXPECT_EQ(data.O2Text, "127N 2.48V");
    EXPECT_EQ(data.O2Colour, kO2Red);
    EXPECT_EQ(data.O2Level, 255);
}

TEST(MakeDashData, AirFuelRatioAndNoConversion) {
    LogSample sample;
    sample[LogSeries::O2] = 147;
    sample[LogSeries::RPM] = 0;
    const TMsgDashData afr = MakeDashData(sample, 3, ',');
    EXPECT_EQ(afr.O2Text, "14,7AFR");
    EXPECT_EQ(afr.O2Level, 129);
    EXPECT_EQ(afr.O2Colour, kO2Green);
    EXPECT_EQ(afr.Rpm, 1);
    EXPECT_EQ(afr.TpsText, "0N0V");
    const TMsgDashData none = MakeDashData(sample, 4, '.');
    EXPECT_EQ(none.O2Text, "");
    EXPECT_EQ(none.O2Level, 0);
    EXPECT_EQ(none.O2Colour, kO2Neutral);
    EXPECT_EQ(none.O2Raw, 147);
}

TEST(CorrectionWindow, SpansTheMafOfTheNewest21Samples) {
    std::vector<LogSample> samples;
    // The oldest sample (MAF 5) lies outside the window, the newest 21 hold 40..60 in some order.
    samples.push_back(withMaf(5));
    for (int i = 0; i < 21; ++i)
        samples.push_back(withMaf(40 + (i * 8) % 21));
    EXPECT_EQ(CorrectionWindow(samples), (MafWindow{40, 60}));
    // A new sample pushes the oldest of the 21 (MAF 40) out.
    samples.push_back(withMaf(255));
    EXPECT_EQ(CorrectionWindow(samples), (MafWindow{41, 255}));
}

TEST(CorrectionWindow, NeverReadsPastTheSamplesGiven) {
    EXPECT_EQ(CorrectionWindow({}), (MafWindow{0, 0}));
    const std::vector<LogSample> few{withMaf(7), withMaf(3)};
    EXPECT_EQ(CorrectionWindow(few), (MafWindow{3, 7}));
}

// Stores of these sizes: too small to smooth, the smallest that smooths one index, and longer ones in
// which the last indexes' windows reach past the newest sample.
class SmoothO2Sizes : public ::testing::TestWithParam<int> {};

TEST_P(SmoothO2Sizes, FortySampleMeanFrom30ToNMinus3WithinTheData) {
    const int n = GetParam();
    std::vector<int> o2(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        o2[static_cast<std::size_t>(i)] = (i * 37 + 11) % 256;
    LogStore store;
    fillO2(store, o2);
    {
        auto view = store.Lock();
        SmoothO2(view);
    }
    const std::vector<int> smoothed = smoothedO2(store);
    for (int k = 0; k < n; ++k) {
        const int expected = k >= 30 && k < n - 2 ? meanOf(o2, k - 20, k + 20) : 0;
        ASSERT_EQ(smoothed[static_cast<std::size_t>(k)], expected) << "index " << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, SmoothO2Sizes, ::testing::Values(0, 1, 2, 31, 32, 33, 50, 52, 100, 5000));

TEST(SmoothO2, FullWindowIsTheIntegerPartOfTheSumOver40) {
    std::vector<int> o2(200, 100);
    o2[60] = 139; // sum 4039 for k = 41..79: 100.975
    LogStore store;
    fillO2(store, o2);
    {
        auto view = store.Lock();
        SmoothO2(view);
    }
    const auto smoothed = smoothedO2(store);
    EXPECT_EQ(smoothed[40], 100);
    EXPECT_EQ(smoothed[41], 100);
    EXPECT_EQ(smoothed[79], 100);
    EXPECT_EQ(smoothed[80], 100);
    // The window of k = 190 holds 170..199 only: 30 samples.
    EXPECT_EQ(smoothed[197], 100);
}

TEST(SmoothO2, OtherSeriesAndTheEdgesKeepTheirValues) {
    LogStore store;
    for (int i = 0; i < 40; ++i) {
        LogSample sample;
        sample[LogSeries::O2] = 50;
        sample[LogSeries::O2SM] = 9;
        sample[LogSeries::MAF] = i;
        store.Append(sample);
    }
    {
        auto view = store.Lock();
        SmoothO2(view);
    }
    auto view = store.Lock();
    for (std::size_t k = 0; k < 40; ++k) {
        EXPECT_EQ(view[k][LogSeries::O2SM], k >= 30 && k < 38 ? 50 : 9) << k;
        EXPECT_EQ(view[k][LogSeries::MAF], static_cast<int>(k));
    }
}

TEST(FillCenteredAverage, WindowsNearTheStartHoldOnlyExistingSamples) {
    LogStore store;
    for (int i = 0; i < 10; ++i) {
        LogSample sample;
        sample[LogSeries::MAF] = i;
        store.Append(sample);
    }
    auto view = store.Lock();
    FillCenteredAverage(view, LogSeries::MAF, LogSeries::LogCorr, 0, 100);
    for (std::size_t k = 0; k < 10; ++k)
        EXPECT_EQ(view[k][LogSeries::LogCorr], 4) << k; // mean of 0..9, every window holds all ten
}

TEST(CalibrateThrottle, RangeOfTheWholeRunOrTheFullSpanWhenThePedalBarelyMoved) {
    struct Case {
        std::vector<int> tps;
        ThrottleRange range;
    };
    const Case cases[] = {
        {{}, {0, 255}},                  // no sample arrived
        {{40, 41, 59}, {0, 255}},        // spread 19
        {{40, 60, 50}, {40, 60}},        // spread 20 counts
        {{18, 200, 245, 30}, {18, 245}}, // rest, floor, back
    };
    for (const Case& c : cases) {
        LogStore store;
        for (const int tps : c.tps) {
            LogSample sample;
            sample[LogSeries::TPS] = tps;
            store.Append(sample);
        }
        EXPECT_EQ(CalibrateThrottle(store.Lock()), c.range) << c.tps.size() << " samples";
    }
}
