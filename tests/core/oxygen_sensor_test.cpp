#include "oxygen_sensor.h"

#include <gtest/gtest.h>

namespace {

struct BandCase {
    int sensorType;
    int raw;
    int level;
    int colour;
};

class O2Bands : public ::testing::TestWithParam<BandCase> {};

struct TextCase {
    int sensorType;
    int raw;
    char separator;
    std::string text;
};

class O2Texts : public ::testing::TestWithParam<TextCase> {};

struct HintCase {
    std::string valueText;
    int sensorType;
    char separator;
    std::optional<std::string> hint;
};

class O2Hints : public ::testing::TestWithParam<HintCase> {};

} // namespace

TEST_P(O2Bands, LevelAndColour) {
    const BandCase& c = GetParam();
    const O2Reading reading = ConvertO2(c.raw, c.sensorType, '.');
    EXPECT_EQ(reading.level, c.level);
    EXPECT_EQ(reading.colour, c.colour);
}

// Each band at both of its borders.
INSTANTIATE_TEST_SUITE_P(NarrowBand, O2Bands,
                         ::testing::Values(BandCase{0, 0, 0, kO2Blue}, BandCase{0, 25, 124, kO2Blue},
                                           BandCase{0, 26, 129, kO2Green}, BandCase{0, 39, 194, kO2Green},
                                           BandCase{0, 40, 199, kO2Green}, BandCase{0, 41, 204, kO2Yellow},
                                           BandCase{0, 45, 224, kO2Yellow}, BandCase{0, 46, 229, kO2Red},
                                           BandCase{0, 51, 253, kO2Red}, BandCase{0, 52, 255, kO2Red},
                                           BandCase{0, 255, 255, kO2Red}));

INSTANTIATE_TEST_SUITE_P(WideVoltage, O2Bands,
                         ::testing::Values(BandCase{2, 0, 0, kO2Green}, BandCase{2, 100, 100, kO2Green},
                                           BandCase{2, 255, 255, kO2Green}));

// Not clipped: rich mixtures rise above 255, lean ones fall below 0.
INSTANTIATE_TEST_SUITE_P(AirFuelRatio, O2Bands,
                         ::testing::Values(BandCase{1, 0, 379, kO2Red}, BandCase{1, 73, 255, kO2Red},
                                           BandCase{3, 102, 205, kO2Red}, BandCase{3, 103, 204, kO2Orange},
                                           BandCase{1, 120, 175, kO2Orange}, BandCase{1, 121, 173, kO2Yellow},
                                           BandCase{3, 137, 146, kO2Yellow}, BandCase{3, 138, 144, kO2Green},
                                           BandCase{1, 147, 129, kO2Green}, BandCase{1, 149, 125, kO2Green},
                                           BandCase{1, 150, 124, kO2Blue}, BandCase{3, 223, 0, kO2Blue},
                                           BandCase{1, 224, -1, kO2Blue}, BandCase{3, 255, -54, kO2Blue}));

TEST_P(O2Texts, ReadOut) {
    const TextCase& c = GetParam();
    EXPECT_EQ(ConvertO2(c.raw, c.sensorType, c.separator).text, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, O2Texts,
    ::testing::Values(TextCase{0, 100, '.', "100N 1.95V"}, TextCase{0, 100, ',', "100N 1,95V"},
                      TextCase{2, 0, '.', "0N 0V"}, TextCase{0, 127, '.', "127N 2.48V"},
                      // Exact halves go to the even hundredth.
                      TextCase{0, 32, '.', "32N 0.62V"}, TextCase{2, 96, '.', "96N 1.88V"},
                      TextCase{2, 160, '.', "160N 3.12V"}, TextCase{0, 224, '.', "224N 4.38V"},
                      TextCase{2, 255, '.', "255N 4.98V"}, TextCase{1, 147, '.', "14.7AFR"},
                      TextCase{3, 150, '.', "15AFR"}, TextCase{3, 147, ',', "14,7AFR"},
                      TextCase{1, 0, '.', "0AFR"}, TextCase{1, 255, '.', "25.5AFR"}));

TEST(ConvertO2, TypeWithoutConversionGivesEmptyReadOutLevel0AndNeutralColour) {
    for (const int type : {4, -1, 5, 1000}) {
        const O2Reading reading = ConvertO2(100, type, '.');
        EXPECT_EQ(reading, (O2Reading{0, kO2Neutral, ""})) << type;
    }
}

TEST_P(O2Hints, Text) {
    const HintCase& c = GetParam();
    EXPECT_EQ(O2ReferenceHint(c.valueText, c.sensorType, c.separator), c.hint);
}

INSTANTIATE_TEST_SUITE_P(
    Hints, O2Hints,
    ::testing::Values(HintCase{"147", 1, '.', "14.7 AFR"}, HintCase{"147", 3, '.', "14.7 AFR"},
                      HintCase{"30", 0, '.', "0.59 V"}, HintCase{"30", 2, ',', "0,59 V"},
                      // The hint divides by 255, the live read-out by 256.
                      HintCase{"255", 0, '.', "5 V"}, HintCase{"30", 4, '.', "0.59 V"},
                      HintCase{"30", -1, '.', "0.59 V"}, HintCase{" 12,5 ", 1, ',', "1,25 AFR"},
                      HintCase{"-5", 1, '.', "-0.5 AFR"}, HintCase{"1e2", 1, '.', "10 AFR"},
                      // Not numbers: the hint stays as it was.
                      HintCase{"", 1, '.', std::nullopt}, HintCase{"abc", 0, '.', std::nullopt},
                      HintCase{"14.7", 1, ',', std::nullopt}, HintCase{"12x", 0, '.', std::nullopt},
                      HintCase{"inf", 0, '.', std::nullopt}, HintCase{"-", 0, '.', std::nullopt}));

TEST(DefaultO2Reference, AirFuelRatioTypesTake147OthersTake30) {
    EXPECT_EQ(DefaultO2Reference(1), "147");
    EXPECT_EQ(DefaultO2Reference(3), "147");
    for (const int type : {0, 2, 4, -1})
        EXPECT_EQ(DefaultO2Reference(type), "30") << type;
}
