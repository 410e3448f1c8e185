#include "core/sets/CCompressedFuzzyDiscreteSet.h"

#include <stdexcept>

CCompressedFuzzyDiscreteSet::CCompressedFuzzyDiscreteSet(const CFuzzyDiscreteSet& source) {
    if (source.Sizes().size() != 1) {
        throw std::invalid_argument("only a one-dimensional discrete set can be compressed");
    }
    universe_ = std::make_shared<CUniverse>(source.Universe());
    sizes_ = {source.Sizes()[0]};
    count_ = source.Count();
    const int first = source.FirstNonZero();
    const int last = source.LastNonZero();
    if (last < first)
        return;
    values_.reserve(last - first + 1);
    for (int i = first; i <= last; ++i)
        values_.push_back(source.Sample(i));
    storedFrom_ = first;
}

CCompressedFuzzyDiscreteSet::CCompressedFuzzyDiscreteSet(const CCompressedFuzzyDiscreteSet& other)
    : CCompressedFuzzyDiscreteSet(static_cast<const CFuzzyDiscreteSet&>(other)) {}

std::unique_ptr<CFuzzySet> CCompressedFuzzyDiscreteSet::Clone() const {
    return std::make_unique<CCompressedFuzzyDiscreteSet>(*this);
}
