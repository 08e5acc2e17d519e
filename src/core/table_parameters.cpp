#include "table_parameters.h"

#include "numbers.h"

namespace {

constexpr int EnrichmentZero = 128;

bool isPercentage(Parameter parameter) {
    return parameter != Parameter::MafTime && parameter != Parameter::Treshold &&
           parameter != Parameter::TpsThreshold;
}

int percentageOffset(Parameter parameter) {
    return parameter == Parameter::EnrichmentFactor ? EnrichmentZero : 0;
}

Parameter parameterAt(int i) {
    return static_cast<Parameter>(i);
}

} // namespace

int storedFromBox(Parameter parameter, std::string_view text) {
    const int n = leadingInteger(text);
    if (!isPercentage(parameter))
        return n;
    return roundHalfEven(percentageOffset(parameter) + n * 1.28L);
}

std::string shownInBox(Parameter parameter, int stored) {
    if (!isPercentage(parameter))
        return std::to_string(stored);
    // x 100 / 128 is exact in long double, so the halves the rule is about are seen as halves.
    const long double percent = (static_cast<long double>(stored) - percentageOffset(parameter)) * 100 / 128;
    return std::to_string(roundHalfTowardZero(percent));
}

void SetDefaultParameters(TableImage& image) {
    constexpr std::array<int, ParameterCount> defaults{4, 5, 128, 64, 128, 128, 128, 255};
    for (int i = 0; i < ParameterCount; ++i)
        image[parameterIndex(parameterAt(i))] = defaults[i];
}

ParameterTexts ShowParameters(const TableImage& image) {
    ParameterTexts texts;
    for (int i = 0; i < ParameterCount; ++i)
        texts[i] = shownInBox(parameterAt(i), image[parameterIndex(parameterAt(i))]);
    return texts;
}

void ReadParameters(TableImage& image, const ParameterTexts& texts) {
    for (int i = 0; i < ParameterCount; ++i)
        image[parameterIndex(parameterAt(i))] = storedFromBox(parameterAt(i), texts[i]);
}
