#include "core/inference/CompiledRules.h"

#include <algorithm>
#include <typeinfo>
#include <unordered_map>

#include "core/rulebase/CFuzValue.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CLinCValue.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CCompressedFuzzyDiscreteSet.h"

namespace {

const CValue* CellValue(const CRuleBase& ruleBase, const CFuzzyVariable& variable, int r) {
    const auto indices = variable.GetValueIndices();
    return r < static_cast<int>(indices.size()) ? ruleBase.GetValue(indices[r]) : nullptr;
}

const CFuzzyDiscreteSet* SetOf(const CValue* value) {
    const auto* fuzzy = dynamic_cast<const CFuzValue*>(value);
    return fuzzy ? fuzzy->GetSet() : nullptr;
}

// Only the two kinds of discrete set whose degree is CFuzzyDiscreteSet::Membership's.
CompiledRules::CellGrid GridOf(const CFuzzyDiscreteSet* set) {
    if (set == nullptr || (typeid(*set) != typeid(CFuzzyDiscreteSet) &&
                           typeid(*set) != typeid(CCompressedFuzzyDiscreteSet)))
        return {};
    if (set->Sizes().size() != 1 || set->Values().empty() || !set->HasUniverse())
        return {};
    const CUniverse::Interval& range = set->Universe().At(0);
    return {SampleRun::Of(set), set->Sizes()[0], range.lo, range.hi};
}

}  // namespace

CompiledRules CompileRules(const CRuleBase& ruleBase) {
    CompiledRules t;
    const auto active = ruleBase.GetActiveFlags();
    t.ruleCount = std::min<int>(ruleBase.GetNumRules(), static_cast<int>(active.size()));
    t.antecedentCount = ruleBase.GetNumAntVariables();
    t.active.assign(active.begin(), active.begin() + t.ruleCount);
    const auto complexity = ruleBase.GetRuleComplexity();
    t.complexity.assign(t.ruleCount, 0);
    std::copy_n(complexity.begin(), std::min<int>(t.ruleCount, static_cast<int>(complexity.size())),
                t.complexity.begin());

    const std::size_t cells = static_cast<std::size_t>(t.ruleCount) * t.antecedentCount;
    t.antecedentSets.assign(cells, nullptr);
    t.antecedentCellIds.assign(cells, 0);
    t.firstCellOf.assign(t.antecedentCount + 1, 0);
    for (int a = 0; a < t.antecedentCount; ++a) {
        const CFuzzyVariable& variable = ruleBase.GetVariable(a);
        t.firstCellOf[a] = t.DistinctCellCount();
        std::unordered_map<const CFuzzyDiscreteSet*, int> idOfSet;
        for (int r = 0; r < t.ruleCount; ++r) {
            const CFuzzyDiscreteSet* set = SetOf(CellValue(ruleBase, variable, r));
            const auto [found, added] = idOfSet.emplace(set, t.DistinctCellCount());
            if (added) {
                t.distinctSets.push_back(set);
                t.distinctGrids.push_back(GridOf(set));
            }
            t.antecedentSets[r * t.antecedentCount + a] = set;
            t.antecedentCellIds[r * t.antecedentCount + a] = found->second;
        }
    }
    t.firstCellOf[t.antecedentCount] = t.DistinctCellCount();

    t.consequentSets.assign(t.ruleCount, nullptr);
    t.consequentRuns.assign(t.ruleCount, SampleRun{});
    t.consequentCombinations.assign(t.ruleCount, nullptr);
    t.consequentIds.assign(t.ruleCount, 0);
    if (ruleBase.GetNumSucVariables() > 0) {
        const CFuzzyVariable& output = ruleBase.GetVariable(-1);
        std::unordered_map<const CFuzzyDiscreteSet*, int> idOfSet;
        for (int r = 0; r < t.ruleCount; ++r) {
            const CValue* value = CellValue(ruleBase, output, r);
            t.consequentSets[r] = SetOf(value);
            t.consequentRuns[r] = SampleRun::Of(t.consequentSets[r]);
            t.consequentCombinations[r] = dynamic_cast<const CLinCValue*>(value);
            const auto [found, added] = idOfSet.emplace(
                t.consequentSets[r], static_cast<int>(t.distinctConsequentRuns.size()));
            if (added)
                t.distinctConsequentRuns.push_back(t.consequentRuns[r]);
            t.consequentIds[r] = found->second;
        }
    }
    return t;
}
