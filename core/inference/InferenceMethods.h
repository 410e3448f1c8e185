#pragma once

#include <span>

#include "core/inference/CrispInference.h"
#include "core/inference/MethodRoutines.h"

class CLinCValue;
class CRuleBase;

// The inference methods: each turns the inputs of a rule base into the result of its first
// succedent. The crisp-input methods of linguistic rule bases record the inputs, the rules that
// fired and their count in the rule base; a rule fires where it changed the result.
//
// The firing degree of a rule at crisp inputs is the minimum of its antecedent degrees, taken in
// antecedent order and stopped at the first degree that is exactly 0. Each method computes it
// once per rule and call.

// Implicative rules, conjunctive combination (Lukasiewicz implication, minimum).
InferenceResult LLogInfCrisp(CRuleBase& ruleBase, const InferenceInput& inputs);
// Chooses the most relevant rules first (perception threshold, then rule complexity), then
// combines them as LLogInfCrisp does.
InferenceResult LLogInfPreCrisp(CRuleBase& ruleBase, const InferenceInput& inputs);
// Fuzzy inputs: implicative relation combined with the inputs by the Lukasiewicz t-norm.
InferenceResult LLogInfFuz(CRuleBase& ruleBase, const InferenceInput& inputs);
// Conjunctive rules, disjunctive combination, with the minimum, the product or the Lukasiewicz
// t-norm between firing degree and consequent.
InferenceResult LZadInfCrisp(CRuleBase& ruleBase, const InferenceInput& inputs);
InferenceResult LZadInfCrispProd(CRuleBase& ruleBase, const InferenceInput& inputs);
InferenceResult LZadInfCrispLuk(CRuleBase& ruleBase, const InferenceInput& inputs);
// Fuzzy inputs: sup-min composition.
InferenceResult LZadInfFuz(CRuleBase& ruleBase, const InferenceInput& inputs);
// Takagi-Sugeno and singleton rule bases: the average of the consequents weighted by the firing
// degrees. Positive infinity for a linguistic rule base.
InferenceResult LLinCInfCrisp(CRuleBase& ruleBase, const InferenceInput& inputs);

// The t-norms of LZadInfCrisp; any other mode is taken as the minimum.
enum TNormMode { kMinimumTNorm = 0, kProductTNorm = 1, kLukasiewiczTNorm = 2 };
InferenceResult LZadInfCrispWithMode(CRuleBase& ruleBase, const InferenceInput& inputs, int mode);

// A set-making crisp method (not kLinearCombination) run as its routine runs it, without making
// the set: the inputs recorded in the rule base, the output inferred into the rule base's
// scratch space, the rules that fired recorded. The samples stay valid until the next inference
// on the rule base. Throws as the routine.
struct RecordedOutput {
    std::span<const double> samples;
    double lo;
    double hi;
};
RecordedOutput InferRecorded(CRuleBase& ruleBase, CrispMethod method, const InferenceInput& inputs);

// The fuzzy-input methods accept crisp inputs too: each value is taken as a singleton at the
// nearest sample of its antecedent's grid.

// Below this firing degree LLogInfPreCrisp tells rules apart by degree; at or above it, by
// complexity.
inline constexpr double PerceptionThreshold = 0.05;

// The degree of crisp input x in the cell of antecedent i of rule r; of sample k of that cell;
// the sample j of the cell of succedent s (0-based) of rule r. 0 for a cell that did not build.
double AntecedentDegree(const CRuleBase& ruleBase, int i, int r, double x);
double AntecedentSampleDegree(const CRuleBase& ruleBase, int i, int r, int k);
double ConsequentDegree(const CRuleBase& ruleBase, int s, int r, int j);

// Advances index like an odometer over count positions of the given sizes, position 0 fastest;
// false after the last combination (index is then all 0).
bool NextGridIndex(int count, const int* sizes, int* index);

// c0 + c1 x0 + ... + c_count x_(count-1), summed in that order; c0 alone when constantOnly.
// Coefficients the value does not have count as 0.
double EvaluateLinearCombination(const CLinCValue& value, std::span<const double> inputs, int count,
                                 bool constantOnly);
