#pragma once
// Linear interpolation between knots of every curve of a table object, run after each edit.

#include "table_content.h"

// a is the MAF index of the point just edited: it decides whether the lines of Tab1 of set 1 are
// extended to the table's ends. Recomputes, in order: Tab1 of set 1 (single knot and end handling,
// Invert), learned values following Tab1, Tab2 of set 1, the learned curve, Tab1 and Tab2 of set 2.
void InterpolateKnots(TableContent& content, int a, bool endsInterpolation, bool invert);
