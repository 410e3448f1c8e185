#include "core/norms/C2ArgOper.h"

#include <climits>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "core/norms/C1ArgOper.h"
#include "core/sets/CFuzzyDiscreteSet.h"

std::unique_ptr<CFuzzyDiscreteSet> C2ArgOper::ApplyToSets(SetOperand a, SetOperand b) const {
    const CFuzzyDiscreteSet& left = *a;
    const CFuzzyDiscreteSet& right = *b;
    if (left.Count() != right.Count() ||
        static_cast<int>(left.Sizes().size()) != right.Universe().Dimensions()) {
        throw std::invalid_argument("ApplyToSets needs two sets on grids of the same size");
    }
    const int count = left.Count();
    std::vector<double> values(count);
    for (int k = 0; k < count; ++k)
        values[k] = Apply(left.Sample(k), right.Sample(k));
    auto result = std::make_unique<CFuzzyDiscreteSet>(
        std::vector<int>(left.Sizes().begin(), left.Sizes().end()), std::move(values),
        right.Universe());
    result->MarkTemporary();
    return result;
}

std::unique_ptr<CFuzzyDiscreteSet> C2ArgOper::ApplyCartesian(SetOperand a, SetOperand b) const {
    const CFuzzyDiscreteSet& left = *a;
    const CFuzzyDiscreteSet& right = *b;
    std::vector<CUniverse::Interval> intervals(left.Universe().Intervals().begin(),
                                               left.Universe().Intervals().end());
    intervals.insert(intervals.end(), right.Universe().Intervals().begin(),
                     right.Universe().Intervals().end());
    std::vector<int> sizes(left.Sizes().begin(), left.Sizes().end());
    sizes.insert(sizes.end(), right.Sizes().begin(), right.Sizes().end());
    const std::int64_t count = static_cast<std::int64_t>(left.Count()) * right.Count();
    if (count > INT_MAX)
        throw std::length_error("too many samples");

    // Flat order with dimension 0 fastest puts a's flat index first: sample (i_a, i_b) sits at
    // i_a + left.Count() * i_b.
    std::vector<double> values(count);
    std::size_t k = 0;
    for (int j = 0; j < right.Count(); ++j) {
        const double rightValue = right.Sample(j);
        for (int i = 0; i < left.Count(); ++i)
            values[k++] = Apply(left.Sample(i), rightValue);
    }
    auto result = std::make_unique<CFuzzyDiscreteSet>(std::move(sizes), std::move(values),
                                                      CUniverse(intervals));
    result->MarkTemporary();
    return result;
}

std::unique_ptr<CFuzzyDiscreteSet> C2ArgOper::ApplyWithUnary(const C1ArgOper& unary, SetOperand a,
                                                             SetOperand b) const {
    return ApplyToSets(std::move(a), unary.ApplyToSet(std::move(b)));
}
