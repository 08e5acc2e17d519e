#include "oxygen_sensor.h"

#include "rounded_text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

constexpr int kNarrowBand = 0;
constexpr int kInnovate = 1;
constexpr int kWideVoltage = 2;
constexpr int kAem = 3;

int truncated(long double value) {
    return static_cast<int>(std::trunc(value));
}

int narrowBandColour(int level) {
    if (level < 124.5)
        return kO2Blue;
    if (level <= 199.2)
        return kO2Green;
    if (level <= 224.1)
        return kO2Yellow;
    return kO2Red;
}

int afrColour(int level) {
    if (level < 124.5)
        return kO2Blue;
    if (level <= 144.42)
        return kO2Green;
    if (level <= 174.3)
        return kO2Yellow;
    if (level <= 204.18)
        return kO2Orange;
    return kO2Red;
}

// "100N 1.95V": the live read-out divides by 256, unlike the reference hint.
std::string voltageText(int raw, char separator) {
    return std::to_string(raw) + "N " + roundedDecimalText(raw * 5.0L / 256, 2, separator) + "V";
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A floating-point number in the whole text: blanks around it, an optional sign, digits with at most
// one decimal separator, an optional exponent. Nothing else (no "inf", no point when the separator is
// a comma).
std::optional<long double> parseNumber(std::string_view text, char separator) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::string plain(text);
    std::size_t i = 0;
    if (i < plain.size() && (plain[i] == '+' || plain[i] == '-'))
        ++i;
    const std::size_t mantissaStart = i;
    bool digits = false;
    for (; i < plain.size() && isDigit(plain[i]); ++i)
        digits = true;
    if (i < plain.size() && plain[i] == separator) {
        plain[i++] = '.';
        for (; i < plain.size() && isDigit(plain[i]); ++i)
            digits = true;
    }
    if (!digits)
        return std::nullopt;
    if (i < plain.size() && (plain[i] == 'e' || plain[i] == 'E')) {
        ++i;
        if (i < plain.size() && (plain[i] == '+' || plain[i] == '-'))
            ++i;
        const std::size_t exponentStart = i;
        while (i < plain.size() && isDigit(plain[i]))
            ++i;
        if (i == exponentStart)
            return std::nullopt;
    }
    if (i != plain.size())
        return std::nullopt;
    long double value = 0;
    const char* first = plain.data() + mantissaStart;
    const auto result = std::from_chars(first, plain.data() + plain.size(), value);
    if (result.ec != std::errc())
        return std::nullopt;
    return plain[0] == '-' ? -value : value;
}

} // namespace

bool IsAfrSensor(int sensorType) {
    return sensorType == kInnovate || sensorType == kAem;
}

O2Reading ConvertO2(int raw, int sensorType, char separator) {
    O2Reading reading;
    if (sensorType == kNarrowBand) {
        const long double x = raw * 4.98L;
        reading.level = x > 255 ? 255 : truncated(x);
        reading.colour = narrowBandColour(reading.level);
        reading.text = voltageText(raw, separator);
    } else if (sensorType == kWideVoltage) {
        reading.level = raw;
        reading.colour = kO2Green;
        reading.text = voltageText(raw, separator);
    } else if (IsAfrSensor(sensorType)) {
        reading.level = truncated(255 - (raw - 73) * 1.7L);
        reading.colour = afrColour(reading.level);
        reading.text = roundedDecimalText(raw * 0.1L, 1, separator) + "AFR";
    }
    return reading;
}

std::optional<std::string> O2ReferenceHint(std::string_view valueText, int sensorType, char separator) {
    const std::optional<long double> value = parseNumber(valueText, separator);
    if (!value)
        return std::nullopt;
    if (IsAfrSensor(sensorType))
        return roundedDecimalText(*value * 0.1L, 2, separator) + " AFR";
    return roundedDecimalText(*value * 5 / 255, 2, separator) + " V";
}

std::string_view DefaultO2Reference(int sensorType) {
    return IsAfrSensor(sensorType) ? "147" : "30";
}
