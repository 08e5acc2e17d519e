#include "live_packet.h"

namespace {
constexpr int kMarkerValue = 128;
} // namespace

LogSample LivePacket::ToSample(bool markerHeld, int currentCorrection) const {
    LogSample sample;
    sample[LogSeries::Converter] = bytes[0];
    sample[LogSeries::Marker] = markerHeld ? kMarkerValue : 0;
    sample[LogSeries::Enrichment] = bytes[2];
    sample[LogSeries::MAF] = bytes[3];
    sample[LogSeries::TPS] = bytes[4];
    sample[LogSeries::RPM] = Period();
    sample[LogSeries::O2] = bytes[7];
    sample[LogSeries::Corr] = currentCorrection;
    return sample;
}
