#include "digit_filter.h"

namespace {
constexpr char32_t kEnter = 13;
} // namespace

bool DigitKeyAccepted(char32_t key) {
    return key >= U'0' && key <= U'9';
}

bool O2ReferenceKeyAccepted(char32_t key) {
    return key == kEnter || DigitKeyAccepted(key);
}
