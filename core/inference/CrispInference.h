#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "core/inference/CompiledRules.h"
#include "core/inference/InferenceScratch.h"
#include "core/inference/MethodRoutines.h"
#include "core/inference/SetKernels.h"

// The crisp-input inference methods as computations on compiled rules: what the routines of
// InferenceMethods.h run after recording their inputs, and what sweeps run on many threads at
// once without touching the rule base. Each reads the firing degrees of the rules at the inputs
// (computed beforehand from the degrees of the distinct antecedent cells, see RuleFirings) and
// writes per-rule fired flags into scratch.fired.
enum class CrispMethod {
    kLogical,            // LLogInfCrisp
    kPerceptionBased,    // LLogInfPreCrisp
    kZadehMinimum,       // LZadInfCrisp
    kZadehProduct,       // LZadInfCrispProd
    kZadehLukasiewicz,   // LZadInfCrispLuk
    kLinearCombination,  // LLinCInfCrisp
};

// The computation behind a routine of the method table; none for the fuzzy-input methods and
// for routines from elsewhere, which only the rule base can run.
std::optional<CrispMethod> CrispMethodOf(InferenceRoutine routine);

// Writes the degree of x in each distinct cell of antecedent a to
// degrees[rules.firstCellOf[a] ...]; 0 for a cell that did not build.
void AntecedentCellDegrees(const CompiledRules& rules, int a, double x, double* degrees);

// The same for every antecedent: one input each.
void CellDegreesAt(const CompiledRules& rules, std::span<const double> inputs, double* degrees);

// The firing degree of each rule from the cell degrees: the minimum of its antecedent degrees,
// taken in antecedent order and stopped at the first of exactly 0; 0 for a rule switched off.
// Without the early stop the minimum is the same, so every method uses these.
void RuleFirings(const CompiledRules& rules, const double* cellDegrees, double* firing);
// For sweeps in which input 0 moves fastest: the minimum over antecedents 1 and up, per rule,
// computed when one of them moves; then the firing degrees with antecedent 0's degrees.
void PartialFirings(const CompiledRules& rules, const double* cellDegrees, double* partial);
void FiringsFromPartial(const CompiledRules& rules, const double* cellDegrees,
                        const double* partial, double* firing);
// Where no degree of antecedent 0 is negative, a rule whose partial minimum is 0 fires with 0
// whatever input 0 does: the rules left (active, partial minimum not 0) go to live, in rule
// order, and their number is returned. The firing degrees of those candidates alone; the others'
// entries are left as they were.
int RulesThatMayFire(const CompiledRules& rules, const double* partial, int* live);
void FiringsFromPartial(const CompiledRules& rules, const double* cellDegrees,
                        const double* partial, std::span<const int> candidates, double* firing);

// A method that makes a set: writes its sampleCount output samples (sampleCount >= 1).
void InferOutputSamples(CrispMethod method, const CompiledRules& rules, const double* firing,
                        InferenceScratch& scratch, double* samples, int sampleCount);

// The three Zadeh methods (kZadehMinimum, kZadehProduct, kZadehLukasiewicz) in two steps, for
// sweeps that need only the samples. A t-norm does not fall as the degree rises, so of the rules
// that share a consequent the one of the greatest degree gives each sample its value: first
// that degree per distinct consequent (0 where no rule's is above 0), read from the firing degrees
// of the candidates alone when there are any (rules in any order; every rule left out must have a
// degree of 0 or less, or be switched off). Then the output samples as InferOutputSamples writes
// them, without the fired flags, and what is known of them; only the samples inside the bounds
// returned are written. The samples depend on nothing but the consequent degrees.
bool IsZadehMethod(CrispMethod method);
// The kernel of a Zadeh method; throws std::logic_error for the others.
SetKernel ZadehKernelOf(CrispMethod method);
void ConsequentDegrees(const CompiledRules& rules, const double* firing,
                       std::optional<std::span<const int>> candidates, double* degrees);
SampleBounds InferZadehSamples(CrispMethod method, const CompiledRules& rules,
                               const double* consequentDegrees, double* samples, int sampleCount);

// The perception-based deduction in its two steps, for sweeps that keep what each selection
// gives: the rules it selects (scratch.selectedRules, in rule order; their count returned), then
// the samples those rules make, with their fired flags. The samples depend on nothing but the
// selected rules and their firing degrees.
int SelectPerceptionRules(const CompiledRules& rules, const double* firing,
                          InferenceScratch& scratch);
// The same among candidates (rules in rule order, active or not) where every rule left out has
// a firing degree of 0 or is switched off.
int SelectPerceptionRules(const CompiledRules& rules, const double* firing,
                          std::span<const int> candidates, InferenceScratch& scratch);
void PerceptionSamplesOf(const CompiledRules& rules, const double* firing, int selectedCount,
                         InferenceScratch& scratch, double* samples, int sampleCount);

// The Takagi-Sugeno and singleton method: the consequents (constants only when constantOnly)
// weighted by the firing degrees, midpoint where no rule fires.
double InferLinearCombination(const CompiledRules& rules, const double* firing,
                              std::span<const double> inputs, bool constantOnly, double midpoint,
                              InferenceScratch& scratch);
