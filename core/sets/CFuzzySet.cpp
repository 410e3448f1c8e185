#include "core/sets/CFuzzySet.h"

#include <climits>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "core/sets/CFuzzyACutSet.h"
#include "core/sets/CFuzzyDiscreteSet.h"

namespace {

// One dimension of a sampling grid. Point i is lo + i * (hi - lo) / (samples - 1), computed from
// the index rather than by repeated addition (which drifts off kernel edges); a point that
// overshoots hi by less than half a step is hi exactly.
struct GridAxis {
    GridAxis(const CUniverse::Interval& range, int samples)
        : lo(range.lo),
          hi(range.hi),
          width(range.hi - range.lo),
          // A single sample sits at lo; a division by 0 would make it NaN.
          intervals(samples > 1 ? samples - 1 : 1),
          halfStep(samples > 1 ? width / intervals * 0.5 : 0.0) {}

    double Point(int i) const {
        const double x = lo + i * width / intervals;
        return x > hi && x - hi < halfStep ? hi : x;
    }

    double lo;
    double hi;
    double width;
    double intervals;
    double halfStep;
};

}  // namespace

CFuzzySet::CFuzzySet(const CFuzzySet& other)
    : universe_(other.universe_ ? std::make_shared<CUniverse>(*other.universe_) : nullptr) {}

void CFuzzySet::ShareUniverse(const CFuzzySet& other) {
    if (universe_ && other.universe_ && universe_->Dimensions() != other.universe_->Dimensions()) {
        throw std::invalid_argument("cannot share a universe of another dimension count");
    }
    universe_ = other.universe_;
}

void CFuzzySet::Clear() {
    universe_.reset();
}

void CFuzzySet::Detach() {
    universe_.reset();
}

const CUniverse& CFuzzySet::Universe() const {
    if (!universe_)
        throw std::logic_error("the fuzzy set has no universe");
    return *universe_;
}

CUniverse& CFuzzySet::MutableUniverse() {
    if (!universe_)
        throw std::logic_error("the fuzzy set has no universe");
    return *universe_;
}

double CFuzzySet::SetLowerBound(double x) {
    MutableUniverse().At(0).lo = x;
    return x;
}

double CFuzzySet::SetUpperBound(double x) {
    MutableUniverse().At(0).hi = x;
    return x;
}

double CFuzzySet::GetLowerBound() const {
    return Universe().At(0).lo;
}

double CFuzzySet::GetUpperBound() const {
    return Universe().At(0).hi;
}

std::unique_ptr<CFuzzyDiscreteSet> CFuzzySet::ToDiscrete(std::span<const int> sizes) const {
    const CUniverse& universe = Universe();
    const int dimensions = universe.Dimensions();
    if (static_cast<int>(sizes.size()) != dimensions) {
        throw std::invalid_argument("ToDiscrete needs one size per dimension");
    }
    std::vector<GridAxis> axes;
    axes.reserve(dimensions);
    std::int64_t count = 1;
    for (int d = 0; d < dimensions; ++d) {
        if (sizes[d] < 1)
            throw std::invalid_argument("ToDiscrete needs at least one sample");
        axes.emplace_back(universe.At(d), sizes[d]);
        count *= sizes[d];
        if (count > INT_MAX)
            throw std::length_error("too many samples");
    }

    std::vector<double> values(count);
    if (dimensions == 1) {
        for (int i = 0; i < sizes[0]; ++i) {
            const double x = axes[0].Point(i);
            values[i] = Membership(&x);
        }
    } else {
        std::vector<int> index(dimensions, 0);
        std::vector<double> point(dimensions);
        for (int d = 0; d < dimensions; ++d)
            point[d] = axes[d].Point(0);
        for (double& value : values) {
            value = Membership(point.data());
            for (int d = 0; d < dimensions; ++d) {
                if (++index[d] < sizes[d]) {
                    point[d] = axes[d].Point(index[d]);
                    break;
                }
                index[d] = 0;
                point[d] = axes[d].Point(0);
            }
        }
    }
    return std::make_unique<CFuzzyDiscreteSet>(std::vector<int>(sizes.begin(), sizes.end()),
                                               std::move(values), universe);
}

std::unique_ptr<CFuzzyDiscreteSet> CFuzzySet::ToDiscrete(int samples) const {
    const int sizes[] = {samples};
    return ToDiscrete(sizes);
}

std::unique_ptr<CFuzzyACutSet> CFuzzySet::ToAlphaCuts(int count,
                                                      std::span<const double> levels) const {
    if (count < 1)
        throw std::invalid_argument("ToAlphaCuts needs at least one level");
    if (!levels.empty() && static_cast<int>(levels.size()) != count) {
        throw std::invalid_argument("ToAlphaCuts needs count levels");
    }
    std::vector<double> chosen(count);
    for (int i = 0; i < count; ++i)
        chosen[i] = levels.empty() ? (i + 1.0) / count : levels[i];
    std::vector<CAlphaCut> cuts;
    cuts.reserve(count);
    for (double level : chosen)
        cuts.push_back(AlphaCut(level));
    return std::make_unique<CFuzzyACutSet>(count, chosen, cuts, GetLowerBound(), GetUpperBound());
}
