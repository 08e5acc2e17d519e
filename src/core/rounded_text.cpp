#include "rounded_text.h"

#include "numbers.h"

#include <cmath>

std::string roundedDecimalText(long double value, int decimals, char separator) {
    const long double scale = std::pow(10.0L, decimals);
    return shortestDecimalText(static_cast<double>(roundHalfEven(value * scale) / scale), separator);
}
