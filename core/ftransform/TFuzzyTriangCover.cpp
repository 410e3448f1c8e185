#include "core/ftransform/TFuzzyTriangCover.h"

double TFuzzyTriangCover::Value(double x) const {
    if (x < low_ || x > high_)
        return 0.0;
    if (x >= centre_)
        return (high_ - x) / (high_ - centre_);
    return (x - low_) / (centre_ - low_);
}
