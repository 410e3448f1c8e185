#include "core/ftransform/TFuzzyNumberCover.h"

namespace {

// Membership levels p, m and 1 - p; the arcs' scale factors follow from them (both 0.18).
constexpr double kLow = 0.2;
constexpr double kMiddle = (kLow + (1 - kLow)) * 0.5;
constexpr double kHigh = 1 - kLow;
constexpr double kInnerScale = (kHigh - kMiddle) * (kHigh - kLow);
constexpr double kOuterScale = (kMiddle - kLow) * (kHigh - kLow);

// Break points as fractions of a half-width from the centre: where each level is reached.
constexpr double kKernelFraction = 0.2;
constexpr double kMiddleFraction = 0.5;
constexpr double kSupportFraction = 0.8;

double Square(double x) {
    return x * x;
}

}  // namespace

TFuzzyNumberCover::TFuzzyNumberCover(double low, double high)
    : TFuzzyCover(low, high),
      leftWidth_(centre_ - low),
      rightWidth_(high - centre_),
      kernelLeft_(centre_ - kKernelFraction * leftWidth_),
      kernelRight_(centre_ + kKernelFraction * rightWidth_),
      middleLeft_(centre_ - kMiddleFraction * leftWidth_),
      middleRight_(centre_ + kMiddleFraction * rightWidth_),
      supportLeft_(centre_ - kSupportFraction * leftWidth_),
      supportRight_(centre_ + kSupportFraction * rightWidth_) {}

double TFuzzyNumberCover::Value(double x) const {
    if (x < low_ || x > high_)
        return 0.0;
    if (kernelLeft_ <= x && x <= kernelRight_)
        return 1.0;
    if (x <= supportLeft_ || x >= supportRight_)
        return 0.0;
    if (middleLeft_ <= x && x < kernelLeft_) {
        return 1 - Square(kernelLeft_ - x) / (Square(leftWidth_) * kInnerScale);
    }
    if (x < middleLeft_)
        return Square(x - supportLeft_) / (Square(leftWidth_) * kOuterScale);
    if (x <= middleRight_) {
        return 1 - Square(x - kernelRight_) / (Square(rightWidth_) * kInnerScale);
    }
    return Square(x - supportRight_) / (Square(rightWidth_) * kOuterScale);
}
