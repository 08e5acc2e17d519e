#include "table_model.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

const ParameterTexts DefaultTexts{"4", "5", "0", "50", "100", "100", "100", "255"};

void expectSameContent(const TableContent& actual, const TableContent& expected) {
    EXPECT_EQ(actual.set1, expected.set1);
    EXPECT_EQ(actual.set2, expected.set2);
    EXPECT_EQ(actual.KnotMarks1, expected.KnotMarks1);
    EXPECT_EQ(actual.KnotMarks2, expected.KnotMarks2);
    EXPECT_EQ(actual.LearnedValues, expected.LearnedValues);
    EXPECT_EQ(actual.LearnedKnotMarks, expected.LearnedKnotMarks);
}

TEST(TableModel, StartsWithZeroOutputsAndDefaultParameters) {
    const TableModel model;
    for (const TableSet set : {TableSet::First, TableSet::Second}) {
        for (int maf = 0; maf < MafCount; ++maf) {
            ASSERT_EQ(model.image(set)[maf], 0);
            ASSERT_EQ(tab2Value(model.image(set), maf), 0);
        }
        EXPECT_EQ(ShowParameters(model.image(set)), DefaultTexts);
    }
    EXPECT_FALSE(model.endsInterpolation());
    EXPECT_FALSE(model.invert());
}

struct PointCase {
    const char* name;
    TableCurve curve;
    int x;
    TableSet set;
    int entry; // -1: nothing may change
};

class SetPointCurves : public testing::TestWithParam<PointCase> {};

TEST_P(SetPointCurves, WritesAKnotOnTheSelectedCurveOnly) {
    const PointCase& c = GetParam();
    TableModel model;
    TableContent expected = model.content();
    model.SetPoint(c.curve, c.x, 99, false);
    if (c.entry >= 0) {
        TableImage& image = c.set == TableSet::First ? expected.set1 : expected.set2;
        image[c.entry] = 99;
        (c.set == TableSet::First ? expected.KnotMarks1 : expected.KnotMarks2)[c.entry] = KnotMark;
    }
    expectSameContent(model.content(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    TableModel, SetPointCurves,
    testing::Values(PointCase{"Set1Tab1", TableCurve::Set1Tab1, 40, TableSet::First, 40},
                    PointCase{"Set1Tab2", TableCurve::Set1Tab2, 40, TableSet::First, tab2Index(40)},
                    PointCase{"Set1Tab2AtMaf8", TableCurve::Set1Tab2, 8, TableSet::First, tab2Index(8)},
                    PointCase{"Set1Tab2BelowMaf8", TableCurve::Set1Tab2, 3, TableSet::First, -1},
                    PointCase{"Set2Tab1", TableCurve::Set2Tab1, 0, TableSet::Second, 0},
                    PointCase{"Set2Tab2", TableCurve::Set2Tab2, 255, TableSet::Second, tab2Index(255)},
                    PointCase{"Set2Tab2BelowMaf8", TableCurve::Set2Tab2, 7, TableSet::Second, -1}),
    [](const testing::TestParamInfo<PointCase>& info) { return std::string(info.param.name); });

struct LearnedCase {
    int y;
    int learned;
};

class SetPointLearned : public testing::TestWithParam<LearnedCase> {};

TEST_P(SetPointLearned, BelowTheTableForgetsOnOrAboveLearnsTheTableValue) {
    TableModel model;
    model.SetPoint(TableCurve::Set1Tab1, 40, 100, false);
    model.SetPoint(TableCurve::Learned, 40, 55, false); // a point learned before
    model.SetPoint(TableCurve::Learned, 40, GetParam().y, false);
    EXPECT_EQ(model.content().LearnedValues[40], GetParam().learned);
    EXPECT_EQ(model.content().LearnedKnotMarks[40], KnotMark);
    EXPECT_EQ(model.content().set1[40], 100);
}

INSTANTIATE_TEST_SUITE_P(TableModel, SetPointLearned,
                         testing::Values(LearnedCase{99, 0}, LearnedCase{100, 100}, LearnedCase{200, 100}));

TEST(TableModel, SetPointInterpolatesWhenAskedWithTheEditedPointAsA) {
    TableModel model;
    model.SetEndsInterpolation(true);
    model.SetPoint(TableCurve::Set1Tab1, 64, 128, true);
    EXPECT_EQ(model.image(TableSet::First)[32], 64) << "line through the origin";
    model.SetPoint(TableCurve::Set1Tab1, 200, 220, true);
    const TableImage& tab = model.image(TableSet::First);
    EXPECT_EQ(tab[132], 174) << "straight from (64, 128) to (200, 220): 128 + 92 x 68 / 136";
    EXPECT_EQ(tab[255], 255) << "the rightmost knot's line runs on to MAF 255, clamped";
    EXPECT_EQ(tab[210], 227);
    EXPECT_EQ(tab[32], 64) << "left end not extended: the edited knot is the rightmost";
}

TEST(TableModel, SetPointWithoutInterpolationOnlyMarksTheKnot) {
    TableModel model;
    model.SetEndsInterpolation(true);
    model.SetPoint(TableCurve::Set1Tab1, 64, 128, false);
    EXPECT_EQ(model.image(TableSet::First)[32], 0);
    EXPECT_EQ(model.content().KnotMarks1[64], KnotMark);
}

TEST(TableModel, ActiveTableIsChosenByTheThresholdText) {
    TableModel model;
    model.SetPoint(TableCurve::Set1Tab1, 5, 11, false);
    model.SetPoint(TableCurve::Set1Tab1, 50, 22, false);
    model.SetPoint(TableCurve::Set1Tab2, 50, 33, false);
    EXPECT_EQ(model.ActiveTableValue(50, 101, "100"), 33);
    EXPECT_EQ(model.ActiveTableValue(50, 100, "100"), 22);
    EXPECT_EQ(model.ActiveTableValue(50, 255, "255"), 22);
    EXPECT_EQ(model.ActiveTableValue(5, 101, "100"), 11) << "table 2 has no MAF 5: Tab1 stands in";
}

TEST(TableModel, SetActiveTableValueInTab1MarksAndInterpolates) {
    TableModel model;
    model.SetEndsInterpolation(true);
    model.SetActiveTableValue(64, 128, 100, true, "100");
    EXPECT_EQ(model.image(TableSet::First)[64], 128);
    EXPECT_EQ(model.image(TableSet::First)[32], 64);
    EXPECT_EQ(model.content().KnotMarks1[64], KnotMark);

    model.SetActiveTableValue(100, 3, 0, false, "100");
    EXPECT_EQ(model.image(TableSet::First)[100], 3);
    EXPECT_EQ(model.content().KnotMarks1[100], 0) << "no knot without markKnot";
}

TEST(TableModel, SetActiveTableValueInTab2LeavesInterpolationForTheNextRun) {
    TableModel model;
    model.SetActiveTableValue(10, 20, 101, true, "100");
    model.SetActiveTableValue(20, 40, 101, true, "100");
    EXPECT_EQ(model.image(TableSet::First)[tab2Index(15)], 0);
    EXPECT_EQ(model.content().KnotMarks1[tab2Index(20)], KnotMark);

    model.InterpolateKnots(20);
    EXPECT_EQ(model.image(TableSet::First)[tab2Index(15)], 30);
}

TEST(TableModel, SetActiveTableValueIgnoresTab2BelowMaf8) {
    TableModel model;
    const TableContent before = model.content();
    model.SetActiveTableValue(5, 200, 101, true, "100");
    expectSameContent(model.content(), before);
}

TEST(TableModel, UndoTwiceRestoresTheStateBeforeTheEditBothTimes) {
    TableModel model;
    model.SetPoint(TableCurve::Set1Tab1, 10, 20, false);
    model.SetPoint(TableCurve::Learned, 10, 30, false);
    const TableContent beforeEdit = model.content();
    model.SetEndsInterpolation(true);
    model.SetPoint(TableCurve::Set1Tab1, 20, 40, true);

    model.Undo();
    expectSameContent(model.content(), beforeEdit);
    model.Undo();
    expectSameContent(model.content(), beforeEdit);
}

TEST(TableModel, AnIneffectiveEditStillTakesASnapshot) {
    TableModel model;
    model.SetPoint(TableCurve::Set1Tab1, 10, 20, false);
    const TableContent afterFirstEdit = model.content();
    model.SetPoint(TableCurve::Set1Tab2, 5, 99, false);
    model.Undo();
    expectSameContent(model.content(), afterFirstEdit);
}

TEST(TableModel, CopyRegionTakesNoSnapshot) {
    TableModel model;
    model.SetPoint(TableCurve::Set1Tab1, 10, 20, false);
    const TableContent beforeLastEdit = [&] {
        TableModel copy = model;
        copy.Undo();
        return copy.content();
    }();
    model.CopyRegion(CopyMode::Tab1ToTab2, TableSet::First, TableSet::First);
    EXPECT_EQ(tab2Value(model.image(TableSet::First), 10), 20);
    model.Undo();
    expectSameContent(model.content(), beforeLastEdit);
}

TEST(TableModel, CopyRegionBetweenSets) {
    TableModel model;
    model.SetPoint(TableCurve::Set2Tab1, 100, 42, false);
    model.CopyRegion(CopyMode::Tab1ToTab1, TableSet::Second, TableSet::First);
    EXPECT_EQ(model.image(TableSet::First)[100], 42);
    EXPECT_EQ(model.content().KnotMarks1[100], 0) << "knot marks stay";
}

TEST(TableModel, ClearKnotMarksForgetsEveryKnotButKeepsTheCurves) {
    TableModel model;
    model.SetPoint(TableCurve::Set1Tab1, 10, 20, false);
    model.SetPoint(TableCurve::Set2Tab2, 30, 40, false);
    model.SetPoint(TableCurve::Learned, 10, 20, false);
    model.clearKnotMarks();
    EXPECT_EQ(model.content().KnotMarks1, KnotMarkArray{});
    EXPECT_EQ(model.content().KnotMarks2, KnotMarkArray{});
    EXPECT_EQ(model.content().LearnedKnotMarks, MafValues{});
    EXPECT_EQ(model.image(TableSet::First)[10], 20);
    EXPECT_EQ(model.content().LearnedValues[10], 20);
}

class Identity : public testing::TestWithParam<bool> {};

TEST_P(Identity, ResetsSet1ToThePassThroughLineAndDefaultParameters) {
    const bool invert = GetParam();
    TableModel model;
    model.SetInvert(invert);
    model.SetPoint(TableCurve::Set1Tab1, 10, 99, false);
    model.ReadParameters(TableSet::First, {"1", "2", "3", "4", "5", "6", "7", "8"});
    const TableContent before = model.content();

    model.replaceWithIdentity();
    const TableImage& image = model.image(TableSet::First);
    for (int maf = 0; maf < MafCount; ++maf) {
        const int line = invert ? 255 - maf : maf;
        ASSERT_EQ(image[maf], line) << maf;
        ASSERT_EQ(tab2Value(image, maf), line) << maf;
    }
    EXPECT_EQ(ShowParameters(image), DefaultTexts);
    EXPECT_EQ(model.content().KnotMarks1[10], KnotMark) << "knot marks stay";

    model.Undo();
    expectSameContent(model.content(), before);
}

INSTANTIATE_TEST_SUITE_P(TableModel, Identity, testing::Bool());

TEST(TableModel, LoadingSet1TakesLearnedValuesAndUndoReturnsToTheLoadedState) {
    TableModel model;
    model.SetPoint(TableCurve::Set1Tab1, 10, 20, false);
    TabFileContent file;
    file.image[10] = 77;
    MafValues learned{};
    learned[10] = 77;
    file.learnedValues = learned;

    model.LoadTabFile(TableSet::First, file);
    model.Undo();
    EXPECT_EQ(model.image(TableSet::First), file.image);
    EXPECT_EQ(model.content().LearnedValues, learned);
    EXPECT_EQ(model.content().KnotMarks1[10], KnotMark) << "loading leaves knot marks";
}

TEST(TableModel, LoadingSet2IgnoresLearnedValues) {
    TableModel model;
    model.SetPoint(TableCurve::Set1Tab1, 10, 20, false);
    model.SetPoint(TableCurve::Learned, 10, 20, false);
    TabFileContent file;
    file.image[3] = 5;
    file.learnedValues = MafValues{};

    model.LoadTabFile(TableSet::Second, file);
    EXPECT_EQ(model.image(TableSet::Second), file.image);
    EXPECT_EQ(model.content().LearnedValues[10], 20);
    EXPECT_EQ(model.image(TableSet::First)[10], 20);
}

TEST(TableModel, RefusesMafIndexesOutsideTheTable) {
    TableModel model;
    EXPECT_THROW(model.SetPoint(TableCurve::Set1Tab1, 256, 1, false), std::out_of_range);
    EXPECT_THROW(model.SetActiveTableValue(-1, 1, 0, true, "255"), std::out_of_range);
    EXPECT_THROW((void)model.ActiveTableValue(300, 0, "255"), std::out_of_range);
}

} // namespace
