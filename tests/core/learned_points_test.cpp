// Applying a correction window to the table and clearing learned points.

#include "table_model.h"

#include <gtest/gtest.h>

namespace {

TableModel OneToOneModel() {
    TableModel model;
    model.replaceWithIdentity();
    return model;
}

TEST(ApplyCorrection, WindowModeCorrectsLearnsAndMarksEveryPointOfTheWindow) {
    TableModel model = OneToOneModel();
    model.ApplyCorrection(5, 100, 104, CorrectionScope::WholeWindow);
    const TableContent& c = model.content();
    for (int x = 100; x <= 104; ++x) {
        EXPECT_EQ(c.set1[x], x + 5) << x;
        EXPECT_EQ(c.LearnedValues[x], x + 5) << x;
        EXPECT_EQ(c.KnotMarks1[x], KnotMark) << x;
        EXPECT_EQ(c.LearnedKnotMarks[x], KnotMark) << x;
    }
    EXPECT_EQ(c.set1[99], 99);
    EXPECT_EQ(c.set1[105], 105);
    EXPECT_EQ(c.LearnedValues[99], 0);
}

TEST(ApplyCorrection, ResultsAreHeldWithinTheOutputRangeAndZeroIsNotLearned) {
    TableModel model = OneToOneModel();
    model.ApplyCorrection(5, 253, 255, CorrectionScope::WholeWindow);
    EXPECT_EQ(model.content().set1[253], 255);
    EXPECT_EQ(model.content().set1[255], 255);

    model.ApplyCorrection(-255, 10, 10, CorrectionScope::WholeWindow);
    EXPECT_EQ(model.content().set1[10], 0);
    EXPECT_EQ(model.content().LearnedValues[10], 0) << "a point corrected to 0 does not count as learned";
}

struct CentreCase {
    int begin, end, centre;
};

class CentreMode : public testing::TestWithParam<CentreCase> {};

TEST_P(CentreMode, CorrectsOnlyTheCentreAndUnmarksItsNeighbours) {
    const CentreCase& w = GetParam();
    TableModel model = OneToOneModel();
    // Knots beside the centre, set without interpolation.
    for (int x : {w.centre - 1, w.centre + 1})
        if (x >= 0 && x < MafCount)
            model.SetPoint(TableCurve::Set1Tab1, x, x, false);
    model.SetPoint(TableCurve::Learned, w.centre, 255, false); // a learned knot, which must stay
    const TableContent before = model.content();

    model.ApplyCorrection(3, w.begin, w.end, CorrectionScope::Centre);
    const TableContent& c = model.content();
    for (int x = 0; x < MafCount; ++x) {
        if (x == w.centre) {
            EXPECT_EQ(c.set1[x], x + 3);
            EXPECT_EQ(c.LearnedValues[x], x + 3);
            EXPECT_EQ(c.KnotMarks1[x], KnotMark);
            EXPECT_EQ(c.LearnedKnotMarks[x], KnotMark);
        } else {
            EXPECT_EQ(c.set1[x], before.set1[x]) << x;
        }
    }
    const bool inner = w.centre > 0 && w.centre < MafCount - 1;
    if (inner) {
        EXPECT_EQ(c.KnotMarks1[w.centre - 1], 0);
        EXPECT_EQ(c.KnotMarks1[w.centre + 1], 0);
    } else {
        EXPECT_EQ(c.KnotMarks1[w.centre + 1], before.KnotMarks1[w.centre + 1])
            << "no neighbour cleared at the end";
    }
}

INSTANTIATE_TEST_SUITE_P(ApplyCorrection, CentreMode,
                         testing::Values(CentreCase{100, 103, 102}, // 101.5: the half goes to the even 102
                                         CentreCase{100, 105, 102}, // 102.5: to the even 102
                                         CentreCase{100, 104, 102}, CentreCase{0, 0, 0}));

TEST(ClearLearned, ForgetsLearnedPointsAndTab1KnotsButKeepsTab2KnotsAndIsUndoable) {
    TableModel model = OneToOneModel();
    model.ApplyCorrection(4, 50, 60, CorrectionScope::WholeWindow);
    model.SetPoint(TableCurve::Set1Tab2, 70, 90, false);
    const TableContent before = model.content();

    model.ClearLearned(0, 255);
    const TableContent& c = model.content();
    for (int x = 0; x < MafCount; ++x) {
        ASSERT_EQ(c.LearnedValues[x], 0);
        ASSERT_EQ(c.KnotMarks1[x], 0);
        ASSERT_EQ(c.LearnedKnotMarks[x], 0);
    }
    EXPECT_EQ(c.KnotMarks1[tab2Index(70)], KnotMark);
    EXPECT_EQ(c.set1, before.set1) << "table values stay";

    model.Undo();
    EXPECT_EQ(model.content().LearnedValues, before.LearnedValues);
    EXPECT_EQ(model.content().KnotMarks1, before.KnotMarks1);
}

} // namespace
