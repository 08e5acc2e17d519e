// The autotune proven on the simulated engine, in simulated time: the core's autocorrection and table
// model are driven by the converter model packet by packet, with a tick every tenth packet, and the
// main window's part (track bars, pending correction, apply, smoothing) carried out as the window
// does, over the converter's own commands. No port and no clock.

#include "autocorrection.h"
#include "converter_model.h"
#include "converter_protocol.h"
#include "live_packet.h"
#include "table_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <span>
#include <vector>

namespace {

constexpr std::int64_t kDriveMs = 22 * 60 * 1000; // eleven cycles of the drive
constexpr int kTickPackets = 10;
constexpr int kSensorType = 1; // "Innovate MTX-L": tenths of an air-fuel ratio
constexpr int kTarget = 147;
constexpr int kRangeWidth = 32;
constexpr int kRanges = MafCount / kRangeWidth;
constexpr std::size_t kMafSmoothingEntry = 260;
// Samples of one MAF range in the last cycle that make it a range the drive visited: 2 s.
constexpr int kVisitedSamples = 200;
constexpr double kBand = 0.3; // AFR

// The converter's end of the line: what the window sends reaches the model at the simulated time.
// The stream itself is polled from the model, so there is nothing to read or purge here.
class ModelPort : public BytePort {
public:
    ModelPort(ConverterModel& model, const std::int64_t& nowMs) : model(model), nowMs(nowMs) {}
    int Write(const std::uint8_t* data, int count) override {
        model.Feed(std::span(data, static_cast<std::size_t>(count)), nowMs);
        return count;
    }
    int Read(std::uint8_t*, int) override { return 0; }
    void ClearInput() override {}
    void ClearOutput() override {}

private:
    ConverterModel& model;
    const std::int64_t& nowMs;
};

// What the main window does with the autotune messages while live data runs.
class TuningWindow {
public:
    explicit TuningWindow(BytePort& port) : port(port) { table.replaceWithIdentity(); }

    const TableModel& Table() const { return table; }

    void CarryOut(const TMsgAutocorrStep& step) {
        // Both track bars move, each sending the window command; they never invert.
        if (step.WindowStart != begin || step.WindowEnd != end) {
            begin = step.WindowStart;
            end = step.WindowEnd;
            SendWindow(port);
        }
        if (step.ApplyNow) {
            SetCorrection(correction + step.CorrectionStep);
            Apply();
        } else if (step.ResetCorrection) {
            SetCorrection(0);
        } else {
            SetCorrection(correction + step.CorrectionStep);
        }
    }

    void CarryOut(const TMsgSmoothingStep& step) {
        if (step.NewSmoothing == 255)
            return;
        smoothing = step.NewSmoothing;
        SetCorrection(0);
        SendTables();
    }

    int Smoothing() const { return smoothing; }
    int Applied() const { return applied; }

private:
    void SetCorrection(int value) {
        value = std::clamp(value, -255, 255);
        if (value == correction)
            return;
        correction = value;
        SendCorrection(port, correction);
    }

    void Apply() {
        table.ApplyCorrection(correction, begin, end, CorrectionScope::Centre);
        ++applied;
        SetCorrection(0);
        SendTables();
    }

    void SendTables() {
        TableImage image = table.content().set1;
        image[kMafSmoothingEntry] = smoothing;
        SendTablesLive(port, image, LiveStream::Running);
    }

    BytePort& port;
    TableModel table;
    int begin = 0;
    int end = 0;
    int correction = 0;
    int smoothing = table.content().set1[kMafSmoothingEntry];
    int applied = 0;
};

struct RangeFigures {
    int learned = 0;
    int samples = 0;        // steady part-load samples in the last cycle
    double errorBefore = 0; // mean |AFR - target| with the 1:1 table
    double errorAfter = 0;  // mean |AFR - target| the engine reported
    double meanAfrAfter = 0;
};

// A steady part-load sample: not at full load, no fuel cut, the MAF settled.
bool Steady(const LogSample& sample, const LogSample& earlier, int throttleLimit) {
    return sample[LogSeries::TPS] <= throttleLimit && sample[LogSeries::O2] < 220 &&
           std::abs(sample[LogSeries::MAF] - earlier[LogSeries::MAF]) <= 3;
}

TEST(Tuning, ADriveLearnsTheVisitedMafRangesAndBringsTheMixtureToTheTarget) {
    ConverterModel model;
    model.SetO2SensorType(kSensorType);
    std::int64_t nowMs = 0;
    ModelPort port(model, nowMs);
    TuningWindow window(port);
    // The window sends the 1:1 table before the run, as a table write would have left it.
    SendTablesLive(port, window.Table().content().set1, LiveStream::Stopped);

    TargetGridModel grid;
    grid.SetCalibration(18, 245); // what the throttle calibration finds on this engine
    grid.FillTargets(kTarget);
    const AutocorrOptions options{
        .AutocorrEnabled = true, .SmoothingEnabled = true, .SensorType = kSensorType};
    AutocorrState state;
    LiveCounters counters;
    LogStore store;

    sendStreamStart(port);
    std::vector<std::uint8_t> pending;
    bool signOfLifeSkipped = false;
    std::array<double, kRanges> afrSum{}, errorSum{}, errorBeforeSum{};
    std::array<int, kRanges> samples{};
    const std::int64_t lastCycleFrom = kDriveMs - EngineModel::kCycleMs;
    for (; nowMs < kDriveMs; nowMs += ConverterModel::kPacketIntervalMs) {
        const ConverterModel::Bytes bytes = model.Poll(nowMs);
        pending.insert(pending.end(), bytes.begin(), bytes.end());
        if (!signOfLifeSkipped && pending.size() >= LivePacket::kSize) {
            pending.erase(pending.begin(), pending.begin() + LivePacket::kSize);
            signOfLifeSkipped = true;
        }
        for (; pending.size() >= LivePacket::kSize;
             pending.erase(pending.begin(), pending.begin() + LivePacket::kSize)) {
            LivePacket packet;
            std::copy_n(pending.begin(), LivePacket::kSize, packet.bytes.begin());
            store.Append(packet.ToSample(false, 0));
        }

        const std::size_t n = store.Size();
        if (n >= 21 && nowMs >= lastCycleFrom) {
            const std::vector<LogSample> recent = store.Newest(21);
            const LogSample& sample = recent.back();
            if (Steady(sample, recent.front(), 230)) {
                const int maf = sample[LogSeries::MAF];
                const std::size_t range = static_cast<std::size_t>(maf / kRangeWidth);
                const double afr = model.Engine().Afr();
                afrSum[range] += afr;
                errorSum[range] += std::abs(afr - kTarget / 10.0);
                errorBeforeSum[range] += std::abs(EngineModel::PartLoadAfr(maf, maf) - kTarget / 10.0);
                ++samples[range];
            }
        }
        if (n < kAutocorrMinSamples || n % kTickPackets != 0)
            continue;
        AutocorrDecision decision;
        {
            LogStore::View view = store.Lock();
            std::array<LogSample, kCorrectionWindowSamples> newest;
            for (std::size_t k = 0; k < newest.size(); ++k)
                newest[k] = view[n - newest.size() + k];
            decision = AutocorrStep(view, n - 1, CorrectionWindow(newest), options, state, counters,
                                    window.Table().content().LearnedValues, grid);
        }
        if (decision.smoothing)
            window.CarryOut(*decision.smoothing);
        window.CarryOut(decision.step);
    }

    const MafValues& learned = window.Table().content().LearnedValues;
    std::printf("MAF range  learned  samples  |AFR-14.7| before  after  mean AFR after\n");
    int visited = 0;
    for (int r = 0; r < kRanges; ++r) {
        RangeFigures f;
        for (int maf = r * kRangeWidth; maf < (r + 1) * kRangeWidth; ++maf)
            f.learned += learned[static_cast<std::size_t>(maf)] != 0 ? 1 : 0;
        const std::size_t i = static_cast<std::size_t>(r);
        f.samples = samples[i];
        if (f.samples > 0) {
            f.errorBefore = errorBeforeSum[i] / f.samples;
            f.errorAfter = errorSum[i] / f.samples;
            f.meanAfrAfter = afrSum[i] / f.samples;
        }
        std::printf("%3d..%3d   %7d  %7d  %17.2f  %5.2f  %14.2f\n", r * kRangeWidth,
                    (r + 1) * kRangeWidth - 1, f.learned, f.samples, f.errorBefore, f.errorAfter,
                    f.meanAfrAfter);
        if (f.samples < kVisitedSamples)
            continue;
        ++visited;
        EXPECT_GT(f.learned, 0) << r;
        EXPECT_NEAR(f.meanAfrAfter, kTarget / 10.0, kBand) << r;
        EXPECT_LT(f.errorAfter, kBand) << r;
        EXPECT_LT(f.errorAfter, f.errorBefore) << r;
    }
    std::printf("learned points (MAF:output):");
    for (int maf = 0; maf < MafCount; ++maf) {
        if (learned[static_cast<std::size_t>(maf)] != 0)
            std::printf(" %d:%d", maf, learned[static_cast<std::size_t>(maf)]);
    }
    std::printf("\ncorrections applied: %d, MAF smoothing now %d\n", window.Applied(), window.Smoothing());
    EXPECT_GE(visited, 4);
    EXPECT_LT(window.Smoothing(), 20); // the pulls pulsated, so the smoothing stepped down
}

} // namespace
