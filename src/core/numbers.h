#pragma once
// Number rules shared by the table, log and dashboard code: one helper per rounding rule, the
// lenient integer reading of the table parameter boxes, and number-to-text.

#include <optional>
#include <string>
#include <string_view>

// Round to the nearest integer. The three differ only at an exact half. Results beyond the range of
// int saturate at its limits and NaN gives 0, so no caller can hit an undefined conversion.
int roundHalfEven(long double value);
int roundHalfTowardZero(long double value);
int roundHalfUp(long double value);

// The decimal integer at the start of the text: leading blanks skipped, one optional sign, digits up
// to the first other character. Empty or non-numeric text gives 0; values beyond int saturate.
int leadingInteger(std::string_view text);

// The whole text as a decimal integer within the int range: leading blanks, one optional sign,
// then digits only. Anything else (empty, trailing characters, overflow) gives no value.
std::optional<int> strictInteger(std::string_view text);

// The shortest decimal text that reads back as the same double, with the given decimal separator
// (3.6 -> "3,6" for ','; 3.0 -> "3"). Negative zero is written "0".
std::string shortestDecimalText(double value, char separator);
