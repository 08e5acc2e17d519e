#include "digit_filter.h"
#include "target_grid_model.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>

namespace {

// Throttle headers 100, 90, ..., 10 from the top; speeds 1000, 1500, ..., 5500 from the left; each
// target tells its cell: 100 * column + row.
TargetGridModel headedGrid() {
    TargetGridModel grid;
    for (int row = 0; row < 10; ++row)
        grid.SetCell(0, row, std::to_string(100 - 10 * row));
    for (int column = 1; column <= 10; ++column)
        grid.SetCell(column, 10, std::to_string(500 + 500 * column));
    for (int row = 0; row < 10; ++row) {
        for (int column = 1; column <= 10; ++column)
            grid.SetCell(column, row, std::to_string(100 * column + row));
    }
    return grid;
}

struct PercentCase {
    int min;
    int max;
    int raw;
    int percent;
};

class TpsPercentCases : public ::testing::TestWithParam<PercentCase> {};

struct TargetCase {
    int rawTps; // calibration 0..100, so the raw value is the percentage
    int rpm;
    int column;
    int row;
};

class TargetAtCases : public ::testing::TestWithParam<TargetCase> {};

} // namespace

TEST_P(TpsPercentCases, ClampedAndRoundedHalvesToEven) {
    const PercentCase& c = GetParam();
    TargetGridModel model;
    model.SetCalibration(c.min, c.max);
    EXPECT_EQ(model.TpsPercent(c.raw), c.percent);
}

INSTANTIATE_TEST_SUITE_P(Calibrations, TpsPercentCases,
                         ::testing::Values(PercentCase{0, 255, 0, 0}, PercentCase{0, 255, 128, 50},
                                           PercentCase{0, 255, 255, 100}, PercentCase{0, 255, 51, 20},
                                           PercentCase{30, 230, 20, 0}, PercentCase{30, 230, 240, 100},
                                           PercentCase{30, 230, 130, 50}, PercentCase{0, 200, 1, 0},
                                           PercentCase{0, 200, 3, 2}, PercentCase{0, 200, 5, 2},
                                           PercentCase{0, 200, 7, 4},
                                           // Raw values outside 0..255 are clamped all the same.
                                           PercentCase{0, 255, -20, 0}, PercentCase{0, 255, 400, 100}));

TEST(TpsPercent, FirstCallWithAnEmptySpanResetsItTo0To255) {
    TargetGridModel model;
    EXPECT_EQ(model.TpsPercent(200), 0); // clamped to the empty span held on entry
    EXPECT_EQ(model.TpsMin(), 0);
    EXPECT_EQ(model.TpsMax(), 255);
    EXPECT_EQ(model.TpsPercent(200), 78);
    EXPECT_EQ(model.TpsPercent(255), 100);
}

TEST(TpsPercent, EmptySpanAnywhereIsResetAfterClamping) {
    TargetGridModel model;
    model.SetCalibration(100, 100);
    EXPECT_EQ(model.TpsPercent(50), 39); // clamped to 100, then scaled from 0..255
    EXPECT_EQ(model.TpsMax(), 255);
}

TEST_P(TargetAtCases, TopmostRowAndRightmostColumnNotAboveTheOperatingPoint) {
    const TargetCase& c = GetParam();
    TargetGridModel model = headedGrid();
    model.SetCalibration(0, 100);
    EXPECT_EQ(model.TargetAt(c.rawTps, c.rpm),
              (TargetGridModel::Choice{c.column, c.row, 100 * c.column + c.row}));
}

INSTANTIATE_TEST_SUITE_P(
    OperatingPoints, TargetAtCases,
    ::testing::Values(TargetCase{95, 900, 1, 1}, TargetCase{5, 1000, 1, 9}, TargetCase{100, 1499, 1, 0},
                      TargetCase{10, 1500, 2, 9}, TargetCase{90, 5499, 9, 1}, TargetCase{50, 5500, 10, 5},
                      // Not clamped: beyond 100 % stays on the top row, below 0 % on the bottom one.
                      TargetCase{250, 99999, 10, 0}, TargetCase{-30, -5, 1, 9}, TargetCase{49, 3000, 5, 6}));

TEST(TargetAt, PercentageIsRoundedFromTheCalibrationWithoutClamping) {
    TargetGridModel model = headedGrid();
    model.SetCalibration(20, 220);
    // (39 - 20) / 200 = 9.5 % rounds to 10 (even): row 9; (41 - 20) / 200 = 10.5 % rounds to 10 too.
    EXPECT_EQ(model.TargetAt(39, 1000).row, 9);
    EXPECT_EQ(model.TargetAt(41, 1000).row, 9);
    EXPECT_EQ(model.TargetAt(37, 1000).row, 9); // 8.5 % rounds to 8, no header: row 9
    EXPECT_EQ(model.TargetAt(400, 1000).row, 0);
    EXPECT_EQ(model.TpsMin(), 20);
    EXPECT_EQ(model.TpsMax(), 220);
}

TEST(TargetAt, EmptyGridSelectsColumn10AndRow0OrRow9BelowZero) {
    TargetGridModel model;
    model.SetCalibration(10, 200);
    EXPECT_EQ(model.TargetAt(10, 800), (TargetGridModel::Choice{10, 0, 0}));
    EXPECT_EQ(model.TargetAt(0, 800), (TargetGridModel::Choice{10, 9, 0}));
}

TEST(TargetAt, EmptySpanIsResetLikeTpsPercentInsteadOfDividingByZero) {
    TargetGridModel model = headedGrid();
    EXPECT_EQ(model.TargetAt(255, 1000), (TargetGridModel::Choice{1, 0, 100}));
    EXPECT_EQ(model.TpsMax(), 255);
}

TEST(TargetAt, CellsAreReadAsLeadingIntegers) {
    TargetGridModel model = headedGrid();
    model.SetCell(0, 4, " 55abc"); // counts as 55
    model.SetCell(3, 10, "x");     // counts as 0, so column 3 is the rightmost not above 1000 rpm
    model.SetCell(3, 4, "14 7");
    model.SetCalibration(0, 100);
    EXPECT_EQ(model.TargetAt(57, 1000), (TargetGridModel::Choice{3, 4, 14}));
}

TEST(FillTargets, WritesTheValueIntoEveryTargetAndLeavesHeaders) {
    TargetGridModel grid = headedGrid();
    grid.SetCell(0, 10, "corner");
    grid.FillTargets(147);
    for (int row = 0; row <= 10; ++row) {
        for (int column = 0; column <= 10; ++column) {
            const TargetGridModel original = headedGrid();
            if (column == 0 && row == 10)
                EXPECT_EQ(grid.Cell(column, row), "corner");
            else if (column == 0 || row == 10)
                EXPECT_EQ(grid.Cell(column, row), original.Cell(column, row));
            else
                EXPECT_EQ(grid.Cell(column, row), "147");
        }
    }
    grid.FillTargets(-5);
    EXPECT_EQ(grid.Cell(10, 9), "-5");
}

TEST(TargetGridModelCells, StartEmptyAndRefuseAPlaceOutsideTheGrid) {
    TargetGridModel grid;
    EXPECT_EQ(grid.Cell(10, 10), "");
    EXPECT_THROW(grid.SetCell(11, 0, "1"), std::out_of_range);
    EXPECT_THROW((void)grid.Cell(0, -1), std::out_of_range);
}

TEST(TargetGridCellRules, KindsAndEditMasks) {
    using Kind = TargetGridModel::CellKind;
    EXPECT_EQ(TargetGridModel::KindOf(0, 0), Kind::ThrottleHeader);
    EXPECT_EQ(TargetGridModel::KindOf(0, 9), Kind::ThrottleHeader);
    EXPECT_EQ(TargetGridModel::KindOf(0, 10), Kind::Corner);
    EXPECT_EQ(TargetGridModel::KindOf(1, 10), Kind::SpeedHeader);
    EXPECT_EQ(TargetGridModel::KindOf(10, 10), Kind::SpeedHeader);
    EXPECT_EQ(TargetGridModel::KindOf(1, 0), Kind::Target);
    EXPECT_EQ(TargetGridModel::KindOf(10, 9), Kind::Target);
    EXPECT_EQ(TargetGridModel::EditMaskFor(10), "!9999;1;");
    EXPECT_EQ(TargetGridModel::EditMaskFor(0), "!999;1;");
    EXPECT_EQ(TargetGridModel::EditMaskFor(9), "!999;1;");
}

TEST(TargetGridCellRules, SelectingACell) {
    using Selection = TargetGridModel::Selection;
    EXPECT_EQ(TargetGridModel::SelectCell(0, 10, "", 1, '.'), (Selection{false, false, std::nullopt}));
    EXPECT_EQ(TargetGridModel::SelectCell(0, 3, "90", 1, '.'), (Selection{true, false, std::nullopt}));
    EXPECT_EQ(TargetGridModel::SelectCell(4, 10, "2500", 1, '.'), (Selection{true, false, std::nullopt}));
    EXPECT_EQ(TargetGridModel::SelectCell(4, 3, "147", 1, '.'), (Selection{true, true, "14.7 AFR"}));
    EXPECT_EQ(TargetGridModel::SelectCell(4, 3, "30", 0, ','), (Selection{true, true, "0,59 V"}));
    // A cell without a number shows the hint it had.
    EXPECT_EQ(TargetGridModel::SelectCell(4, 3, "", 0, '.'), (Selection{true, true, std::nullopt}));
}

TEST(DigitFilter, OnlyDigitsPass) {
    for (char32_t key = U'0'; key <= U'9'; ++key) {
        EXPECT_TRUE(DigitKeyAccepted(key));
        EXPECT_TRUE(O2ReferenceKeyAccepted(key));
    }
    for (const char32_t key : {U'a', U' ', U'-', U'+', U'.', U',', char32_t{8}, char32_t{27}, U'\u0663'}) {
        EXPECT_FALSE(DigitKeyAccepted(key));
        EXPECT_FALSE(O2ReferenceKeyAccepted(key));
    }
    // Enter passes silently in the O2 reference box only.
    EXPECT_FALSE(DigitKeyAccepted(13));
    EXPECT_TRUE(O2ReferenceKeyAccepted(13));
    EXPECT_EQ(kNotDigitMessage, "Ай-ай-ай, это не циферка! This is not digit!!!");
}
