#pragma once
// Colours travel in messages as 0x00BBGGRR: red in the low byte.

#include <QColor>

inline QColor ColourFromBgr(int bgr) {
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
