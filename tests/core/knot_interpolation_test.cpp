#include "knot_interpolation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// Entries that are neither knots nor written by the run keep this value.
constexpr int Background = 7;

struct Tab1Case {
    const char* name;
    std::vector<std::pair<int, int>> knots; // (MAF, value) on Tab1 of set 1
    bool endsInterpolation;
    bool invert;
    int a;
    std::function<int(int x)> expected;
};

class Tab1Interpolation : public testing::TestWithParam<Tab1Case> {};

TEST_P(Tab1Interpolation, GivesTheExpectedCurve) {
    const Tab1Case& c = GetParam();
    TableContent content;
    std::fill_n(content.set1.begin(), MafCount, Background);
    for (const auto& [maf, value] : c.knots) {
        content.set1[maf] = value;
        content.KnotMarks1[maf] = KnotMark;
    }
    InterpolateKnots(content, c.a, c.endsInterpolation, c.invert);
    for (int x = 0; x < MafCount; ++x)
        EXPECT_EQ(content.set1[x], c.expected(x)) << "MAF " << x;
}

int background(int) {
    return Background;
}

INSTANTIATE_TEST_SUITE_P(
    KnotInterpolation, Tab1Interpolation,
    testing::Values(Tab1Case{"TwoKnotsEndsOff",
                             {{10, 20}, {20, 40}},
                             false,
                             false,
                             20,
                             [](int x) { return x >= 10 && x <= 20 ? 2 * x : Background; }},
                    Tab1Case{"TwoKnotsEndsOnRightKnotEdited",
                             {{10, 20}, {20, 40}},
                             true,
                             false,
                             20,
                             [](int x) { return x < 10 ? Background : std::min(255, 2 * x); }},
                    Tab1Case{"TwoKnotsEndsOnLeftKnotEdited",
                             {{10, 20}, {20, 40}},
                             true,
                             false,
                             10,
                             [](int x) { return x <= 20 ? 2 * x : Background; }},
                    Tab1Case{"InnerKnotEditedKeepsEnds",
                             {{10, 20}, {20, 40}, {30, 20}},
                             true,
                             false,
                             20,
                             [](int x) {
                                 if (x < 10 || x > 30)
                                     return Background;
                                 return x <= 20 ? 2 * x : 40 - 2 * (x - 20);
                             }},
                    Tab1Case{"RightKnotAt255IsNotExtended",
                             {{200, 100}, {255, 210}},
                             true,
                             false,
                             255,
                             [](int x) { return x < 200 ? Background : 100 + 2 * (x - 200); }},
                    Tab1Case{"ExtensionIsClampedAtZero",
                             {{100, 50}, {110, 0}},
                             true,
                             false,
                             110,
                             [](int x) { return x < 100 ? Background : std::max(0, 50 - 5 * (x - 100)); }},
                    Tab1Case{"SingleKnotThroughOrigin",
                             {{64, 128}},
                             true,
                             false,
                             64,
                             [](int x) { return x == 0 ? Background : std::min(255, 2 * x); }},
                    Tab1Case{
                        "SingleKnotInverted",
                        {{64, 127}},
                        true,
                        true,
                        64,
                        [](int x) { return x <= 64 ? 127 + 2 * (64 - x) : std::max(0, 127 - 2 * (x - 64)); }},
                    Tab1Case{"SingleKnotWithoutEnds",
                             {{64, 128}},
                             false,
                             false,
                             64,
                             [](int x) { return x == 64 ? 128 : Background; }},
                    Tab1Case{"SingleKnotAtMaf0Unchanged",
                             {{0, 100}},
                             true,
                             false,
                             0,
                             [](int x) { return x == 0 ? 100 : Background; }},
                    Tab1Case{"SingleKnotAtMaf0InvertedUnchanged",
                             {{0, 100}},
                             true,
                             true,
                             0,
                             [](int x) { return x == 0 ? 100 : Background; }},
                    Tab1Case{"ExactHalfRoundsDownToEven",
                             {{0, 0}, {2, 1}},
                             false,
                             false,
                             2,
                             [](int x) {
                                 return x <= 2 ? std::vector<int>{0, 0, 1}[x] : Background;
                             }},
                    Tab1Case{"ExactHalfRoundsUpToEven",
                             {{0, 0}, {2, 3}},
                             false,
                             false,
                             2,
                             [](int x) {
                                 return x <= 2 ? std::vector<int>{0, 2, 3}[x] : Background;
                             }},
                    // The double slope 0.1 lies just above 1/10; kept in extended precision, 5 x slope is
                    // above a half.
                    Tab1Case{"ProductKeptInExtendedPrecision",
                             {{0, 0}, {10, 1}},
                             false,
                             false,
                             10,
                             [](int x) { return x > 10 ? Background : (x >= 5 ? 1 : 0); }},
                    Tab1Case{"NoKnotsNothingChanges", {}, true, true, 0, background}),
    [](const testing::TestParamInfo<Tab1Case>& info) { return std::string(info.param.name); });

TEST(KnotInterpolation, LearnedValuesFollowTheTable) {
    TableContent content;
    content.set1[10] = 20;
    content.set1[20] = 40;
    content.KnotMarks1[10] = content.KnotMarks1[20] = KnotMark;
    content.LearnedValues[15] = 99;
    content.LearnedValues[100] = 3;
    content.LearnedValues[10] = 1;
    content.set1[150] = 9;
    InterpolateKnots(content, 20, true, false);

    for (int x = 0; x < MafCount; ++x) {
        if (content.LearnedValues[x] > 0) {
            EXPECT_EQ(content.LearnedValues[x], content.set1[x]) << x;
        }
    }
    EXPECT_EQ(content.LearnedValues[15], 30);
    EXPECT_EQ(content.LearnedValues[100], 200);
    EXPECT_EQ(content.LearnedValues[10], 20);
    EXPECT_EQ(content.LearnedValues[150], 0) << "unlearned points stay unlearned";
}

TEST(KnotInterpolation, LearnedPointOnAZeroOutputIsForgotten) {
    TableContent content;
    content.set1[30] = 60;
    content.KnotMarks1[10] = content.KnotMarks1[30] = KnotMark;
    content.LearnedValues[10] = 5;
    InterpolateKnots(content, 30, false, false);
    EXPECT_EQ(content.LearnedValues[10], 0);
}

TEST(KnotInterpolation, LearnedCurveFillsOnlyBetweenKnotsOfTheSameKind) {
    TableContent content;
    for (int x = 0; x < MafCount; ++x)
        content.set1[x] = x; // no Tab1 knots: the table stays this ramp
    for (const int knot : {10, 30, 50, 60})
        content.LearnedKnotMarks[knot] = KnotMark;
    content.LearnedValues[10] = 1; // learned at both ends of [10, 30)
    content.LearnedValues[30] = 1;
    content.LearnedValues[45] = 1; // inside [30, 50), whose ends differ
    content.LearnedValues[55] = 1; // inside [50, 60), unlearned at both ends
    InterpolateKnots(content, 0, false, false);

    for (int x = 10; x <= 30; ++x)
        EXPECT_EQ(content.LearnedValues[x], x) << x;
    for (int x = 31; x < 50; ++x)
        EXPECT_EQ(content.LearnedValues[x], x == 45 ? 45 : 0) << x;
    for (int x = 50; x < 60; ++x)
        EXPECT_EQ(content.LearnedValues[x], 0) << x;
}

TEST(KnotInterpolation, Tab2OfSet1IsNeitherClampedNorExtended) {
    TableContent content;
    content.set1[tab2Index(10)] = -10;
    content.set1[tab2Index(20)] = 15;
    content.KnotMarks1[tab2Index(10)] = content.KnotMarks1[tab2Index(20)] = KnotMark;
    content.set1[tab2Index(21)] = 77;
    InterpolateKnots(content, 20, true, false);

    EXPECT_EQ(content.set1[tab2Index(10)], -10) << "no clamping";
    EXPECT_EQ(content.set1[tab2Index(11)], -8) << "-7.5 rounds to even";
    EXPECT_EQ(content.set1[tab2Index(13)], -2) << "-2.5 rounds to even";
    EXPECT_EQ(content.set1[tab2Index(15)], 2) << "2.5 rounds to even";
    EXPECT_EQ(content.set1[tab2Index(20)], 15);
    EXPECT_EQ(content.set1[tab2Index(21)], 77) << "no end extension";
    EXPECT_EQ(content.set1[9], 0) << "Tab1 untouched";
}

TEST(KnotInterpolation, Set2TablesUseTheirOwnKnotsWithoutEnds) {
    TableContent content;
    content.set2[0] = 0;
    content.set2[4] = 10;
    content.KnotMarks2[0] = content.KnotMarks2[4] = KnotMark;
    content.set2[tab2Index(100)] = 50;
    content.set2[tab2Index(104)] = 40;
    content.KnotMarks2[tab2Index(100)] = content.KnotMarks2[tab2Index(104)] = KnotMark;
    content.set2[5] = 77;
    InterpolateKnots(content, 4, true, true);

    EXPECT_EQ((std::vector<int>{content.set2[0], content.set2[1], content.set2[2], content.set2[3],
                                content.set2[4], content.set2[5]}),
              (std::vector<int>{0, 2, 5, 8, 10, 77}));
    EXPECT_EQ((std::vector<int>{content.set2[tab2Index(101)], content.set2[tab2Index(102)],
                                content.set2[tab2Index(103)]}),
              (std::vector<int>{48, 45, 42}));
    EXPECT_EQ(content.set1, TableImage{}) << "set 1 has no knots";
}

} // namespace
