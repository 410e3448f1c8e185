#include "core/sets/CFuzzyACutSet.h"

#include <stdexcept>

CFuzzyACutSet::CFuzzyACutSet(int count, std::span<const double> levels,
                             std::span<const CAlphaCut> cuts, double lo, double hi)
    : CFuzzySet(std::make_shared<CUniverse>(lo, hi)) {
    if (count < 0)
        throw std::invalid_argument("an alpha-cut set needs a count >= 0");
    if ((!levels.empty() && static_cast<int>(levels.size()) != count) ||
        (!cuts.empty() && static_cast<int>(cuts.size()) != count)) {
        throw std::invalid_argument("an alpha-cut set needs count levels and count cuts");
    }
    if (levels.empty()) {
        levels_.resize(count);
        for (int i = 0; i < count; ++i)
            levels_[i] = (i + 1.0) / count;
    } else {
        levels_.assign(levels.begin(), levels.end());
    }
    if (cuts.empty()) {
        cuts_.resize(count);
    } else {
        cuts_.assign(cuts.begin(), cuts.end());
    }
}

std::unique_ptr<CFuzzySet> CFuzzyACutSet::Clone() const {
    return std::make_unique<CFuzzyACutSet>(*this);
}

double CFuzzyACutSet::MembershipAt(const double* point, int) const {
    double degree = 0.0;
    for (std::size_t i = 0; i < cuts_.size() && cuts_[i].Contains(point); ++i)
        degree = levels_[i];
    return degree;
}

CAlphaCut CFuzzyACutSet::CutAt(int i) const {
    if (i < 1 || i > Count())
        throw std::out_of_range("alpha-cut index out of range");
    return cuts_[i - 1];
}

CAlphaCut CFuzzyACutSet::CutAtLevel(double level) const {
    if (cuts_.empty() || level < levels_[0])
        return CAlphaCut::EmptyBoxes(1, 1);
    for (int i = 1; i < Count(); ++i) {
        if (level < levels_[i])
            return cuts_[i - 1];
    }
    return cuts_.back();
}
