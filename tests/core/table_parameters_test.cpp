#include "table_parameters.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ShownCase {
    Parameter parameter;
    int stored;
    const char* shown;
};

class ParameterShown : public testing::TestWithParam<ShownCase> {};

TEST_P(ParameterShown, RoundsExactHalvesTowardZero) {
    EXPECT_EQ(shownInBox(GetParam().parameter, GetParam().stored), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    TableParameters, ParameterShown,
    testing::Values(
        ShownCase{Parameter::SmoothMaf, 16, "12"}, ShownCase{Parameter::SmoothMaf, 48, "37"},
        ShownCase{Parameter::SmoothTps, 80, "62"}, ShownCase{Parameter::SmoothRpm, 128, "100"},
        ShownCase{Parameter::SmoothMaf, 1279, "999"}, ShownCase{Parameter::EnleanmentFactor, 64, "50"},
        ShownCase{Parameter::EnrichmentFactor, 112, "-12"}, ShownCase{Parameter::EnrichmentFactor, 0, "-100"},
        ShownCase{Parameter::EnrichmentFactor, 256, "100"}, ShownCase{Parameter::SmoothTps, -16, "-12"},
        ShownCase{Parameter::MafTime, 4, "4"}, ShownCase{Parameter::Treshold, 300, "300"},
        ShownCase{Parameter::TpsThreshold, 255, "255"}));

struct StoredCase {
    Parameter parameter;
    const char* text;
    int stored;
};

class ParameterStored : public testing::TestWithParam<StoredCase> {};

TEST_P(ParameterStored, ReadsTheLeadingIntegerAndRoundsTheProduct) {
    EXPECT_EQ(storedFromBox(GetParam().parameter, GetParam().text), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(TableParameters, ParameterStored,
                         testing::Values(StoredCase{Parameter::SmoothMaf, "999", 1279},
                                         StoredCase{Parameter::EnrichmentFactor, "100", 256},
                                         StoredCase{Parameter::EnrichmentFactor, "0", 128},
                                         StoredCase{Parameter::EnrichmentFactor, "-12", 113},
                                         StoredCase{Parameter::EnleanmentFactor, "50", 64},
                                         StoredCase{Parameter::SmoothRpm, "12", 15},
                                         StoredCase{Parameter::SmoothTps, "2", 3},
                                         StoredCase{Parameter::SmoothMaf, "", 0},
                                         StoredCase{Parameter::SmoothMaf, "abc", 0},
                                         StoredCase{Parameter::MafTime, " 7 ", 7},
                                         StoredCase{Parameter::TpsThreshold, "100x", 100},
                                         StoredCase{Parameter::Treshold, "999", 999}));

TEST(TableParameters, EveryBoxNumberShowsBackUnchanged) {
    for (const Parameter parameter : {Parameter::EnrichmentFactor, Parameter::EnleanmentFactor,
                                      Parameter::SmoothMaf, Parameter::SmoothTps, Parameter::SmoothRpm}) {
        for (int n = -999; n <= 999; ++n) {
            const std::string text = std::to_string(n);
            ASSERT_EQ(shownInBox(parameter, storedFromBox(parameter, text)), text)
                << static_cast<int>(parameter);
        }
    }
}

TEST(TableParameters, DefaultsShowAsTheBoxesDesignTextsAndStoreBack) {
    TableImage image{};
    SetDefaultParameters(image);
    const ParameterTexts texts = ShowParameters(image);
    EXPECT_EQ(texts, (ParameterTexts{"4", "5", "0", "50", "100", "100", "100", "255"}));

    TableImage readBack{};
    ReadParameters(readBack, texts);
    for (int i = ParameterBlockStart; i < ParameterBlockStart + ParameterCount; ++i)
        EXPECT_EQ(readBack[i], image[i]) << i;
    EXPECT_EQ(image[parameterIndex(Parameter::EnrichmentFactor)], 128);
    EXPECT_EQ(image[parameterIndex(Parameter::TpsThreshold)], 255);
}

TEST(TableParameters, ValuesAboveAByteStayInMemoryAndTravelAsTheirLowByte) {
    TableImage image{};
    ReadParameters(image, ParameterTexts{"4", "5", "100", "50", "999", "100", "100", "255"});
    EXPECT_EQ(image[parameterIndex(Parameter::SmoothMaf)], 1279);
    EXPECT_EQ(image[parameterIndex(Parameter::EnrichmentFactor)], 256);
    EXPECT_EQ(ShowParameters(image)[static_cast<int>(Parameter::SmoothMaf)], "999");

    const TableImageBytes bytes = imageBytes(image);
    EXPECT_EQ(bytes[parameterIndex(Parameter::SmoothMaf)], 0xFF);
    EXPECT_EQ(bytes[parameterIndex(Parameter::EnrichmentFactor)], 0x00);
}

} // namespace
