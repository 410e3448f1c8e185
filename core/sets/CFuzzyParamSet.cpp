#include "core/sets/CFuzzyParamSet.h"

#include <stdexcept>
#include <string>

CFuzzyParamSet::CFuzzyParamSet(double lo, double hi)
    : CFuzzySet(std::make_shared<CUniverse>(lo, hi)) {}

void CFuzzyParamSet::GetParams(std::span<double> out) const {
    CheckParamSpan(out.size());
}

void CFuzzyParamSet::SetParams(std::span<const double> params) {
    CheckParamSpan(params.size());
}

void CFuzzyParamSet::CheckParamSpan(std::size_t size) const {
    if (size < static_cast<std::size_t>(ParamCount())) {
        throw std::invalid_argument(std::string(GetTypeName()) + " needs " +
                                    std::to_string(ParamCount()) + " parameters");
    }
}

double CFuzzyParamSet::SetLowerBound(double x) {
    MoveBounds(x, GetUpperBound());
    return x;
}

double CFuzzyParamSet::SetUpperBound(double x) {
    MoveBounds(GetLowerBound(), x);
    return x;
}

void CFuzzyParamSet::MoveBounds(double newLo, double newHi) {
    CUniverse::Interval& range = MutableUniverse().At(0);
    MoveParams(BoundsChange{range.lo, range.hi, newLo, newHi});
    range = {newLo, newHi};
}
