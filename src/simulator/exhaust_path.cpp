#include "exhaust_path.h"

#include <cmath>
#include <iterator>

namespace {

struct DelayKnot {
    double maf;
    double delayMs;
};

constexpr DelayKnot kDelays[] = {{100, ExhaustPath::kLongestDelayMs}, {175, 150}, {240, 80}};

} // namespace

ExhaustPath::ExhaustPath(double startAfr) : sensed(startAfr) {
    burnt.fill(startAfr);
}

int ExhaustPath::DelayMs(double maf) {
    if (maf <= kDelays[0].maf)
        return static_cast<int>(kDelays[0].delayMs);
    for (auto knot = std::begin(kDelays) + 1; knot != std::end(kDelays); ++knot) {
        if (maf <= knot->maf) {
            const DelayKnot& before = *(knot - 1);
            const double share = (maf - before.maf) / (knot->maf - before.maf);
            return static_cast<int>(std::lround(before.delayMs + share * (knot->delayMs - before.delayMs)));
        }
    }
    return static_cast<int>(std::rbegin(kDelays)->delayMs);
}

double ExhaustPath::Pass(double burntAfr, double maf) {
    newest = (newest + 1) % kHistory;
    burnt[newest] = burntAfr;
    const std::size_t age = static_cast<std::size_t>((DelayMs(maf) + kStepMs / 2) / kStepMs);
    const double arriving = burnt[(newest + kHistory - age) % kHistory];
    // A first-order lag sampled every step.
    static const double follow = 1 - std::exp(-static_cast<double>(kStepMs) / kSensorResponseMs);
    sensed += (arriving - sensed) * follow;
    return sensed;
}
