#pragma once

#include <concepts>
#include <limits>
#include <memory>
#include <span>

#include "core/sets/CFuzzyDiscreteSet.h"

class CRuleBase;
class SetOperand;

// What one inference is given: one crisp value per antecedent, or one discrete set per
// antecedent (sampled on that antecedent's grid) for the two fuzzy-input methods. The spans
// are borrowed for the length of the call.
struct InferenceInput {
    template <class Range>
    requires std::convertible_to<Range&&, std::span<const double>> InferenceInput(
        Range&& crispValues)
        : crisp(std::forward<Range>(crispValues)) {}
    template <class Range>
    requires std::convertible_to<Range&&, std::span<const CFuzzyDiscreteSet* const>> InferenceInput(
        Range&& sets)
        : fuzzy(std::forward<Range>(sets)) {}

    bool IsFuzzy() const { return !fuzzy.empty(); }

    std::span<const double> crisp;
    std::span<const CFuzzyDiscreteSet* const> fuzzy;
};

// The result of one inference: a new set over the first succedent's grid, marked temporary
// (linguistic rule bases), or a crisp value (Takagi-Sugeno and singleton rule bases).
struct InferenceResult {
    std::unique_ptr<CFuzzyDiscreteSet> set;
    double value = std::numeric_limits<double>::quiet_NaN();
};

// The calling form of every inference method. Writes the rule base's inputs and fired flags
// (crisp methods); throws std::invalid_argument for inputs that do not fit the rule base.
using InferenceRoutine = InferenceResult (*)(CRuleBase& ruleBase, const InferenceInput& inputs);

// The calling form of every defuzzification method: one output set per succedent, in order,
// and room for one result per set. Sets handed over through their operands die with them;
// lent sets are left alone. Throws std::invalid_argument when there are more sets than
// succedents or results.
using DefuzzificationRoutine = void (*)(CRuleBase& ruleBase, std::span<SetOperand> sets,
                                        std::span<double> results);
