#include "core/inference/CrispInference.h"

#include <algorithm>
#include <cstring>
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

// The loops below are written for the vectorizer: values, not references, in the minima, and
// the fired flag found afterwards by comparing the touched samples with their copy taken before
// (a sample is rewritten bit for bit unless the rule changed it).

// The rule-by-rule form of the sample-by-sample scan, with each rule's degree computed once. A
// sample takes the greatest t = T(a, c) of the rules in order, its scan ending at 1, and a rule
// fires there where its t exceeds the value of the rules before it: both are the same whether
// the rules are visited per sample or the samples per rule. A consequent of 0 gives t = 0, which
// changes nothing, so only the run of stored consequent samples is visited.
template <class TNorm>
void ZadehSamples(const CompiledRules& rules, const double* firing, InferenceScratch& scratch,
                  double* d, int n, TNorm tNorm) {
    std::uint8_t* fired = scratch.fired.data();
    double* before = scratch.previous.data();
    std::fill_n(d, n, 0.0);
    for (int r = 0; r < rules.ruleCount; ++r) {
        fired[r] = 0;
        if (!rules.active[r])
            continue;
        const SampleRun& c = rules.consequentRuns[r];
        const int end = std::min(c.end, n);
        if (c.first >= end)
            continue;
        const double a = firing[r];
        if (a == 0)
            continue;
        const double* consequent = c.values;
        double* samples = d + c.first;
        const int count = end - c.first;
        std::copy_n(samples, count, before);
        for (int k = 0; k < count; ++k) {
            const double t = tNorm(a, consequent[k]);
            samples[k] = t > samples[k] ? t : samples[k];
        }
        fired[r] = std::memcmp(before, samples, count * sizeof(double)) != 0 ? 1 : 0;
    }
}

double LukasiewiczImplication(double a, double c) {
    const double t = 1.0 - a + c;
    return t < 1.0 ? t : 1.0;
}

// The least implication value per sample, the scan ending at 0: a rule fires where its value is
// below that of the rules before it. Outside its stored run a consequent reads 0, where the
// implication is the same for every sample.
void LogicalSamples(const CompiledRules& rules, const double* firing, InferenceScratch& scratch,
                    double* d, int n) {
    std::uint8_t* fired = scratch.fired.data();
    double* before = scratch.previous.data();
    std::fill_n(d, n, 1.0);
    for (int r = 0; r < rules.ruleCount; ++r) {
        fired[r] = 0;
        if (!rules.active[r])
            continue;
        const double a = firing[r];
        if (a == 0)
            continue;
        const SampleRun& c = rules.consequentRuns[r];
        const int first = std::clamp(c.first, 0, n);
        const int end = std::clamp(c.end, first, n);
        const double outside = LukasiewiczImplication(a, 0.0);
        std::copy_n(d, n, before);
        for (int j = 0; j < first; ++j)
            d[j] = outside < d[j] ? outside : d[j];
        const double* consequent = c.values + (first - c.first);
        for (int j = first; j < end; ++j) {
            const double t = LukasiewiczImplication(a, consequent[j - first]);
            d[j] = t < d[j] ? t : d[j];
        }
        for (int j = end; j < n; ++j)
            d[j] = outside < d[j] ? outside : d[j];
        fired[r] = std::memcmp(before, d, n * sizeof(double)) != 0 ? 1 : 0;
    }
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

void PerceptionBasedSamples(const CompiledRules& rules, const double* firing,
                            InferenceScratch& scratch, double* v, int n) {
    std::uint8_t* fired = scratch.fired.data();
    std::fill_n(fired, rules.ruleCount, 0);
    // Selection: below the threshold the highest degree wins; once a rule reaches it, every rule
    // at or above it competes by complexity alone. Ties keep all rules, in rule order.
    const double* degree = firing;
    int* selected = scratch.selectedRules.data();
    const std::uint16_t* complexity = rules.complexity.data();
    int selectedCount = 0;
    double best = 0.0;
    double selectionDegree = 0.0;
    for (int r = 0; r < rules.ruleCount; ++r) {
        if (!rules.active[r])
            continue;
        const double a = firing[r];
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
    int doneCount = 0;
    const double emptyConsequent = 1 - selectionDegree;
    for (int s = 0; s < selectedCount; ++s) {
        const int r = selected[s];
        const double a = degree[r];
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

void InferOutputSamples(CrispMethod method, const CompiledRules& rules, const double* firing,
                        InferenceScratch& scratch, double* samples, int sampleCount) {
    switch (method) {
        case CrispMethod::kLogical:
            LogicalSamples(rules, firing, scratch, samples, sampleCount);
            return;
        case CrispMethod::kPerceptionBased:
            PerceptionBasedSamples(rules, firing, scratch, samples, sampleCount);
            return;
        case CrispMethod::kZadehProduct:
            ZadehSamples(rules, firing, scratch, samples, sampleCount,
                         [](double a, double c) { return a * c; });
            return;
        case CrispMethod::kZadehLukasiewicz:
            ZadehSamples(rules, firing, scratch, samples, sampleCount, [](double a, double c) {
                const double t = a + c - 1;
                return t > 0 ? t : 0.0;
            });
            return;
        case CrispMethod::kZadehMinimum:
            ZadehSamples(rules, firing, scratch, samples, sampleCount,
                         [](double a, double c) { return c < a ? c : a; });
            return;
        case CrispMethod::kLinearCombination:
            break;
    }
    throw std::logic_error("the Takagi-Sugeno method makes no output set");
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
