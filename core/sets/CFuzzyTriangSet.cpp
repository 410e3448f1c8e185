#include "core/sets/CFuzzyTriangSet.h"

CFuzzyTriangSet::CFuzzyTriangSet(double lo, double hi) : CFuzzyParamSet(lo, hi) {}

CFuzzyTriangSet::CFuzzyTriangSet(double a, double b, double c, double lo, double hi)
    : CFuzzyParamSet(lo, hi), a_(a), b_(b), c_(c) {}

std::unique_ptr<CFuzzySet> CFuzzyTriangSet::Clone() const {
    return std::make_unique<CFuzzyTriangSet>(*this);
}

double CFuzzyTriangSet::Membership(const double* point) const {
    const double x = *point;
    if (x >= b_) {
        if (x > c_)
            return 0.0;
        if (c_ == b_)
            return 1.0;
        return (c_ - x) / (c_ - b_);
    }
    if (x < a_)
        return 0.0;
    if (a_ == b_)
        return 1.0;
    return (x - a_) / (b_ - a_);
}

CAlphaCut CFuzzyTriangSet::AlphaCut(double level) const {
    return CAlphaCut(a_ + level * (b_ - a_), c_ - level * (c_ - b_));
}

void CFuzzyTriangSet::GetParams(std::span<double> out) const {
    CheckParamSpan(out.size());
    out[0] = a_;
    out[1] = b_;
    out[2] = c_;
}

void CFuzzyTriangSet::SetParams(std::span<const double> params) {
    CheckParamSpan(params.size());
    a_ = params[0];
    b_ = params[1];
    c_ = params[2];
}

void CFuzzyTriangSet::MoveParams(const BoundsChange& change) {
    a_ = change.Position(a_);
    b_ = change.Position(b_);
    c_ = change.Position(c_);
}
