#include "core/sets/CFuzzyDiscreteSet.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdint>
#include <stdexcept>

CFuzzyDiscreteSet::CFuzzyDiscreteSet(std::vector<double> values, double lo, double hi)
    : CFuzzySet(std::make_shared<CUniverse>(lo, hi)),
      sizes_{static_cast<int>(values.size())},
      values_(std::move(values)),
      count_(sizes_[0]) {
    if (values_.empty())
        throw std::invalid_argument("a discrete set needs at least one sample");
}

CFuzzyDiscreteSet::CFuzzyDiscreteSet(std::vector<int> sizes, std::vector<double> values,
                                     const CUniverse& universe)
    : CFuzzySet(std::make_shared<CUniverse>(universe)),
      sizes_(std::move(sizes)),
      values_(std::move(values)) {
    if (static_cast<int>(sizes_.size()) != universe.Dimensions()) {
        throw std::invalid_argument("a discrete set needs one size per dimension");
    }
    std::int64_t count = 1;
    for (int size : sizes_) {
        if (size < 1)
            throw std::invalid_argument("a discrete set needs at least one sample");
        count *= size;
        if (count > INT_MAX)
            throw std::length_error("too many samples");
    }
    count_ = static_cast<int>(count);
    if (!values_.empty() && static_cast<int>(values_.size()) != count_) {
        throw std::invalid_argument("a discrete set needs one value per sample");
    }
}

CFuzzyDiscreteSet::CFuzzyDiscreteSet(const CFuzzyDiscreteSet& other)
    : CFuzzySet(other),
      CTempBase(other),
      sizes_(other.sizes_),
      values_(other.AllValues()),
      count_(other.count_) {}

std::unique_ptr<CFuzzySet> CFuzzyDiscreteSet::Clone() const {
    return std::make_unique<CFuzzyDiscreteSet>(*this);
}

// Detach drops every buffer too: nothing is shared but the universe, which is reference counted.
void CFuzzyDiscreteSet::Clear() {
    Detach();
}

void CFuzzyDiscreteSet::Detach() {
    CFuzzySet::Detach();
    sizes_ = {};
    values_ = {};
    count_ = 0;
    storedFrom_ = 0;
}

double CFuzzyDiscreteSet::Membership(const double* point) const {
    if (values_.empty() || !universe_)
        return 0.0;
    const int dimensions = static_cast<int>(sizes_.size());
    if (dimensions == 1) {
        const CUniverse::Interval& range = universe_->At(0);
        return Interpolate([this](int i) { return Sample(i); }, sizes_[0], range.lo, range.hi,
                           *point);
    }
    int flat = 0;
    for (int d = dimensions - 1; d >= 0; --d) {
        const CUniverse::Interval& range = universe_->At(d);
        const int samples = sizes_[d];
        const double nearest = (samples - 1) * (point[d] - range.lo) / (range.hi - range.lo) + 0.5;
        int i = 0;
        if (nearest >= samples) {
            i = samples - 1;
        } else if (nearest > 0) {
            i = static_cast<int>(nearest);
        }
        flat = flat * samples + i;
    }
    return Sample(flat);
}

CAlphaCut CFuzzyDiscreteSet::AlphaCut(double) const {
    return CAlphaCut(0.0, 1.0);
}

void CFuzzyDiscreteSet::SetValues(std::span<const double> values) {
    if (!values.empty() && static_cast<int>(values.size()) != count_) {
        throw std::invalid_argument("SetValues needs one value per sample");
    }
    values_.assign(values.begin(), values.end());
    storedFrom_ = 0;
}

double CFuzzyDiscreteSet::ValueAt(const int* index) const {
    int flat = 0;
    for (int d = static_cast<int>(sizes_.size()) - 1; d >= 0; --d) {
        assert(index[d] >= 0 && index[d] < sizes_[d]);
        flat = flat * sizes_[d] + index[d];
    }
    return Sample(flat);
}

int CFuzzyDiscreteSet::FirstNonZero() const {
    const int stored = static_cast<int>(values_.size());
    for (int i = 0; i < stored; ++i) {
        if (values_[i] > 0)
            return storedFrom_ + i;
    }
    return count_;
}

int CFuzzyDiscreteSet::LastNonZero() const {
    for (int i = static_cast<int>(values_.size()) - 1; i >= 0; --i) {
        if (values_[i] > 0)
            return storedFrom_ + i;
    }
    return -1;
}

bool CFuzzyDiscreteSet::NextIndex(int* index) const {
    const int dimensions = static_cast<int>(sizes_.size());
    for (int d = 0; d < dimensions; ++d) {
        if (++index[d] < sizes_[d])
            return true;
        index[d] = 0;
    }
    return false;
}

void CFuzzyDiscreteSet::Assign(const CFuzzyDiscreteSet& source) {
    if (&source == this)
        return;
    // Copy before clearing: the source may share this set's universe.
    auto universe = source.universe_ ? std::make_shared<CUniverse>(*source.universe_) : nullptr;
    std::vector<int> sizes = source.sizes_;
    std::vector<double> values = source.AllValues();
    Clear();
    universe_ = std::move(universe);
    sizes_ = std::move(sizes);
    values_ = std::move(values);
    count_ = source.count_;
}

void CFuzzyDiscreteSet::Assign(std::unique_ptr<CFuzzyDiscreteSet> source) {
    if (!source)
        throw std::invalid_argument("Assign needs a set");
    assert(source.get() != this);
    Clear();
    AdoptData(std::move(*source));
}

void CFuzzyDiscreteSet::AdoptData(CFuzzyDiscreteSet&& source) {
    if (&source == this)
        return;
    if (source.storedFrom_ != 0 ||
        source.values_.size() != static_cast<std::size_t>(source.count_)) {
        source.values_ = source.AllValues();
        source.storedFrom_ = 0;
    }
    universe_ = std::move(source.universe_);
    sizes_ = std::move(source.sizes_);
    values_ = std::move(source.values_);
    count_ = source.count_;
    storedFrom_ = 0;
    source.Detach();
}

double CFuzzyDiscreteSet::SumOfValues() const {
    double sum = 0.0;
    for (double value : values_)
        sum += value;
    return sum;
}

double CFuzzyDiscreteSet::SumOfSquares() const {
    double sum = 0.0;
    for (double value : values_)
        sum += value * value;
    return sum;
}

std::vector<double> CFuzzyDiscreteSet::AllValues() const {
    if (values_.empty() || (storedFrom_ == 0 && static_cast<int>(values_.size()) == count_)) {
        return values_;
    }
    std::vector<double> all(count_, 0.0);
    std::copy(values_.begin(), values_.end(), all.begin() + storedFrom_);
    return all;
}
