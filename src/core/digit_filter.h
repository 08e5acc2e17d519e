#pragma once
// The key filters of the number boxes on the autotuning page: digits only, and in the O2 reference box
// Enter as well. A refused key is dropped and the message below is shown.

#include <string_view>

inline constexpr std::string_view kNotDigitMessage = "Ай-ай-ай, это не циферка! This is not digit!!!";

// Digits 0..9 pass; every other character, control keys included, is refused.
bool DigitKeyAccepted(char32_t key);
// As DigitKeyAccepted, and Enter (character 13) passes silently.
bool O2ReferenceKeyAccepted(char32_t key);
