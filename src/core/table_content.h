#pragma once
// Everything a table object edits and its one-level undo restores: both table sets, their knot
// marks, and the learned curve.

#include "table_image.h"

// A knot mark above 0 makes the entry (or MAF point) an interpolation knot.
inline constexpr int KnotMark = 255;

using KnotMarkArray = std::array<int, TableImageSize>;

struct TableContent {
    TableImage set1{};
    TableImage set2{}; // used by the comparison table only
    KnotMarkArray KnotMarks1{};
    KnotMarkArray KnotMarks2{};
    // By MAF; 0 = not learned. Belongs to Tab1 of set 1.
    MafValues LearnedValues{};
    MafValues LearnedKnotMarks{};
};
