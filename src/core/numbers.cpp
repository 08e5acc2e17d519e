#include "numbers.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace {

int saturateToInt(long double integral) {
    if (std::isnan(integral))
        return 0;
    if (integral <= static_cast<long double>(INT_MIN))
        return INT_MIN;
    if (integral >= static_cast<long double>(INT_MAX))
        return INT_MAX;
    return static_cast<int>(integral);
}

// value - floor(value) is exact in binary floating point, so a half is recognised exactly.
template <typename HalfGoesUp> int roundToNearest(long double value, HalfGoesUp halfGoesUp) {
    long double lower = std::floor(value);
    const long double fraction = value - lower;
    if (fraction > 0.5L || (fraction == 0.5L && halfGoesUp(lower)))
        lower += 1;
    return saturateToInt(lower);
}

} // namespace

int roundHalfEven(long double value) {
    return roundToNearest(value, [](long double lower) { return std::fmod(lower, 2.0L) != 0; });
}

int roundHalfTowardZero(long double value) {
    return roundToNearest(value, [](long double lower) { return lower < 0; });
}

int roundHalfUp(long double value) {
    return roundToNearest(value, [](long double) { return true; });
}

int leadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Stop accumulating once past the int range; the remaining digits are still part of the number.
    constexpr long long limit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (magnitude < limit)
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (negative)
        return magnitude >= limit ? INT_MIN : static_cast<int>(-magnitude);
    return magnitude >= limit ? INT_MAX : static_cast<int>(magnitude);
}

std::optional<int> strictInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t signEnd = i < text.size() && (text[i] == '+' || text[i] == '-') ? i + 1 : i;
    if (signEnd == text.size())
        return std::nullopt;
    for (std::size_t k = signEnd; k < text.size(); ++k)
        if (text[k] < '0' || text[k] > '9')
            return std::nullopt;
    if (text.size() - signEnd > 10)
        return std::nullopt;
    const long long value = leadingInteger(text);
    if (value == INT_MAX || value == INT_MIN) {
        // leadingInteger saturates: tell a true limit from an overflow by the digits themselves.
        const std::string_view digits = text.substr(signEnd);
        const std::string_view limit = value == INT_MAX ? "2147483647" : "2147483648";
        if (digits.size() == limit.size() && digits > limit)
            return std::nullopt;
    }
    return static_cast<int>(value);
}

std::string shortestDecimalText(double value, char separator) {
    if (value == 0)
        value = 0; // drops the sign of negative zero
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    for (char& c : text) {
        if (c == '.')
            c = separator;
    }
    return text;
}
