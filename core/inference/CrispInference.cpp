#include "core/inference/CrispInference.h"

#include <algorithm>
#include <stdexcept>

#include "core/inference/InferenceMethods.h"
#include "core/inference/SetKernels.h"
#include "core/sets/CFuzzyDiscreteSet.h"

namespace {

// The firing degree of rule r: the minimum of its antecedent degrees in antecedent order,
// stopped at the first degree of exactly 0.
double Firing(const CompiledRules& rules, const double* degrees, int r) {
    const int* cell =
        rules.antecedentCellIds.data() + static_cast<std::size_t>(r) * rules.antecedentCount;
    double degree = 1.0;
    for (int i = 0; i < rules.antecedentCount; ++i) {
        const double m = degrees[cell[i]];
        if (m == 0)
            return 0.0;
        degree = std::min(degree, m);
    }
    return degree;
}

double LukasiewiczImplication(double a, double c) {
    const double t = 1.0 - a + c;
    return t < 1.0 ? t : 1.0;
}

// One output sample against one rule of the perception-based deduction: done marks a sample
// whose scan a result of 0 has stopped. A consequent of 1 changes nothing; one of 0 replaces the
// running value, which is not a minimum.
void ImplicateSample(double a, double c, double emptyConsequent, double& sample, std::uint8_t& done,
                     int& doneCount) {
    if (c == 1)
        return;
    if (c == 0) {
        sample = emptyConsequent;
        return;
    }
    const double t = LukasiewiczImplication(a, c);
    if (t == 0) {
        sample = 0.0;
        done = 1;
        ++doneCount;
    } else if (t < sample) {
        sample = t;
    }
}

// The selection among candidates: count rules in rule order, ruleAt(i) the i-th.
template <class RuleAt>
int SelectAmong(const CompiledRules& rules, const double* firing, int count, RuleAt ruleAt,
                InferenceScratch& scratch) {
    // Selection: below the threshold the highest degree wins; once a rule reaches it, every rule
    // at or above it competes by complexity alone. Ties keep all rules, in rule order.
    int* selected = scratch.selectedRules.data();
    const std::uint16_t* complexity = rules.complexity.data();
    int selectedCount = 0;
    double best = 0.0;
    for (int i = 0; i < count; ++i) {
        const int r = ruleAt(i);
        if (!rules.active[r])
            continue;
        const double a = firing[r];
        if (a == 0)
            continue;
        if (a > best && best != PerceptionThreshold) {
            selected[0] = r;
            selectedCount = 1;
            best = std::min(a, PerceptionThreshold);
        } else if (selectedCount > 0 && (a == best || a >= PerceptionThreshold)) {
            const std::uint16_t last = complexity[selected[selectedCount - 1]];
            if (complexity[r] == last) {
                selected[selectedCount++] = r;
            } else if (complexity[r] < last) {
                selected[0] = r;
                selectedCount = 1;
            }
        }
    }
    return selectedCount;
}

void PerceptionBasedSamples(const CompiledRules& rules, const double* firing,
                            InferenceScratch& scratch, double* v, int n) {
    PerceptionSamplesOf(rules, firing, SelectPerceptionRules(rules, firing, scratch), scratch, v,
                        n);
}

}  // namespace

std::optional<CrispMethod> CrispMethodOf(InferenceRoutine routine) {
    if (routine == LLogInfCrisp)
        return CrispMethod::kLogical;
    if (routine == LLogInfPreCrisp)
        return CrispMethod::kPerceptionBased;
    if (routine == LZadInfCrisp)
        return CrispMethod::kZadehMinimum;
    if (routine == LZadInfCrispProd)
        return CrispMethod::kZadehProduct;
    if (routine == LZadInfCrispLuk)
        return CrispMethod::kZadehLukasiewicz;
    if (routine == LLinCInfCrisp)
        return CrispMethod::kLinearCombination;
    return std::nullopt;
}

int SelectPerceptionRules(const CompiledRules& rules, const double* firing,
                          InferenceScratch& scratch) {
    return SelectAmong(
        rules, firing, rules.ruleCount, [](int i) { return i; }, scratch);
}

int SelectPerceptionRules(const CompiledRules& rules, const double* firing,
                          std::span<const int> candidates, InferenceScratch& scratch) {
    return SelectAmong(
        rules, firing, static_cast<int>(candidates.size()), [&](int i) { return candidates[i]; },
        scratch);
}

void PerceptionSamplesOf(const CompiledRules& rules, const double* firing, int selectedCount,
                         InferenceScratch& scratch, double* v, int n) {
    std::uint8_t* fired = scratch.fired.data();
    std::fill_n(fired, rules.ruleCount, 0);
    const int* selected = scratch.selectedRules.data();
    if (selectedCount == 0) {
        std::fill_n(v, n, 0.0);
        return;
    }
    // The degree of the first selected rule, as selected (later ties may differ from it).
    const double selectionDegree = firing[selected[0]];

    std::fill_n(v, n, 1.0);
    std::uint8_t* done = scratch.sampleDone.data();
    std::fill_n(done, n, 0);
    int doneCount = 0;
    const double emptyConsequent = 1 - selectionDegree;
    for (int s = 0; s < selectedCount; ++s) {
        const int r = selected[s];
        const double a = firing[r];
        const SampleRun& c = rules.consequentRuns[r];
        if (doneCount > 0) {
            // A rule counts as fired as soon as the scan of some sample reaches it.
            bool reached = false;
            for (int j = 0; j < n; ++j) {
                if (done[j])
                    continue;
                reached = true;
                ImplicateSample(a, c[j], emptyConsequent, v[j], done[j], doneCount);
            }
            if (reached)
                fired[r] = 1;
            continue;
        }
        // No scan has ended yet: every sample reaches the rule, and outside the consequent's run
        // (where it reads 0) each takes the empty consequent's value.
        if (n > 0)
            fired[r] = 1;
        const int first = std::clamp(c.first, 0, n);
        const int end = std::clamp(c.end, first, n);
        std::fill(v, v + first, emptyConsequent);
        std::fill(v + end, v + n, emptyConsequent);
        for (int j = first; j < end; ++j)
            ImplicateSample(a, c.values[j - c.first], emptyConsequent, v[j], done[j], doneCount);
    }
}

void AntecedentCellDegrees(const CompiledRules& rules, int a, double x, double* degrees) {
    for (int id = rules.firstCellOf[a]; id < rules.firstCellOf[a + 1]; ++id) {
        const CompiledRules::CellGrid& grid = rules.distinctGrids[id];
        if (grid.samples > 0) {
            const SampleRun& run = grid.run;
            degrees[id] = CFuzzyDiscreteSet::Interpolate([&run](int i) { return run[i]; },
                                                         grid.samples, grid.lo, grid.hi, x);
        } else {
            const CFuzzyDiscreteSet* set = rules.distinctSets[id];
            degrees[id] = set ? set->Membership(x) : 0.0;
        }
    }
}

void CellDegreesAt(const CompiledRules& rules, std::span<const double> inputs, double* degrees) {
    for (int a = 0; a < rules.antecedentCount; ++a)
        AntecedentCellDegrees(rules, a, inputs[a], degrees);
}

void RuleFirings(const CompiledRules& rules, const double* cellDegrees, double* firing) {
    for (int r = 0; r < rules.ruleCount; ++r)
        firing[r] = rules.active[r] ? Firing(rules, cellDegrees, r) : 0.0;
}

void PartialFirings(const CompiledRules& rules, const double* cellDegrees, double* partial) {
    const int m = rules.antecedentCount;
    for (int r = 0; r < rules.ruleCount; ++r) {
        const int* cell = rules.antecedentCellIds.data() + static_cast<std::size_t>(r) * m;
        double degree = 1.0;
        for (int i = 1; i < m; ++i) {
            const double d = cellDegrees[cell[i]];
            degree = d < degree ? d : degree;
        }
        partial[r] = degree;
    }
}

void FiringsFromPartial(const CompiledRules& rules, const double* cellDegrees,
                        const double* partial, double* firing) {
    const int m = rules.antecedentCount;
    for (int r = 0; r < rules.ruleCount; ++r) {
        const double d = cellDegrees[rules.antecedentCellIds[static_cast<std::size_t>(r) * m]];
        firing[r] = rules.active[r] ? (d < partial[r] ? d : partial[r]) : 0.0;
    }
}

void FiringsFromPartial(const CompiledRules& rules, const double* cellDegrees,
                        const double* partial, std::span<const int> candidates, double* firing) {
    const int m = rules.antecedentCount;
    for (const int r : candidates) {
        const double d = cellDegrees[rules.antecedentCellIds[static_cast<std::size_t>(r) * m]];
        firing[r] = d < partial[r] ? d : partial[r];
    }
}

int RulesThatMayFire(const CompiledRules& rules, const double* partial, int* live) {
    int count = 0;
    for (int r = 0; r < rules.ruleCount; ++r) {
        if (rules.active[r] && partial[r] != 0)
            live[count++] = r;
    }
    return count;
}

void InferOutputSamples(CrispMethod method, const CompiledRules& rules, const double* firing,
                        InferenceScratch& scratch, double* samples, int sampleCount) {
    const KernelRules kernelRules{rules.ruleCount, rules.active.data(), rules.consequentRuns.data(),
                                  firing};
    switch (method) {
        case CrispMethod::kLogical:
            RunSetKernel(SetKernel::kLogical, kernelRules, scratch.fired.data(), samples,
                         sampleCount);
            return;
        case CrispMethod::kPerceptionBased:
            PerceptionBasedSamples(rules, firing, scratch, samples, sampleCount);
            return;
        case CrispMethod::kZadehProduct:
            RunSetKernel(SetKernel::kZadehProduct, kernelRules, scratch.fired.data(), samples,
                         sampleCount);
            return;
        case CrispMethod::kZadehLukasiewicz:
            RunSetKernel(SetKernel::kZadehLukasiewicz, kernelRules, scratch.fired.data(), samples,
                         sampleCount);
            return;
        case CrispMethod::kZadehMinimum:
            RunSetKernel(SetKernel::kZadehMinimum, kernelRules, scratch.fired.data(), samples,
                         sampleCount);
            return;
        case CrispMethod::kLinearCombination:
            break;
    }
    throw std::logic_error("the Takagi-Sugeno method makes no output set");
}

bool IsZadehMethod(CrispMethod method) {
    return method == CrispMethod::kZadehMinimum || method == CrispMethod::kZadehProduct ||
           method == CrispMethod::kZadehLukasiewicz;
}

void ConsequentDegrees(const CompiledRules& rules, const double* firing,
                       std::optional<std::span<const int>> candidates, double* degrees) {
    std::fill(degrees, degrees + rules.distinctConsequentRuns.size(), 0.0);
    // A degree of 0 or less, or NaN, raises no sample.
    const auto raise = [&](int r) {
        double& degree = degrees[rules.consequentIds[r]];
        if (rules.active[r] && firing[r] > degree)
            degree = firing[r];
    };
    if (candidates) {
        for (const int r : *candidates)
            raise(r);
    } else {
        for (int r = 0; r < rules.ruleCount; ++r)
            raise(r);
    }
}

SetKernel ZadehKernelOf(CrispMethod method) {
    switch (method) {
        case CrispMethod::kZadehMinimum:
            return SetKernel::kZadehMinimum;
        case CrispMethod::kZadehProduct:
            return SetKernel::kZadehProduct;
        case CrispMethod::kZadehLukasiewicz:
            return SetKernel::kZadehLukasiewicz;
        default:
            throw std::logic_error("not a Zadeh method");
    }
}

SampleBounds InferZadehSamples(CrispMethod method, const CompiledRules& rules,
                               const double* consequentDegrees, double* samples, int sampleCount) {
    const SetKernel kernel = ZadehKernelOf(method);
    const KernelRules kernelRules{static_cast<int>(rules.distinctConsequentRuns.size()), nullptr,
                                  rules.distinctConsequentRuns.data(), consequentDegrees};
    return RunZadehValueKernel(kernel, kernelRules, samples, sampleCount);
}

double InferLinearCombination(const CompiledRules& rules, const double* firing,
                              std::span<const double> inputs, bool constantOnly, double midpoint,
                              InferenceScratch& scratch) {
    std::uint8_t* fired = scratch.fired.data();
    double numerator = 0.0;
    double denominator = 0.0;
    for (int r = 0; r < rules.ruleCount; ++r) {
        fired[r] = 0;
        if (!rules.active[r])
            continue;
        const double a = firing[r];
        denominator += a;
        if (a != 0)
            fired[r] = 1;
        const CLinCValue* combination = rules.consequentCombinations[r];
        const double y = combination
                             ? EvaluateLinearCombination(*combination, inputs,
                                                         rules.antecedentCount, constantOnly)
                             : 0.0;
        numerator += y * a;
    }
    if (denominator == 0)
        return midpoint;
    return numerator / denominator;
}
