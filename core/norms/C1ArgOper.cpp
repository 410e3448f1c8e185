#include "core/norms/C1ArgOper.h"

#include <vector>

#include "core/sets/CFuzzyDiscreteSet.h"

std::unique_ptr<CFuzzyDiscreteSet> C1ArgOper::ApplyToSet(SetOperand a) const {
    const CFuzzyDiscreteSet& set = *a;
    const int count = set.Count();
    std::vector<double> values(count);
    for (int k = 0; k < count; ++k)
        values[k] = Apply(set.Sample(k));
    auto result = std::make_unique<CFuzzyDiscreteSet>(
        std::vector<int>(set.Sizes().begin(), set.Sizes().end()), std::move(values),
        set.Universe());
    result->MarkTemporary();
    return result;
}
