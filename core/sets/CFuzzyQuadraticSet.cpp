#include "core/sets/CFuzzyQuadraticSet.h"

#include <cmath>

CFuzzyQuadraticSet::CFuzzyQuadraticSet(double lo, double hi) : CFuzzyParamSet(lo, hi) {}

CFuzzyQuadraticSet::CFuzzyQuadraticSet(double leftSupp, double leftEquilib, double leftKernel,
                                       double rightKernel, double rightEquilib, double rightSupp,
                                       double lo, double hi)
    : CFuzzyParamSet(lo, hi),
      leftSupp_(leftSupp),
      leftEquilib_(leftEquilib),
      leftKernel_(leftKernel),
      rightKernel_(rightKernel),
      rightEquilib_(rightEquilib),
      rightSupp_(rightSupp) {}

std::unique_ptr<CFuzzySet> CFuzzyQuadraticSet::Clone() const {
    return std::make_unique<CFuzzyQuadraticSet>(*this);
}

double CFuzzyQuadraticSet::Membership(const double* point) const {
    const double x = *point;
    if (x >= leftKernel_) {
        if (x > rightSupp_)
            return 0.0;
        if (x <= rightKernel_)
            return 1.0;
        if (x < rightEquilib_) {
            const double t = (x - rightKernel_) / (rightEquilib_ - rightKernel_);
            return 1 - 0.5 * t * t;
        }
        if (rightSupp_ == rightEquilib_)
            return 0.5;
        const double t = (x - rightSupp_) / (rightSupp_ - rightEquilib_);
        return 0.5 * t * t;
    }
    if (x < leftSupp_)
        return 0.0;
    if (x < leftEquilib_) {
        const double t = (x - leftSupp_) / (leftEquilib_ - leftSupp_);
        return 0.5 * t * t;
    }
    const double t = (x - leftKernel_) / (leftKernel_ - leftEquilib_);
    return 1 - 0.5 * t * t;
}

CAlphaCut CFuzzyQuadraticSet::AlphaCut(double level) const {
    if (level > 0.5) {
        const double u = std::sqrt(2 * (1 - level));
        return CAlphaCut(leftKernel_ - (leftKernel_ - leftEquilib_) * u,
                         rightKernel_ + (rightEquilib_ - rightKernel_) * u);
    }
    const double u = std::sqrt(2 * level);
    return CAlphaCut(leftSupp_ + (leftEquilib_ - leftSupp_) * u,
                     rightSupp_ - (rightSupp_ - rightEquilib_) * u);
}

void CFuzzyQuadraticSet::GetParams(std::span<double> out) const {
    CheckParamSpan(out.size());
    out[0] = leftSupp_;
    out[1] = leftEquilib_;
    out[2] = leftKernel_;
    out[3] = rightKernel_;
    out[4] = rightEquilib_;
    out[5] = rightSupp_;
}

void CFuzzyQuadraticSet::SetParams(std::span<const double> params) {
    CheckParamSpan(params.size());
    leftSupp_ = params[0];
    leftEquilib_ = params[1];
    leftKernel_ = params[2];
    rightKernel_ = params[3];
    rightEquilib_ = params[4];
    rightSupp_ = params[5];
}

void CFuzzyQuadraticSet::MoveParams(const BoundsChange& change) {
    leftSupp_ = change.Position(leftSupp_);
    leftEquilib_ = change.Position(leftEquilib_);
    leftKernel_ = change.Position(leftKernel_);
    rightKernel_ = change.Position(rightKernel_);
    rightEquilib_ = change.Position(rightEquilib_);
    rightSupp_ = change.Position(rightSupp_);
}
