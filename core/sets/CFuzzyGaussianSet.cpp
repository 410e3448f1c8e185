#include "core/sets/CFuzzyGaussianSet.h"

#include <cmath>

CFuzzyGaussianSet::CFuzzyGaussianSet(double lo, double hi) : CFuzzyParamSet(lo, hi) {}

CFuzzyGaussianSet::CFuzzyGaussianSet(double leftSpread, double leftKernel, double rightKernel,
                                     double rightSpread, double lo, double hi)
    : CFuzzyParamSet(lo, hi),
      leftSpread_(leftSpread),
      leftKernel_(leftKernel),
      rightKernel_(rightKernel),
      rightSpread_(rightSpread) {}

std::unique_ptr<CFuzzySet> CFuzzyGaussianSet::Clone() const {
    return std::make_unique<CFuzzyGaussianSet>(*this);
}

double CFuzzyGaussianSet::Membership(const double* point) const {
    const double x = *point;
    if (x < leftKernel_) {
        const double d = leftKernel_ - x;
        return std::exp(-(d * d) / leftSpread_);
    }
    if (x <= rightKernel_)
        return 1.0;
    const double d = x - rightKernel_;
    return std::exp(-(d * d) / rightSpread_);
}

CAlphaCut CFuzzyGaussianSet::AlphaCut(double) const {
    return CAlphaCut(leftKernel_, rightKernel_);
}

void CFuzzyGaussianSet::GetParams(std::span<double> out) const {
    CheckParamSpan(out.size());
    out[0] = leftSpread_;
    out[1] = leftKernel_;
    out[2] = rightKernel_;
    out[3] = rightSpread_;
}

void CFuzzyGaussianSet::SetParams(std::span<const double> params) {
    CheckParamSpan(params.size());
    leftSpread_ = params[0];
    leftKernel_ = params[1];
    rightKernel_ = params[2];
    rightSpread_ = params[3];
}

void CFuzzyGaussianSet::MoveParams(const BoundsChange& change) {
    const double ratio = change.WidthRatio();
    leftSpread_ *= ratio;
    leftKernel_ = change.Position(leftKernel_);
    rightKernel_ = change.Position(rightKernel_);
    rightSpread_ *= ratio;
}
