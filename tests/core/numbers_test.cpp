#include "numbers.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

namespace {

struct RoundingCase {
    long double value;
    int halfEven;
    int halfTowardZero;
    int halfUp;
};

class Rounding : public testing::TestWithParam<RoundingCase> {};

TEST_P(Rounding, EachRuleDecidesHalvesItsOwnWay) {
    const RoundingCase& c = GetParam();
    EXPECT_EQ(roundHalfEven(c.value), c.halfEven);
    EXPECT_EQ(roundHalfTowardZero(c.value), c.halfTowardZero);
    EXPECT_EQ(roundHalfUp(c.value), c.halfUp);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, Rounding,
    testing::Values(RoundingCase{0.5L, 0, 0, 1}, RoundingCase{1.5L, 2, 1, 2}, RoundingCase{2.5L, 2, 2, 3},
                    RoundingCase{12.5L, 12, 12, 13}, RoundingCase{-0.5L, 0, 0, 0},
                    RoundingCase{-1.5L, -2, -1, -1}, RoundingCase{-12.5L, -12, -12, -12},
                    RoundingCase{100.49L, 100, 100, 100}, RoundingCase{100.51L, 101, 101, 101},
                    RoundingCase{-2.7L, -3, -3, -3}, RoundingCase{1278.72L, 1279, 1279, 1279},
                    RoundingCase{7.0L, 7, 7, 7}));

TEST(Rounding, KeepsExtendedPrecisionNearAHalf) {
    // Just above a half only in long double: a double would have rounded it to 0.5.
    const long double justAboveHalf = 0.5L + std::ldexp(1.0L, -60);
    EXPECT_EQ(roundHalfEven(justAboveHalf), 1);
    EXPECT_EQ(roundHalfTowardZero(justAboveHalf), 1);
}

TEST(Rounding, SaturatesOutsideIntAndMapsNaNToZero) {
    EXPECT_EQ(roundHalfEven(1e30L), INT_MAX);
    EXPECT_EQ(roundHalfTowardZero(-1e30L), INT_MIN);
    EXPECT_EQ(roundHalfUp(std::numeric_limits<long double>::infinity()), INT_MAX);
    EXPECT_EQ(roundHalfEven(std::numeric_limits<long double>::quiet_NaN()), 0);
}

struct LeadingIntegerCase {
    const char* text;
    int expected;
};

class LeadingInteger : public testing::TestWithParam<LeadingIntegerCase> {};

TEST_P(LeadingInteger, ReadsTheNumberAtTheStartOrZero) {
    EXPECT_EQ(leadingInteger(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Numbers, LeadingInteger,
                         testing::Values(LeadingIntegerCase{"", 0}, LeadingIntegerCase{"abc", 0},
                                         LeadingIntegerCase{"999", 999}, LeadingIntegerCase{"  42", 42},
                                         LeadingIntegerCase{"-12x", -12}, LeadingIntegerCase{"+7", 7},
                                         LeadingIntegerCase{"12 34", 12}, LeadingIntegerCase{"-", 0},
                                         LeadingIntegerCase{"- 5", 0}, LeadingIntegerCase{"--5", 0},
                                         LeadingIntegerCase{"2147483647", INT_MAX},
                                         LeadingIntegerCase{"99999999999999999999", INT_MAX},
                                         LeadingIntegerCase{"-2147483648", INT_MIN},
                                         LeadingIntegerCase{"-99999999999999999999", INT_MIN}));

struct DecimalTextCase {
    double value;
    char separator;
    const char* expected;
};

class ShortestDecimalText : public testing::TestWithParam<DecimalTextCase> {};

TEST_P(ShortestDecimalText, WritesTheShortestFormWithTheSeparator) {
    EXPECT_EQ(shortestDecimalText(GetParam().value, GetParam().separator), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Numbers, ShortestDecimalText,
                         testing::Values(DecimalTextCase{3.6, '.', "3.6"}, DecimalTextCase{3.6, ',', "3,6"},
                                         DecimalTextCase{3.0, ',', "3"}, DecimalTextCase{0.0, '.', "0"},
                                         DecimalTextCase{-0.0, '.', "0"},
                                         DecimalTextCase{-0.25, ',', "-0,25"},
                                         DecimalTextCase{2.51, '.', "2.51"},
                                         DecimalTextCase{1279.5, '.', "1279.5"},
                                         // v x 0.1 formed in extended precision and handed over as a double
                                         DecimalTextCase{static_cast<double>(36 * 0.1L), '.', "3.6"}));

} // namespace

namespace {

TEST(StrictInteger, TakesOnlyAWholeDecimalInteger) {
    const std::pair<const char*, std::optional<int>> cases[] = {{"1200", 1200},
                                                                {"  2", 2},
                                                                {"-5", -5},
                                                                {"+7", 7},
                                                                {"", std::nullopt},
                                                                {" ", std::nullopt},
                                                                {"-", std::nullopt},
                                                                {"12a", std::nullopt},
                                                                {"1 2", std::nullopt},
                                                                {"4 ", std::nullopt},
                                                                {"2147483647", 2147483647},
                                                                {"2147483648", std::nullopt},
                                                                {"-2147483648", INT_MIN},
                                                                {"99999999999", std::nullopt},
                                                                {"1.5", std::nullopt}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(strictInteger(text), expected) << '"' << text << '"';
}

} // namespace
