#include "knot_interpolation.h"

#include "numbers.h"

#include <algorithm>
#include <span>
#include <vector>

namespace {

constexpr int MaxOutput = 255;

std::vector<int> knotsOf(std::span<const int> marks) {
    std::vector<int> knots;
    for (int i = 0; i < static_cast<int>(marks.size()); ++i) {
        if (marks[i] > 0)
            knots.push_back(i);
    }
    return knots;
}

// The slope is held as a double, as the converter's tables have always been computed.
double slopeBetween(int leftValue, int rightValue, int left, int right) {
    return (static_cast<double>(rightValue) - leftValue) / (right - left);
}

// The product and the sum are formed in extended precision, which decides values lying within a
// rounding error of an exact half.
int lineValue(int origin, double slope, int distance) {
    return roundHalfEven(origin + static_cast<long double>(slope) * distance);
}

int clampOutput(int value) {
    return std::clamp(value, 0, MaxOutput);
}

// Fills the segments between neighbouring knots (at least two), right to left, each over
// [left, right): the left knot is rewritten with its own value, the right one is left alone. With
// extendRight the rightmost segment's line runs on to the end of values. Returns the slope of the
// leftmost segment.
double fillSegments(std::span<int> values, const std::vector<int>& knots, bool clamp, bool extendRight) {
    double slope = 0;
    for (std::size_t i = knots.size() - 1; i > 0; --i) {
        const int left = knots[i - 1];
        const int right = knots[i];
        const int origin = values[left];
        slope = slopeBetween(origin, values[right], left, right);
        const bool rightmost = i == knots.size() - 1;
        const int end = extendRight && rightmost ? static_cast<int>(values.size()) : right;
        for (int x = left; x < end; ++x) {
            const int value = lineValue(origin, slope, x - left);
            values[x] = clamp ? clampOutput(value) : value;
        }
    }
    return slope;
}

// A lone knot with ends interpolation: the line through the knot and (0, 0), or (0, 255) when the
// meter's voltage falls as air flow rises. Without Invert, MAF 0 keeps its value. A knot at MAF 0
// gives no such line, so the table stays as it is.
void extendSingleKnot(std::span<int> tab1, int knot, bool invert) {
    if (knot == 0)
        return;
    const int value = tab1[knot];
    const double slope = slopeBetween(invert ? MaxOutput : 0, value, 0, knot);
    for (int x = invert ? 0 : 1; x < MafCount; ++x)
        tab1[x] = clampOutput(lineValue(value, slope, x - knot));
}

// The ends are extended only when the edited point is the rightmost knot (right end) or the leftmost
// knot away from MAF 0 (left end); editing an inner knot recomputes the inner segments only.
void interpolateTab1(std::span<int> tab1, std::span<const int> marks, int a, bool endsInterpolation,
                     bool invert) {
    const std::vector<int> knots = knotsOf(marks);
    if (knots.size() == 1) {
        if (endsInterpolation)
            extendSingleKnot(tab1, knots.front(), invert);
        return;
    }
    if (knots.size() < 2)
        return;
    const bool extendRight = endsInterpolation && knots.back() != MafCount - 1 && a >= knots.back();
    const double leftmostSlope = fillSegments(tab1, knots, true, extendRight);
    if (endsInterpolation && a != 0 && a <= knots.front()) {
        const int first = knots.front();
        const int value = tab1[first];
        for (int x = first; x >= 0; --x)
            tab1[x] = clampOutput(lineValue(value, leftmostSlope, x - first));
    }
}

void interpolateWithoutEnds(std::span<int> values, std::span<const int> marks) {
    const std::vector<int> knots = knotsOf(marks);
    if (knots.size() >= 2)
        fillSegments(values, knots, false, false);
}

// Between two learned knots the learned curve follows the table; between two unlearned knots it is
// cleared; a segment whose ends differ stays.
void interpolateLearned(MafValues& learned, std::span<const int> tab1, const MafValues& learnedKnotMarks) {
    const std::vector<int> knots = knotsOf(learnedKnotMarks);
    if (knots.size() < 2)
        return;
    for (std::size_t i = knots.size() - 1; i > 0; --i) {
        const int left = knots[i - 1];
        const int right = knots[i];
        for (int x = left; x < right; ++x) {
            if (learned[left] > 0 && learned[right] > 0)
                learned[x] = tab1[x];
            else if (learned[left] == 0 && learned[right] == 0)
                learned[x] = 0;
        }
    }
}

std::span<int> tab1Of(TableImage& image) {
    return std::span<int>(image).first(MafCount);
}
std::span<int> tab2Of(TableImage& image) {
    return std::span<int>(image).subspan(tab2Index(Tab2FirstMaf));
}
std::span<const int> tab1MarksOf(const KnotMarkArray& marks) {
    return std::span<const int>(marks).first(MafCount);
}
std::span<const int> tab2MarksOf(const KnotMarkArray& marks) {
    return std::span<const int>(marks).subspan(tab2Index(Tab2FirstMaf));
}

} // namespace

void InterpolateKnots(TableContent& content, int a, bool endsInterpolation, bool invert) {
    const std::span<int> tab1 = tab1Of(content.set1);
    interpolateTab1(tab1, tab1MarksOf(content.KnotMarks1), a, endsInterpolation, invert);
    for (int x = 0; x < MafCount; ++x) {
        if (content.LearnedValues[x] > 0)
            content.LearnedValues[x] = tab1[x];
    }
    interpolateWithoutEnds(tab2Of(content.set1), tab2MarksOf(content.KnotMarks1));
    interpolateLearned(content.LearnedValues, tab1, content.LearnedKnotMarks);
    interpolateWithoutEnds(tab1Of(content.set2), tab1MarksOf(content.KnotMarks2));
    interpolateWithoutEnds(tab2Of(content.set2), tab2MarksOf(content.KnotMarks2));
}
