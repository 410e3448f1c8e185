#include "core/inference/CrispInference.h"

#include <algorithm>
#include <stdexcept>

#include "core/inference/InferenceMethods.h"
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

// The same without the early stop.
double FullFiring(const CompiledRules& rules, const double* degrees, int r) {
    const int* cell =
        rules.antecedentCellIds.data() + static_cast<std::size_t>(r) * rules.antecedentCount;
    double degree = 1.0;
    for (int i = 0; i < rules.antecedentCount; ++i)
        degree = std::min(degree, degrees[cell[i]]);
    return degree;
}

double LukasiewiczImplication(double a, double c) {
    return std::min(1.0, 1.0 - a + c);
}

// The rule-by-rule form of the sample-by-sample scan, with each rule's degree computed once. A
// sample takes the greatest t = T(a, c) of the rules in order, its scan ending at 1, and a rule
// fires there where its t exceeds the value of the rules before it: both are the same whether
// the rules are visited per sample or the samples per rule. A consequent of 0 gives t = 0, which
// changes nothing, so only the run of stored consequent samples is visited.
template <class TNorm>
void ZadehSamples(const CompiledRules& rules, const double* degrees, std::uint8_t* fired, double* d,
                  int n, TNorm tNorm) {
    std::fill_n(d, n, 0.0);
    for (int r = 0; r < rules.ruleCount; ++r) {
        fired[r] = 0;
        if (!rules.active[r])
            continue;
        const SampleRun& c = rules.consequentRuns[r];
        const int end = std::min(c.end, n);
        if (c.first >= end)
            continue;
        const double a = Firing(rules, degrees, r);
        if (a == 0)
            continue;
        const double* consequent = c.values;
        double* samples = d + c.first;
        int raised = 0;
        for (int k = 0; k < end - c.first; ++k) {
            const double t = tNorm(a, consequent[k]);
            raised |= t > samples[k];
            samples[k] = t > samples[k] ? t : samples[k];
        }
        fired[r] = raised ? 1 : 0;
    }
}

// The least implication value per sample, the scan ending at 0: a rule fires where its value is
// below that of the rules before it. Outside its stored run a consequent reads 0, where the
// implication is the same for every sample.
void LogicalSamples(const CompiledRules& rules, const double* degrees, std::uint8_t* fired,
                    double* d, int n) {
    std::fill_n(d, n, 1.0);
    for (int r = 0; r < rules.ruleCount; ++r) {
        fired[r] = 0;
        if (!rules.active[r])
            continue;
        const double a = Firing(rules, degrees, r);
        if (a == 0)
            continue;
        const SampleRun& c = rules.consequentRuns[r];
        const int first = std::clamp(c.first, 0, n);
        const int end = std::clamp(c.end, first, n);
        const double outside = LukasiewiczImplication(a, 0.0);
        int lowered = 0;
        const auto lower = [&](int j, double t) {
            lowered |= t < d[j];
            d[j] = t < d[j] ? t : d[j];
        };
        for (int j = 0; j < first; ++j)
            lower(j, outside);
        for (int j = first; j < end; ++j)
            lower(j, LukasiewiczImplication(a, c.values[j - c.first]));
        for (int j = end; j < n; ++j)
            lower(j, outside);
        fired[r] = lowered ? 1 : 0;
    }
}

// One output sample against one rule of the perception-based deduction: done marks a sample
// whose scan a result of 0 has stopped.
void Implicate(double a, double c, double& sample, std::uint8_t& done) {
    const double t = LukasiewiczImplication(a, c);
    if (t == 0) {
        sample = 0.0;
        done = 1;
    } else if (t < sample) {
        sample = t;
    }
}

void PerceptionBasedSamples(const CompiledRules& rules, const double* degrees,
                            InferenceScratch& scratch, double* v, int n) {
    std::uint8_t* fired = scratch.fired.data();
    std::fill_n(fired, rules.ruleCount, 0);
    // Selection: below the threshold the highest degree wins; once a rule reaches it, every rule
    // at or above it competes by complexity alone. Ties keep all rules, in rule order.
    double* degree = scratch.ruleDegrees.data();
    int* selected = scratch.selectedRules.data();
    const std::uint16_t* complexity = rules.complexity.data();
    int selectedCount = 0;
    double best = 0.0;
    double selectionDegree = 0.0;
    for (int r = 0; r < rules.ruleCount; ++r) {
        if (!rules.active[r])
            continue;
        const double a = Firing(rules, degrees, r);
        degree[r] = a;
        if (a == 0)
            continue;
        if (a > best && best != PerceptionThreshold) {
            selected[0] = r;
            selectedCount = 1;
            selectionDegree = a;
            best = std::min(a, PerceptionThreshold);
        } else if (selectedCount > 0 && (a == best || a >= PerceptionThreshold)) {
            const std::uint16_t last = complexity[selected[selectedCount - 1]];
            if (complexity[r] == last) {
                selected[selectedCount++] = r;
            } else if (complexity[r] < last) {
                selected[0] = r;
                selectedCount = 1;
                selectionDegree = a;
            }
        }
    }

    if (selectedCount == 0) {
        std::fill_n(v, n, 0.0);
        return;
    }

    std::fill_n(v, n, 1.0);
    std::uint8_t* done = scratch.sampleDone.data();
    std::fill_n(done, n, 0);
    const double emptyConsequent = 1 - selectionDegree;
    for (int s = 0; s < selectedCount; ++s) {
        const int r = selected[s];
        const double a = degree[r];
        const SampleRun& c = rules.consequentRuns[r];
        // A rule counts as fired as soon as the scan of some sample reaches it.
        bool reached = false;
        for (int j = 0; j < n; ++j) {
            if (done[j])
                continue;
            reached = true;
            const double cj = c[j];
            if (cj == 1)
                continue;
            if (cj == 0) {
                v[j] = emptyConsequent;  // replaces the running value: not a minimum
                continue;
            }
            Implicate(a, cj, v[j], done[j]);
        }
        if (reached)
            fired[r] = 1;
    }
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

void AntecedentCellDegrees(const CompiledRules& rules, int a, double x, double* degrees) {
    for (int id = rules.firstCellOf[a]; id < rules.firstCellOf[a + 1]; ++id) {
        const CFuzzyDiscreteSet* set = rules.distinctSets[id];
        degrees[id] = set ? set->Membership(x) : 0.0;
    }
}

void CellDegreesAt(const CompiledRules& rules, std::span<const double> inputs, double* degrees) {
    for (int a = 0; a < rules.antecedentCount; ++a)
        AntecedentCellDegrees(rules, a, inputs[a], degrees);
}

void InferOutputSamples(CrispMethod method, const CompiledRules& rules, const double* cellDegrees,
                        InferenceScratch& scratch, double* samples, int sampleCount) {
    std::uint8_t* fired = scratch.fired.data();
    switch (method) {
        case CrispMethod::kLogical:
            LogicalSamples(rules, cellDegrees, fired, samples, sampleCount);
            return;
        case CrispMethod::kPerceptionBased:
            PerceptionBasedSamples(rules, cellDegrees, scratch, samples, sampleCount);
            return;
        case CrispMethod::kZadehProduct:
            ZadehSamples(rules, cellDegrees, fired, samples, sampleCount,
                         [](double a, double c) { return a * c; });
            return;
        case CrispMethod::kZadehLukasiewicz:
            ZadehSamples(rules, cellDegrees, fired, samples, sampleCount, [](double a, double c) {
                const double t = a + c - 1;
                return t > 0 ? t : 0.0;
            });
            return;
        case CrispMethod::kZadehMinimum:
            ZadehSamples(rules, cellDegrees, fired, samples, sampleCount,
                         [](double a, double c) { return std::min(a, c); });
            return;
        case CrispMethod::kLinearCombination:
            break;
    }
    throw std::logic_error("the Takagi-Sugeno method makes no output set");
}

double InferLinearCombination(const CompiledRules& rules, const double* cellDegrees,
                              std::span<const double> inputs, bool constantOnly, double midpoint,
                              InferenceScratch& scratch) {
    std::uint8_t* fired = scratch.fired.data();
    double numerator = 0.0;
    double denominator = 0.0;
    for (int r = 0; r < rules.ruleCount; ++r) {
        fired[r] = 0;
        if (!rules.active[r])
            continue;
        const double a = FullFiring(rules, cellDegrees, r);
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
