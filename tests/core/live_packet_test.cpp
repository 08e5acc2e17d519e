#include "live_packet.h"

#include <gtest/gtest.h>

namespace {

struct PacketCase {
    LivePacket packet;
    bool markerHeld;
    int correction;
    LogSample expected; // Converter, Marker, Enrichment, MAF, TPS, RPM, O2, Corr, IAT, ECT, O2SM, LogCorr
};

class LivePacketDecoding : public ::testing::TestWithParam<PacketCase> {};

} // namespace

TEST_P(LivePacketDecoding, FillsOneSampleOfEverySeries) {
    const PacketCase& c = GetParam();
    EXPECT_EQ(c.packet.ToSample(c.markerHeld, c.correction), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Packets, LivePacketDecoding,
    ::testing::Values(
        // 3000 rpm, 12.5 % enrichment; byte 1 is not used.
        PacketCase{{{0x40, 0x00, 0x90, 0x64, 0x32, 0x01, 0xF4, 0x7F}},
                   false,
                   0,
                   {{64, 0, 144, 100, 50, 500, 127, 0, 0, 0, 0, 0}}},
        PacketCase{{{0x40, 0xAB, 0x90, 0x64, 0x32, 0x01, 0xF4, 0x7F}},
                   true,
                   -3,
                   {{64, 128, 144, 100, 50, 500, 127, -3, 0, 0, 0, 0}}},
        // The period is unsigned and big-endian.
        PacketCase{{{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
                   false,
                   255,
                   {{255, 0, 255, 255, 255, 65535, 255, 255, 0, 0, 0, 0}}},
        PacketCase{{{0, 0, 0, 0, 0, 0x80, 0x00, 0}}, true, 0, {{0, 128, 0, 0, 0, 32768, 0, 0, 0, 0, 0, 0}}}));

TEST(LivePacket, PeriodIsBigEndian) {
    EXPECT_EQ((LivePacket{{0, 0, 0, 0, 0, 0x12, 0x34, 0}}.Period()), 0x1234);
}
