#include "tuning_drive.h"

#include "converter_model.h"
#include "converter_protocol.h"
#include "live_packet.h"
#include "log_store.h"
#include "table_model.h"
#include "table_parameters.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr int kTickPackets = 10;
constexpr std::size_t kMafSmoothingEntry = parameterIndex(Parameter::SmoothMaf);
// A sample counts as steady when the MAF is within this of the sample a correction window earlier.
constexpr int kSteadyMaf = 3;

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
    TuningWindow(BytePort& port, bool inverted) : port(port) {
        table.SetInvert(inverted);
        table.replaceWithIdentity();
    }

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
        if (step.NewSmoothing == kNoSmoothingChange)
            return;
        // The value goes into the smoothing box, which stores its percent as n x 1.28.
        smoothingBox = step.NewSmoothing;
        smoothing = storedFromBox(Parameter::SmoothMaf, std::to_string(step.NewSmoothing));
        SetCorrection(0);
        SendTables(LiveStream::Running);
    }

    void SendTables(LiveStream stream) {
        TableImage image = table.content().set1;
        image[kMafSmoothingEntry] = smoothing;
        SendTablesLive(port, image, stream);
    }

    int SmoothingBox() const { return smoothingBox; }
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
        SendTables(LiveStream::Running);
    }

    BytePort& port;
    TableModel table;
    int begin = 0;
    int end = 0;
    int correction = 0;
    int smoothing = table.content().set1[kMafSmoothingEntry];
    int smoothingBox = std::stoi(shownInBox(Parameter::SmoothMaf, smoothing));
    int applied = 0;
};

struct RangeSums {
    int samples = 0;
    double error = 0;
    double afr = 0;
    double target = 0;
};

} // namespace

TuningResult DriveWithAutotune(TuningSetup setup) {
    ConverterModel model;
    model.SetO2SensorType(setup.options.SensorType);
    model.SetFallingMeter(setup.options.OutputInverted);
    std::int64_t nowMs = 0;
    ModelPort port(model, nowMs);
    TuningWindow window(port, setup.options.OutputInverted);
    // The window sends the 1:1 table before the run, as a table write would have left it.
    window.SendTables(LiveStream::Stopped);
    // The cell the measurement looks up, kept apart so the drive's grid is consulted as the tick does.
    TargetGridModel measuredGrid = setup.grid;

    AutocorrState state;
    LiveCounters counters;
    LogStore store;
    sendStreamStart(port);
    std::vector<std::uint8_t> pending;
    bool signOfLifeSkipped = false;
    std::array<RangeSums, kTuningRanges> sums{};
    const std::int64_t driveMs = static_cast<std::int64_t>(setup.cycles) * EngineModel::kCycleMs;
    const std::int64_t measuredFrom = driveMs - EngineModel::kCycleMs;
    for (; nowMs < driveMs; nowMs += ConverterModel::kPacketIntervalMs) {
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
        if (n >= kCorrectionWindowSamples && nowMs >= measuredFrom && model.Engine().PartLoad()) {
            const std::vector<LogSample> recent = store.Newest(kCorrectionWindowSamples);
            const LogSample& sample = recent.back();
            const int maf = sample[LogSeries::MAF];
            if (std::abs(maf - recent.front()[LogSeries::MAF]) <= kSteadyMaf) {
                const double target = setup.targetAfr(
                    measuredGrid.TargetAt(sample[LogSeries::TPS], RpmFromPeriod(sample[LogSeries::RPM])));
                RangeSums& range = sums[static_cast<std::size_t>(maf / kTuningRangeWidth)];
                const double afr = model.Engine().Afr();
                range.error += std::abs(afr - target);
                range.afr += afr;
                range.target += target;
                ++range.samples;
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
            decision = AutocorrStep(view, n - 1, CorrectionWindow(newest), setup.options, state, counters,
                                    window.Table().content().LearnedValues, setup.grid);
        }
        if (decision.smoothing)
            window.CarryOut(*decision.smoothing);
        window.CarryOut(decision.step);
    }

    TuningResult result;
    for (std::size_t r = 0; r < sums.size(); ++r) {
        const RangeSums& s = sums[r];
        if (s.samples == 0)
            continue;
        result.ranges[r] = {s.samples, s.error / s.samples, s.afr / s.samples, s.target / s.samples};
    }
    result.learned = window.Table().content().LearnedValues;
    result.applied = window.Applied();
    result.smoothingBox = window.SmoothingBox();
    result.smoothing = window.Smoothing();
    return result;
}
