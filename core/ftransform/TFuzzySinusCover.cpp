#include "core/ftransform/TFuzzySinusCover.h"

#include <cmath>

double TFuzzySinusCover::Value(double x) const {
    constexpr double kPi = 3.141592653589793;
    if (x < low_ || x > high_)
        return 0.0;
    return (std::sin(((x - low_) * 2 / (high_ - low_) - 0.5) * kPi) + 1) * 0.5;
}
