#include "table_model.h"

#include "knot_interpolation.h"

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
    ::SetDefaultParameters(content.set1);
    ::SetDefaultParameters(content.set2);
    TakeSnapshot();
}

const TableImage& TableModel::Image(TableSet set) const {
    return set == TableSet::First ? content.set1 : content.set2;
}

TableImage& TableModel::image(TableSet set) {
    return set == TableSet::First ? content.set1 : content.set2;
}

void TableModel::setEntry(TableSet set, int index, int value, bool markKnot) {
    image(set)[index] = value;
    if (markKnot)
        (set == TableSet::First ? content.KnotMarks1 : content.KnotMarks2)[index] = KnotMark;
}

void TableModel::SetDefaultParameters(TableSet set) {
    ::SetDefaultParameters(image(set));
}

void TableModel::ReadParameters(TableSet set, const ParameterTexts& texts) {
    ::ReadParameters(image(set), texts);
}

void TableModel::CopyRegion(CopyMode mode, TableSet source, TableSet target) {
    ::CopyRegion(mode, Image(source), image(target));
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
        content.LearnedValues[x] = content.set1[x] > y ? 0 : content.set1[x];
        content.LearnedKnotMarks[x] = KnotMark;
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
    return table2InEffect(tps, thresholdText) ? tab2Value(content.set1, x) : content.set1[x];
}

void TableModel::InterpolateKnots(int a) {
    ::InterpolateKnots(content, a, endsInterpolation, invert);
}

void TableModel::ClearKnotMarks() {
    content.KnotMarks1.fill(0);
    content.KnotMarks2.fill(0);
    content.LearnedKnotMarks.fill(0);
}

void TableModel::ReplaceWithIdentity() {
    TakeSnapshot();
    for (int x = 0; x < MafCount; ++x)
        content.set1[x] = invert ? 255 - x : x;
    CopyRegion(CopyMode::Tab1ToTab2, TableSet::First, TableSet::First);
    SetDefaultParameters(TableSet::First);
}

void TableModel::LoadTabFile(TableSet set, const TabFileContent& file) {
    image(set) = file.image;
    if (set == TableSet::First && file.learnedValues)
        content.LearnedValues = *file.learnedValues;
    TakeSnapshot();
}
