#include "table_model.h"

#include "knot_interpolation.h"
#include "numbers.h"

#include <algorithm>

#include <stdexcept>
#include <string>

namespace {

// Callers pass chart or log indexes that are 0..255 by construction; anything else is a bug that
// must not write outside the arrays.
void requireMaf(int x) {
    if (x < 0 || x >= MafCount)
        throw std::out_of_range("MAF index out of range: " + std::to_string(x));
}

} // namespace

TableModel::TableModel() {
    ::SetDefaultParameters(current.set1);
    ::SetDefaultParameters(current.set2);
    TakeSnapshot();
}

const TableImage& TableModel::image(TableSet set) const {
    return set == TableSet::First ? current.set1 : current.set2;
}

TableImage& TableModel::imageOf(TableSet set) {
    return set == TableSet::First ? current.set1 : current.set2;
}

void TableModel::setEntry(TableSet set, int index, int value, bool markKnot) {
    imageOf(set)[index] = value;
    if (markKnot)
        (set == TableSet::First ? current.KnotMarks1 : current.KnotMarks2)[index] = KnotMark;
}

void TableModel::SetDefaultParameters(TableSet set) {
    ::SetDefaultParameters(imageOf(set));
}

void TableModel::ReadParameters(TableSet set, const ParameterTexts& texts) {
    ::ReadParameters(imageOf(set), texts);
}

void TableModel::CopyRegion(CopyMode mode, TableSet source, TableSet target) {
    ::CopyRegion(mode, image(source), imageOf(target));
}

void TableModel::SetPoint(TableCurve curve, int x, int y, bool interpolate) {
    requireMaf(x);
    TakeSnapshot();
    switch (curve) {
    case TableCurve::Set1Tab1:
        setEntry(TableSet::First, x, y, true);
        break;
    case TableCurve::Set1Tab2:
        if (x >= Tab2FirstMaf)
            setEntry(TableSet::First, tab2Index(x), y, true);
        break;
    case TableCurve::Set2Tab1:
        setEntry(TableSet::Second, x, y, true);
        break;
    case TableCurve::Set2Tab2:
        if (x >= Tab2FirstMaf)
            setEntry(TableSet::Second, tab2Index(x), y, true);
        break;
    case TableCurve::Learned:
        current.LearnedValues[x] = current.set1[x] > y ? 0 : current.set1[x];
        current.LearnedKnotMarks[x] = KnotMark;
        break;
    }
    if (interpolate)
        InterpolateKnots(x);
}

void TableModel::SetActiveTableValue(int x, int value, int tps, bool markKnot,
                                     std::string_view thresholdText) {
    requireMaf(x);
    TakeSnapshot();
    if (!table2InEffect(tps, thresholdText)) {
        setEntry(TableSet::First, x, value, markKnot);
        if (markKnot)
            InterpolateKnots(x);
    } else if (x >= Tab2FirstMaf) {
        setEntry(TableSet::First, tab2Index(x), value, markKnot);
    }
}

int TableModel::ActiveTableValue(int x, int tps, std::string_view thresholdText) const {
    requireMaf(x);
    return table2InEffect(tps, thresholdText) ? tab2Value(current.set1, x) : current.set1[x];
}

void TableModel::InterpolateKnots(int a) {
    ::InterpolateKnots(current, a, EndsInterpolation, Invert);
}

void TableModel::clearKnotMarks() {
    current.KnotMarks1.fill(0);
    current.KnotMarks2.fill(0);
    current.LearnedKnotMarks.fill(0);
}

void TableModel::replaceWithIdentity() {
    TakeSnapshot();
    for (int x = 0; x < MafCount; ++x)
        current.set1[x] = Invert ? 255 - x : x;
    CopyRegion(CopyMode::Tab1ToTab2, TableSet::First, TableSet::First);
    SetDefaultParameters(TableSet::First);
}

void TableModel::ApplyCorrection(int value, int begin, int end, CorrectionScope scope) {
    requireMaf(begin);
    requireMaf(end);
    const auto correct = [&](int x) {
        current.set1[x] = std::clamp(current.set1[x] + value, 0, 255);
        current.LearnedValues[x] = current.set1[x];
        current.KnotMarks1[x] = KnotMark;
    };
    int edited = end;
    if (scope == CorrectionScope::WholeWindow) {
        for (int x = begin; x <= end; ++x) {
            correct(x);
            current.LearnedKnotMarks[x] = KnotMark;
        }
    } else {
        edited = roundHalfEven((begin + end) / 2.0L);
        correct(edited);
        if (edited > 0 && edited < MafCount - 1) {
            current.KnotMarks1[edited - 1] = 0;
            current.KnotMarks1[edited + 1] = 0;
        }
    }
    InterpolateKnots(edited);
}

void TableModel::ClearLearned(int begin, int end) {
    requireMaf(begin);
    requireMaf(end);
    TakeSnapshot();
    for (int x = begin; x <= end; ++x) {
        current.LearnedValues[x] = 0;
        current.KnotMarks1[x] = 0;
        current.LearnedKnotMarks[x] = 0;
    }
}

void TableModel::LoadTabFile(TableSet set, const TabFileContent& file) {
    imageOf(set) = file.image;
    if (set == TableSet::First && file.learnedValues)
        current.LearnedValues = *file.learnedValues;
    TakeSnapshot();
}
