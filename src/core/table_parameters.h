#pragma once
// The eight converter parameters held in entries 256..263 of a table image, and their conversion to
// and from the texts of the parameter boxes.

#include "table_image.h"

#include <array>
#include <string>
#include <string_view>

// In entry order.
enum class Parameter {
    MafTime,
    Treshold,
    EnrichmentFactor,
    EnleanmentFactor,
    SmoothMaf,
    SmoothTps,
    SmoothRpm,
    TpsThreshold
};

// The texts of the eight parameter boxes of one table set, in entry order.
using ParameterTexts = std::array<std::string, ParameterCount>;

constexpr int parameterIndex(Parameter parameter) {
    return ParameterBlockStart + static_cast<int>(parameter);
}

// The value stored from a box text. Percentages are stored as n x 1.28 (EnrichmentFactor as
// 128 + n x 1.28), rounded half to even. No range check: 999 stores 1279, which is kept in memory
// and only its low byte is sent.
int storedFromBox(Parameter parameter, std::string_view text);

// The box text for a stored value: percentages as stored x 100/128 (EnrichmentFactor less 128 first),
// an exact half rounded toward zero (16 shows "12", EnrichmentFactor 112 shows "-12").
std::string shownInBox(Parameter parameter, int stored);

// Entries 256..263 := 4, 5, 128, 64, 128, 128, 128, 255.
void SetDefaultParameters(TableImage& image);

ParameterTexts ShowParameters(const TableImage& image);

void ReadParameters(TableImage& image, const ParameterTexts& texts);
