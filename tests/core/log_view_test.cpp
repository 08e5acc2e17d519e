#include "log_csv.h"
#include "log_view.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct StepCase {
    long count;
    long step;
    const char* text;
};

class ViewSteps : public ::testing::TestWithParam<StepCase> {};

LogSample WithValue(LogSeries series, int value) {
    LogSample sample;
    sample[series] = value;
    return sample;
}

} // namespace

TEST_P(ViewSteps, AboutFourHundredThirtyPointsAndTheStepsText) {
    const StepCase& c = GetParam();
    const ViewSpan view = ViewSpanFor(c.count);
    EXPECT_EQ(view.step, c.step) << c.count;
    EXPECT_EQ(view.text, c.text) << c.count;
}

INSTANTIATE_TEST_SUITE_P(
    Counts, ViewSteps,
    ::testing::Values(StepCase{43000, 100, "1.00s"}, StepCase{4300, 10, "0.10s"}, StepCase{860, 2, "0.02s"},
                      StepCase{6450, 15, "0.15s"}, StepCase{500, 1, "0.01s"}, StepCase{64500, 150, "1.50s"},
                      StepCase{429, 1, "0.01s"}, StepCase{0, 1, "0.01s"}, StepCase{-5, 1, "0.01s"},
                      // A ten-hour log: whole minutes are not dropped from the seconds.
                      StepCase{8372L * 430, 8372, "83.72s"}, StepCase{6000L * 430, 6000, "60.00s"}));

TEST(LogView, SampleTimesAreTenMillisecondsAnIndexWithoutLeadingZeros) {
    const std::pair<long, const char*> cases[] = {{0, "0:0:0:0"},
                                                  {6001, "0:1:0:10"},
                                                  {360000, "1:0:0:0"},
                                                  {123456, "0:20:34:560"},
                                                  {3599999, "9:59:59:990"}};
    for (const auto& [index, text] : cases)
        EXPECT_EQ(SampleTimeText(index), text) << index;
    const std::pair<double, long> times[] = {
        {0.01, 1}, {60.01, 6001}, {3600.0, 360000}, {-3.0, 0}, {0.0049, 0}};
    for (const auto& [seconds, index] : times)
        EXPECT_EQ(IndexAtSeconds(seconds), index) << seconds;
}

TEST(LogView, AFillDrawsEveryStepthSampleOfTheViewWidenedByOneStep) {
    EXPECT_TRUE(DrawnIndexes(0, 116, 1, 117).empty()) << "117 samples draw nothing";
    EXPECT_EQ(DrawnIndexes(0, 117, 1, 118).size(), 118u);
    EXPECT_EQ(DrawnIndexes(10, 20, 5, 1000), (std::vector<std::size_t>{5, 10, 15, 20, 25}));
    EXPECT_EQ(DrawnIndexes(2, 998, 5, 1000).front(), 0u);
    EXPECT_EQ(DrawnIndexes(2, 998, 5, 1000).back(), 995u) << "never past the store";
    EXPECT_TRUE(DrawnIndexes(0, 10, 0, 1000).empty());
}

TEST(LogView, EachSeriesDrawsItsValue) {
    const auto tab = [](int maf, int tps) { return maf + tps; };
    const struct {
        ChartSeries series;
        LogSample sample;
        int drawn;
    } cases[] = {
        {ChartSeries::Enrichment, WithValue(LogSeries::Enrichment, 128), 0},
        {ChartSeries::Enrichment, WithValue(LogSeries::Enrichment, 0), -100},
        {ChartSeries::Enrichment, WithValue(LogSeries::Enrichment, 255), 99},
        {ChartSeries::Enrichment, WithValue(LogSeries::Enrichment, 136), 6},
        {ChartSeries::Rpm, WithValue(LogSeries::RPM, 0), 0},
        {ChartSeries::Rpm, WithValue(LogSeries::RPM, 500), 30},
        {ChartSeries::Rpm, WithValue(LogSeries::RPM, 1), 15000},
        {ChartSeries::Corr, WithValue(LogSeries::Corr, -5), -5},
        {ChartSeries::LogCorr, WithValue(LogSeries::LogCorr, -7), -7},
        {ChartSeries::O2Sm, WithValue(LogSeries::O2SM, 44), 44},
        {ChartSeries::Tab,
         [] {
             LogSample s;
             s[LogSeries::MAF] = 100;
             s[LogSeries::TPS] = 20;
             return s;
         }(),
         120},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DrawnValue(c.series, c.sample, tab), c.drawn) << int(c.series);
}

TEST(LogView, ATimeFallsOnTheNearestDrawnPointAndNeverPastTheLast) {
    const std::vector<double> times = {0.0, 0.5, 1.0};
    const std::pair<double, std::size_t> cases[] = {{0.2, 0},  {0.25, 1}, {0.7, 1},
                                                    {0.75, 2}, {5.0, 2},  {-1.0, 0}};
    for (const auto& [time, point] : cases)
        EXPECT_EQ(NearestDrawnPoint(times, time), point) << time;
    EXPECT_FALSE(NearestDrawnPoint({}, 1.0));
}

TEST(LogCsv, AHeaderThenARowPerSampleWithRpmInFullAndDotsWhateverTheLocale) {
    LogStore store;
    LogSample first;
    first[LogSeries::MAF] = 100;
    first[LogSeries::TPS] = 20;
    first[LogSeries::Enrichment] = 0;
    first[LogSeries::Corr] = -5;
    store.Append(first);
    LogSample idle;
    idle[LogSeries::RPM] = 500;
    idle[LogSeries::Enrichment] = 128;
    for (int k = 1; k < 6002; ++k)
        store.Append(idle);
    const std::string csv = encodeLogCsv(store.Lock(), [](int maf, int tps) { return maf + tps; });
    const std::string header =
        "Time,MAF,TPS,Converter,Tab,Marker,Enrichment,RPM,O2,Corr,IAT,ECT,O2SM,LogCorr\n";
    ASSERT_EQ(csv.substr(0, header.size()), header);
    EXPECT_EQ(csv.substr(header.size(), csv.find('\n', header.size()) + 1 - header.size()),
              "0.00,100,20,0,120,0,-100,0,0,-5,0,0,0,0\n")
        << "a period of 0 is 0 rpm";
    EXPECT_NE(csv.find("\n60.01,0,0,0,0,0,0,3000,0,0,0,0,0,0\n"), std::string::npos) << "sample 6001";
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 6003);
}
