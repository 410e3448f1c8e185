#include "core/ftransform/TFuzzyQuadraticCover.h"

namespace {

double Square(double x) {
    return x * x;
}

}  // namespace

double TFuzzyQuadraticCover::Value(double x) const {
    if (x < low_ || x > high_)
        return 0.0;
    if (x < q1_)
        return 0.5 * Square((x - low_) / (q1_ - low_));
    if (x < centre_)
        return 1.0 - 0.5 * Square((centre_ - x) / (centre_ - q1_));
    if (x < q2_)
        return 1.0 - 0.5 * Square((x - centre_) / (q2_ - centre_));
    return 0.5 * Square((high_ - x) / (high_ - q2_));
}
