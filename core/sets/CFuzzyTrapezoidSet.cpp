#include "core/sets/CFuzzyTrapezoidSet.h"

CFuzzyTrapezoidSet::CFuzzyTrapezoidSet(double lo, double hi) : CFuzzyParamSet(lo, hi) {}

CFuzzyTrapezoidSet::CFuzzyTrapezoidSet(double a, double b, double c, double d, double lo, double hi)
    : CFuzzyParamSet(lo, hi), a_(a), b_(b), c_(c), d_(d) {}

std::unique_ptr<CFuzzySet> CFuzzyTrapezoidSet::Clone() const {
    return std::make_unique<CFuzzyTrapezoidSet>(*this);
}

double CFuzzyTrapezoidSet::Membership(const double* point) const {
    const double x = *point;
    if (x < b_) {
        if (x <= a_)
            return 0.0;
        return (x - a_) / (b_ - a_);
    }
    if (x > d_)
        return 0.0;
    if (x <= c_)
        return 1.0;
    return (d_ - x) / (d_ - c_);
}

CAlphaCut CFuzzyTrapezoidSet::AlphaCut(double level) const {
    return CAlphaCut(a_ + level * (b_ - a_), d_ - level * (d_ - c_));
}

void CFuzzyTrapezoidSet::GetParams(std::span<double> out) const {
    CheckParamSpan(out.size());
    out[0] = a_;
    out[1] = b_;
    out[2] = c_;
    out[3] = d_;
}

void CFuzzyTrapezoidSet::SetParams(std::span<const double> params) {
    CheckParamSpan(params.size());
    a_ = params[0];
    b_ = params[1];
    c_ = params[2];
    d_ = params[3];
}

void CFuzzyTrapezoidSet::MoveParams(const BoundsChange& change) {
    a_ = change.Position(a_);
    b_ = change.Position(b_);
    c_ = change.Position(c_);
    d_ = change.Position(d_);
}
