#pragma once

#include <cstdint>
#include <vector>

#include "core/inference/SampleRun.h"

class CFuzzyDiscreteSet;
class CLinCValue;
class CRuleBase;

// The rules as the inference methods read them: built sets and combinations in flat tables, so
// that no call looks a cell up by name or by pool index. The pointers borrow the sets of the rule
// base's values and stay valid until the rule base rebuilds its values, changes its rules or its
// variables; the rule base then marks its tables stale and compiles them anew.
//
// Read-only once compiled: sweeps read one table from several threads at a time.
struct CompiledRules {
    int ruleCount = 0;
    int antecedentCount = 0;
    // [rule]: the rule takes part (copied from the rule base's active flags).
    std::vector<std::uint8_t> active;
    // [rule]: the complexity score the perception-based deduction compares.
    std::vector<std::uint16_t> complexity;
    // [rule * antecedentCount + a]: the set of the cell; null where it did not build.
    std::vector<const CFuzzyDiscreteSet*> antecedentSets;
    // Rules share cells: [rule * antecedentCount + a] is the cell's place among the distinct
    // (antecedent, set) pairs, so that one call evaluates each pair once. The pairs of
    // antecedent a are the places firstCellOf[a] to firstCellOf[a + 1] - 1.
    std::vector<int> antecedentCellIds;
    std::vector<const CFuzzyDiscreteSet*> distinctSets;
    std::vector<int> firstCellOf;
    // [distinct cell]: the one-dimensional grid of its set, read without a virtual call; samples
    // 0 where the set itself is asked (none, several dimensions, another kind of set).
    struct CellGrid {
        SampleRun run;
        int samples = 0;
        double lo = 0.0;
        double hi = 0.0;
    };
    std::vector<CellGrid> distinctGrids;
    // [rule]: the cell of the first succedent, as a set or as a linear combination; null where
    // it is of the other kind or did not build.
    std::vector<const CFuzzyDiscreteSet*> consequentSets;
    std::vector<SampleRun> consequentRuns;
    std::vector<const CLinCValue*> consequentCombinations;
    // Rules share consequent sets as well: [rule] is the place of its set among the distinct
    // ones, whose runs are distinctConsequentRuns (a null set is one too, and reads 0).
    std::vector<int> consequentIds;
    std::vector<SampleRun> distinctConsequentRuns;

    int DistinctCellCount() const { return static_cast<int>(distinctSets.size()); }
};

// Compiles the rules of a rule base through its public getters. Rules without an active flag (a
// table set up by hand) take no part.
CompiledRules CompileRules(const CRuleBase& ruleBase);
