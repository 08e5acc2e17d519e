#include "table_image.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

struct EffectCase {
    int tps;
    const char* threshold;
    bool table2;
};

class TableInEffect : public testing::TestWithParam<EffectCase> {};

TEST_P(TableInEffect, Table2OnlyStrictlyAboveTheThreshold) {
    EXPECT_EQ(table2InEffect(GetParam().tps, GetParam().threshold), GetParam().table2)
        << "tps " << GetParam().tps << " threshold \"" << GetParam().threshold << '"';
}

INSTANTIATE_TEST_SUITE_P(TableImage, TableInEffect,
                         testing::Values(EffectCase{255, "255", false}, EffectCase{0, "255", false},
                                         EffectCase{101, "100", true}, EffectCase{100, "100", false},
                                         EffectCase{1, "", true}, EffectCase{0, "abc", false}));

TEST(TableImage, Tab2BelowMaf8IsReadFromTab1) {
    TableImage image{};
    for (int i = 0; i < TableImageSize; ++i)
        image[i] = 1000 + i;
    EXPECT_EQ(tab2Value(image, 5), 1005);
    EXPECT_EQ(tab2Value(image, 7), 1007);
    EXPECT_EQ(tab2Value(image, 8), 1264);
    EXPECT_EQ(tab2Value(image, 255), 1511);
}

TEST(TableImage, BytesAreTheLowEightBitsOfEachEntry) {
    TableImage image{};
    image[0] = 255;
    image[1] = 256;
    image[2] = 1279;
    image[3] = -1;
    image[511] = 0x1234;
    const TableImageBytes bytes = imageBytes(image);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0x00);
    EXPECT_EQ(bytes[2], 0xFF);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(bytes[511], 0x34);
}

// Which entry of the target should hold which source entry after a copy; -1 = untouched.
struct CopyCase {
    const char* name;
    CopyMode mode;
    std::function<int(int targetEntry)> sourceEntryFor;
};

class CopyRegionModes : public testing::TestWithParam<CopyCase> {};

TEST_P(CopyRegionModes, CopiesOnlyItsRange) {
    TableImage source{};
    TableImage target{};
    for (int i = 0; i < TableImageSize; ++i) {
        source[i] = 1000 + i;
        target[i] = -i;
    }
    CopyRegion(GetParam().mode, source, target);
    for (int i = 0; i < TableImageSize; ++i) {
        const int from = GetParam().sourceEntryFor(i);
        EXPECT_EQ(target[i], from < 0 ? -i : 1000 + from) << "entry " << i;
    }
}

bool isTab2Entry(int entry) {
    return entry >= tab2Index(Tab2FirstMaf);
}
bool isTab1CopiedFromTab2(int entry) {
    return entry >= Tab2FirstMaf && entry < MafCount;
}

INSTANTIATE_TEST_SUITE_P(
    TableImage, CopyRegionModes,
    testing::Values(CopyCase{"Tab1ToTab2", CopyMode::Tab1ToTab2,
                             [](int e) { return isTab2Entry(e) ? e - ParameterBlockStart : -1; }},
                    CopyCase{"Tab2ToTab1", CopyMode::Tab2ToTab1,
                             [](int e) { return isTab1CopiedFromTab2(e) ? tab2Index(e) : -1; }},
                    CopyCase{"Tab1ToTab1", CopyMode::Tab1ToTab1, [](int e) { return e < MafCount ? e : -1; }},
                    CopyCase{"Tab2ToTab2", CopyMode::Tab2ToTab2,
                             [](int e) { return isTab2Entry(e) ? e : -1; }}),
    [](const testing::TestParamInfo<CopyCase>& info) { return std::string(info.param.name); });

TEST(TableImage, CopyWithinOneImageCopiesTab1IntoTab2) {
    TableImage image{};
    for (int maf = 0; maf < MafCount; ++maf)
        image[maf] = maf * 3 % 256;
    CopyRegion(CopyMode::Tab1ToTab2, image, image);
    for (int maf = 0; maf < MafCount; ++maf)
        EXPECT_EQ(tab2Value(image, maf), image[maf]) << maf;
    EXPECT_EQ(image[ParameterBlockStart], 0) << "parameters stay";
}

} // namespace
