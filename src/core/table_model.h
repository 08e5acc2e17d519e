#pragma once
// The editing rules of one table object (the working table or the comparison table): both table
// sets, knot marks, learned points, the two mode flags and a one-level undo. The Qt Table binds this
// to its parameter boxes and charts; nothing here shows or redraws anything.

#include "tab_file.h"
#include "table_content.h"
#include "table_image.h"
#include "table_parameters.h"

#include <string_view>

enum class TableSet { First, Second };

// What a committed correction changes: the whole window while live data is stopped, only its centre
// while live data runs.
enum class CorrectionScope { WholeWindow, Centre };

// The curve the table chart edits.
enum class TableCurve { Set1Tab1, Set1Tab2, Learned, Set2Tab1, Set2Tab2 };

class TableModel {
public:
    // All outputs 0, default parameters in both sets, no knots or learned points, both flags off,
    // and a snapshot of that state.
    TableModel();

    const TableContent& content() const { return current; }
    const TableImage& image(TableSet set) const;

    bool endsInterpolation() const { return EndsInterpolation; }
    bool invert() const { return Invert; }
    // Only set the flag; nothing is recomputed.
    void SetEndsInterpolation(bool on) { EndsInterpolation = on; }
    void SetInvert(bool on) { Invert = on; }

    void SetDefaultParameters(TableSet set);
    void ReadParameters(TableSet set, const ParameterTexts& texts);

    // No snapshot is taken; knot marks and learned values stay.
    void CopyRegion(CopyMode mode, TableSet source, TableSet target);

    // Snapshot, then the point of the given curve (x, y 0..255) becomes a knot; Tab2 below MAF 8 does
    // not exist and stays. On the learned curve a point below the table forgets the learned value, a
    // point on or above it learns the table's value. interpolate: the chart's interpolation toggle.
    void SetPoint(TableCurve curve, int x, int y, bool interpolate);

    // Snapshot, then writes the table in effect at tps (the threshold is the number in
    // thresholdText). Interpolation runs only for Tab1; a Tab2 knot takes part in the next run.
    void SetActiveTableValue(int x, int value, int tps, bool markKnot, std::string_view thresholdText);

    // The output of the table in effect at tps.
    int ActiveTableValue(int x, int tps, std::string_view thresholdText) const;

    // a: the MAF index of the point just edited.
    void InterpolateKnots(int a);

    // The interpolation toggle starts afresh: no knot in either set nor on the learned curve.
    void clearKnotMarks();

    // Snapshot, then Tab1 and Tab2 of set 1 become the identity line (falling from 255 to 0 with
    // Invert) and the parameters of set 1 their defaults. Knot marks and learned values stay.
    void replaceWithIdentity();

    // Adds value to Tab1 of set 1, limited to 0..255, and learns the corrected points at their new
    // values. The whole window begin..end makes every point a knot of both curves; the centre alone
    // becomes a knot while its neighbours stop being knots. The table is then interpolated from the
    // corrected point. No snapshot is taken.
    void ApplyCorrection(int value, int begin, int end, CorrectionScope scope);

    // Snapshot, then begin..end forget their learned values, their Tab1 knots of set 1 and their
    // learned knots. Table values stay.
    void ClearLearned(int begin, int end);

    // Replaces the set with a file's image; learned values from the file go into set 1 only. A
    // snapshot is taken afterwards, so undo returns to the loaded state.
    void LoadTabFile(TableSet set, const TabFileContent& file);

    void TakeSnapshot() { Snapshot = current; }
    // Restores the snapshot without taking one: a second Undo restores the same state again.
    void Undo() { current = Snapshot; }

private:
    TableImage& imageOf(TableSet set);
    void setEntry(TableSet set, int index, int value, bool markKnot);

    TableContent current;
    TableContent Snapshot;
    bool EndsInterpolation = false;
    bool Invert = false;
};
