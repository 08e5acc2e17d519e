#pragma once
// Read-out numbers: rounded to a number of decimals (halves to even), then written in the shortest
// decimal form with the given separator (2.5098 to 2 decimals gives "2.51", 5.0 gives "5").

#include <string>

std::string roundedDecimalText(long double value, int decimals, char separator);
