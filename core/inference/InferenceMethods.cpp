#include "core/inference/InferenceMethods.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <vector>

#include "core/inference/SampleRun.h"
#include "core/rulebase/CFuzValue.h"
#include "core/rulebase/CLinCValue.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyDiscreteSet.h"

namespace {

using Tables = CRuleBase::InferenceTables;

// The universe and grid of the first succedent, where every result lives.
struct OutputGrid {
    int samples;
    double lo;
    double hi;
};

OutputGrid OutputGridOf(const CRuleBase& ruleBase, bool needsSamples = true) {
    if (ruleBase.GetNumSucVariables() == 0)
        throw std::invalid_argument("the rule base has no output variable");
    const int samples = ruleBase.GetDiscretization(-1);
    if (needsSamples && samples < 1)
        throw std::invalid_argument("the output variable has no grid");
    return {samples, ruleBase.GetLowerBound(-1), ruleBase.GetUpperBound(-1)};
}

std::unique_ptr<CFuzzyDiscreteSet> NewResult(const OutputGrid& grid, double fill) {
    return std::make_unique<CFuzzyDiscreteSet>(std::vector<double>(grid.samples, fill), grid.lo,
                                               grid.hi);
}

InferenceResult Finish(std::unique_ptr<CFuzzyDiscreteSet> set) {
    set->MarkTemporary();
    return {std::move(set)};
}

std::span<const double> CrispInputsOf(const CRuleBase& ruleBase, const InferenceInput& inputs) {
    if (inputs.IsFuzzy())
        throw std::invalid_argument("this inference method takes one crisp value per antecedent");
    if (static_cast<int>(inputs.crisp.size()) < ruleBase.GetNumAntVariables())
        throw std::invalid_argument("one input per antecedent is needed");
    return inputs.crisp;
}

// The start shared by the crisp methods of linguistic rule bases: inputs recorded, no rule
// fired yet.
Tables& StartCrisp(CRuleBase& ruleBase, const InferenceInput& inputs) {
    ruleBase.SetInputs(CrispInputsOf(ruleBase, inputs));
    Tables& tables = ruleBase.GetInferenceTables();
    ruleBase.ClearFired();
    return tables;
}

// Degrees of the distinct antecedent cells at the inputs, computed when a rule first needs them
// and kept for the rest of the call. A degree is never negative, so -1 marks one not computed.
class CellDegrees {
  public:
    CellDegrees(Tables& tables, const double* x) : tables_(tables), x_(x) {
        std::fill(tables.cellDegrees.begin(), tables.cellDegrees.end(), -1.0);
    }

    // The firing degree of rule r: stopped at the first antecedent degree of exactly 0.
    double Firing(int r) {
        const std::size_t row = static_cast<std::size_t>(r) * tables_.antecedentCount;
        double degree = 1.0;
        for (int i = 0; i < tables_.antecedentCount; ++i) {
            const double m = Of(row + i, i);
            if (m == 0)
                return 0.0;
            degree = std::min(degree, m);
        }
        return degree;
    }

    // The same without the early stop.
    double Full(int r) {
        const std::size_t row = static_cast<std::size_t>(r) * tables_.antecedentCount;
        double degree = 1.0;
        for (int i = 0; i < tables_.antecedentCount; ++i)
            degree = std::min(degree, Of(row + i, i));
        return degree;
    }

  private:
    double Of(std::size_t cell, int i) {
        const int id = tables_.antecedentCellIds[cell];
        double& degree = tables_.cellDegrees[id];
        if (degree < 0) {
            const CFuzzyDiscreteSet* set = tables_.distinctSets[id];
            degree = set ? set->Membership(x_[i]) : 0.0;
        }
        return degree;
    }

    Tables& tables_;
    const double* x_;
};

bool IsActive(const CRuleBase& ruleBase, int r) {
    return ruleBase.GetActiveFlags()[r] != 0;
}

double LukasiewiczImplication(double a, double c) {
    return std::min(1.0, 1.0 - a + c);
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

std::uint8_t* SampleDoneFlags(Tables& tables, int samples) {
    if (static_cast<int>(tables.sampleDone.size()) < samples)
        tables.sampleDone.resize(samples);
    std::fill_n(tables.sampleDone.begin(), samples, 0);
    return tables.sampleDone.data();
}

// The rule-by-rule form of the sample-by-sample scan, with each rule's degree computed once. A
// sample takes the greatest t = T(a, c) of the rules in order, its scan ending at 1, and a rule
// fires there where its t exceeds the value of the rules before it: both are the same whether
// the rules are visited per sample or the samples per rule. A consequent of 0 gives t = 0, which
// changes nothing, so only the run of stored consequent samples is visited.
template <class TNorm>
InferenceResult ZadehCrisp(CRuleBase& ruleBase, const InferenceInput& inputs, TNorm tNorm) {
    const OutputGrid grid = OutputGridOf(ruleBase);
    Tables& tables = StartCrisp(ruleBase, inputs);
    CellDegrees degrees(tables, ruleBase.GetInputs().data());
    auto result = NewResult(grid, 0.0);
    double* d = result->Values().data();
    for (int r = 0; r < tables.ruleCount; ++r) {
        if (!IsActive(ruleBase, r))
            continue;
        const SampleRun& c = tables.consequentRuns[r];
        const int end = std::min(c.end, grid.samples);
        if (c.first >= end)
            continue;
        const double a = degrees.Firing(r);
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
        if (raised)
            ruleBase.MarkFired(r);
    }
    ruleBase.CountFired();
    return Finish(std::move(result));
}

// --- Fuzzy inputs ---

int NearestSample(double x, double lo, double hi, int samples) {
    const double t = (samples - 1) * (x - lo) / (hi - lo) + 0.5;
    if (!(t > 0))
        return 0;
    if (t >= samples)
        return samples - 1;
    return static_cast<int>(t);
}

// The inputs of a fuzzy-input method, one run per antecedent over its grid. Crisp values become
// singletons.
std::vector<SampleRun> FuzzyInputRuns(CRuleBase& ruleBase, const InferenceInput& inputs) {
    static constexpr double kSingleton = 1.0;
    const int antecedents = ruleBase.GetNumAntVariables();
    std::vector<SampleRun> runs(antecedents);
    if (inputs.IsFuzzy()) {
        if (static_cast<int>(inputs.fuzzy.size()) < antecedents)
            throw std::invalid_argument("one input set per antecedent is needed");
        for (int i = 0; i < antecedents; ++i) {
            const CFuzzyDiscreteSet* set = inputs.fuzzy[i];
            if (set == nullptr || set->Sizes().size() != 1)
                throw std::invalid_argument("an input set must be one-dimensional");
            runs[i] = SampleRun::Of(set);
        }
    } else {
        ruleBase.SetInputs(CrispInputsOf(ruleBase, inputs));
        for (int i = 0; i < antecedents; ++i) {
            const int samples = std::max(1, ruleBase.GetDiscretization(i));
            const int k = NearestSample(inputs.crisp[i], ruleBase.GetLowerBound(i),
                                        ruleBase.GetUpperBound(i), samples);
            runs[i] = {&kSingleton, k, k + 1};
        }
    }
    // Only the samples of each antecedent's grid count.
    for (int i = 0; i < antecedents; ++i)
        runs[i].end = std::min(runs[i].end, std::max(0, ruleBase.GetDiscretization(i)));
    return runs;
}

// The runs of the nonzero samples: outside them an input's degree is 0, and such grid points
// change nothing in either fuzzy-input method.
void TrimZeros(SampleRun& run) {
    while (run.first < run.end && run.values[0] == 0) {
        ++run.values;
        ++run.first;
    }
    while (run.end > run.first && run.values[run.end - 1 - run.first] == 0)
        --run.end;
}

}  // namespace

InferenceResult LZadInfCrispWithMode(CRuleBase& ruleBase, const InferenceInput& inputs, int mode) {
    switch (mode) {
        case kProductTNorm:
            return ZadehCrisp(ruleBase, inputs, [](double a, double c) { return a * c; });
        case kLukasiewiczTNorm:
            return ZadehCrisp(ruleBase, inputs, [](double a, double c) {
                const double t = a + c - 1;
                return t > 0 ? t : 0.0;
            });
        default:
            return ZadehCrisp(ruleBase, inputs, [](double a, double c) { return std::min(a, c); });
    }
}

InferenceResult LZadInfCrisp(CRuleBase& ruleBase, const InferenceInput& inputs) {
    return LZadInfCrispWithMode(ruleBase, inputs, kMinimumTNorm);
}

InferenceResult LZadInfCrispProd(CRuleBase& ruleBase, const InferenceInput& inputs) {
    return LZadInfCrispWithMode(ruleBase, inputs, kProductTNorm);
}

InferenceResult LZadInfCrispLuk(CRuleBase& ruleBase, const InferenceInput& inputs) {
    return LZadInfCrispWithMode(ruleBase, inputs, kLukasiewiczTNorm);
}

// As ZadehCrisp, with the least implication value per sample, the scan ending at 0: a rule
// fires where its value is below that of the rules before it. A consequent of 1 gives 1, which
// changes nothing.
InferenceResult LLogInfCrisp(CRuleBase& ruleBase, const InferenceInput& inputs) {
    const OutputGrid grid = OutputGridOf(ruleBase);
    Tables& tables = StartCrisp(ruleBase, inputs);
    CellDegrees degrees(tables, ruleBase.GetInputs().data());
    auto result = NewResult(grid, 1.0);
    double* d = result->Values().data();
    for (int r = 0; r < tables.ruleCount; ++r) {
        if (!IsActive(ruleBase, r))
            continue;
        const double a = degrees.Firing(r);
        if (a == 0)
            continue;
        const SampleRun& c = tables.consequentRuns[r];
        int lowered = 0;
        for (int j = 0; j < grid.samples; ++j) {
            const double t = LukasiewiczImplication(a, c[j]);
            lowered |= t < d[j];
            d[j] = t < d[j] ? t : d[j];
        }
        if (lowered)
            ruleBase.MarkFired(r);
    }
    ruleBase.CountFired();
    return Finish(std::move(result));
}

InferenceResult LLogInfPreCrisp(CRuleBase& ruleBase, const InferenceInput& inputs) {
    const OutputGrid grid = OutputGridOf(ruleBase);
    Tables& tables = StartCrisp(ruleBase, inputs);
    CellDegrees degrees(tables, ruleBase.GetInputs().data());
    const auto complexity = ruleBase.GetRuleComplexity();
    const auto complexityOf = [&](int r) -> std::uint16_t {
        return r < static_cast<int>(complexity.size()) ? complexity[r] : 0;
    };

    // Selection: below the threshold the highest degree wins; once a rule reaches it, every rule
    // at or above it competes by complexity alone. Ties keep all rules, in rule order.
    double* degree = tables.ruleDegrees.data();
    int* selected = tables.selectedRules.data();
    int selectedCount = 0;
    double best = 0.0;
    double selectionDegree = 0.0;
    for (int r = 0; r < tables.ruleCount; ++r) {
        if (!IsActive(ruleBase, r))
            continue;
        const double a = degrees.Firing(r);
        degree[r] = a;
        if (a == 0)
            continue;
        if (a > best && best != PerceptionThreshold) {
            selected[0] = r;
            selectedCount = 1;
            selectionDegree = a;
            best = std::min(a, PerceptionThreshold);
        } else if (selectedCount > 0 && (a == best || a >= PerceptionThreshold)) {
            const std::uint16_t last = complexityOf(selected[selectedCount - 1]);
            if (complexityOf(r) == last) {
                selected[selectedCount++] = r;
            } else if (complexityOf(r) < last) {
                selected[0] = r;
                selectedCount = 1;
                selectionDegree = a;
            }
        }
    }

    if (selectedCount == 0) {
        auto result = NewResult(grid, 0.0);
        ruleBase.CountFired();
        return Finish(std::move(result));
    }

    auto result = NewResult(grid, 1.0);
    double* v = result->Values().data();
    std::uint8_t* done = SampleDoneFlags(tables, grid.samples);
    const double emptyConsequent = 1 - selectionDegree;
    for (int s = 0; s < selectedCount; ++s) {
        const int r = selected[s];
        const double a = degree[r];
        const SampleRun& c = tables.consequentRuns[r];
        // A rule counts as fired as soon as the scan of some sample reaches it.
        bool reached = false;
        for (int j = 0; j < grid.samples; ++j) {
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
            ruleBase.MarkFired(r);
    }
    ruleBase.CountFired();
    return Finish(std::move(result));
}

InferenceResult LLinCInfCrisp(CRuleBase& ruleBase, const InferenceInput& inputs) {
    const OutputGrid grid = OutputGridOf(ruleBase, false);
    ruleBase.SetInputs(CrispInputsOf(ruleBase, inputs));
    const TypeOfDescription kind = ruleBase.GetTypeOfDescription();
    if (kind == CRuleBase::kLinguistic)
        return {nullptr, std::numeric_limits<double>::infinity()};

    Tables& tables = ruleBase.GetInferenceTables();
    ruleBase.ClearFired();
    const auto x = ruleBase.GetInputs();
    CellDegrees degrees(tables, x.data());
    const int antecedents = tables.antecedentCount;
    double numerator = 0.0;
    double denominator = 0.0;
    for (int r = 0; r < tables.ruleCount; ++r) {
        if (!IsActive(ruleBase, r))
            continue;
        const double a = degrees.Full(r);
        denominator += a;
        if (a != 0)
            ruleBase.AddFired(r);
        const CLinCValue* combination = tables.consequentCombinations[r];
        const double y = combination ? EvaluateLinearCombination(*combination, x, antecedents,
                                                                 kind == CRuleBase::kSingleton)
                                     : 0.0;
        numerator += y * a;
    }
    if (denominator == 0)
        return {nullptr, (grid.lo + grid.hi) * 0.5};
    return {nullptr, numerator / denominator};
}

// The sup-min composition reduces exactly, since minimum and maximum only pick values: over the
// product grid, max_k min(w_k, deg_rk) is min_i max_k min(input_i[k], A_ri[k]) for each rule r,
// and the result at sample j is the maximum over active rules of min(that, C_r[j]).
InferenceResult LZadInfFuz(CRuleBase& ruleBase, const InferenceInput& inputs) {
    const OutputGrid grid = OutputGridOf(ruleBase);
    std::vector<SampleRun> inputRuns = FuzzyInputRuns(ruleBase, inputs);
    Tables& tables = ruleBase.GetInferenceTables();
    auto result = NewResult(grid, 0.0);
    double* d = result->Values().data();
    for (int r = 0; r < tables.ruleCount; ++r) {
        if (!IsActive(ruleBase, r))
            continue;
        double consistency = 1.0;
        for (int i = 0; i < tables.antecedentCount && consistency > 0; ++i) {
            const SampleRun& input = inputRuns[i];
            const SampleRun cell =
                SampleRun::Of(tables.antecedentSets[r * tables.antecedentCount + i]);
            double sup = 0.0;
            const int first = std::max(input.first, cell.first);
            const int end = std::min(input.end, cell.end);
            for (int k = first; k < end; ++k)
                sup = std::max(
                    sup, std::min(input.values[k - input.first], cell.values[k - cell.first]));
            consistency = std::min(consistency, sup);
        }
        if (consistency == 0)
            continue;
        const SampleRun& c = tables.consequentRuns[r];
        const int end = std::min(c.end, grid.samples);
        for (int j = c.first; j < end; ++j)
            d[j] = std::max(d[j], std::min(consistency, c.values[j - c.first]));
    }
    return Finish(std::move(result));
}

InferenceResult LLogInfFuz(CRuleBase& ruleBase, const InferenceInput& inputs) {
    const OutputGrid grid = OutputGridOf(ruleBase);
    std::vector<SampleRun> inputRuns = FuzzyInputRuns(ruleBase, inputs);
    Tables& tables = ruleBase.GetInferenceTables();
    const int antecedents = tables.antecedentCount;
    auto result = NewResult(grid, 0.0);
    double* d = result->Values().data();

    // Grid points where an input is 0 are skipped by the method itself; so are rules of degree
    // 0 (the implication gives 1) and consequent samples of exactly 1.
    std::vector<int> first(antecedents), sizes(antecedents), offset(antecedents, 0);
    for (int i = 0; i < antecedents; ++i) {
        TrimZeros(inputRuns[i]);
        if (inputRuns[i].Empty())
            return Finish(std::move(result));
        first[i] = inputRuns[i].first;
        sizes[i] = inputRuns[i].end - inputRuns[i].first;
    }
    std::vector<SampleRun> cells(static_cast<std::size_t>(tables.ruleCount) * antecedents);
    for (std::size_t cell = 0; cell < cells.size(); ++cell)
        cells[cell] = SampleRun::Of(tables.antecedentSets[cell]);
    std::vector<double> tmp(grid.samples);
    do {
        double w = 1.0;
        for (int i = 0; i < antecedents && w != 0; ++i) {
            const double m = inputRuns[i].values[offset[i]];
            w = m == 0 ? 0.0 : std::min(w, m);
        }
        if (w == 0)
            continue;
        std::fill(tmp.begin(), tmp.end(), 1.0);
        for (int r = 0; r < tables.ruleCount; ++r) {
            if (!IsActive(ruleBase, r))
                continue;
            double degree = 1.0;
            for (int i = 0; i < antecedents && degree != 0; ++i) {
                const double m = cells[r * antecedents + i][first[i] + offset[i]];
                degree = m == 0 ? 0.0 : std::min(degree, m);
            }
            if (degree == 0)
                continue;
            const SampleRun& c = tables.consequentRuns[r];
            for (int j = 0; j < grid.samples; ++j) {
                if (tmp[j] == 0)
                    continue;
                const double cj = c[j];
                if (cj != 1)
                    tmp[j] = std::min(tmp[j], LukasiewiczImplication(degree, cj));
            }
        }
        for (int j = 0; j < grid.samples; ++j) {
            if (d[j] == 1)
                continue;
            const double t = w + tmp[j] - 1;
            d[j] = std::max(d[j], t > 0 ? t : 0.0);
        }
    } while (NextGridIndex(antecedents, sizes.data(), offset.data()));
    return Finish(std::move(result));
}

double AntecedentDegree(const CRuleBase& ruleBase, int i, int r, double x) {
    const auto* value = dynamic_cast<const CFuzValue*>(&ruleBase.GetCell(i, r));
    const CFuzzyDiscreteSet* set = value ? value->GetSet() : nullptr;
    return set ? set->Membership(x) : 0.0;
}

double AntecedentSampleDegree(const CRuleBase& ruleBase, int i, int r, int k) {
    const auto* value = dynamic_cast<const CFuzValue*>(&ruleBase.GetCell(i, r));
    return value && value->GetSet() ? value->GetSet()->Sample(k) : 0.0;
}

double ConsequentDegree(const CRuleBase& ruleBase, int s, int r, int j) {
    const auto* value = dynamic_cast<const CFuzValue*>(&ruleBase.GetCell(-1 - s, r));
    return value && value->GetSet() ? value->GetSet()->Sample(j) : 0.0;
}

bool NextGridIndex(int count, const int* sizes, int* index) {
    for (int position = 0; position < count; ++position) {
        if (++index[position] < sizes[position])
            return true;
        index[position] = 0;
    }
    return false;
}

double EvaluateLinearCombination(const CLinCValue& value, std::span<const double> inputs, int count,
                                 bool constantOnly) {
    const auto coefficients = value.GetCoefficients();
    if (coefficients.empty())
        return 0.0;
    double sum = coefficients[0];
    if (constantOnly)
        return sum;
    const int terms = std::min(
        {count, static_cast<int>(coefficients.size()) - 1, static_cast<int>(inputs.size())});
    for (int i = 0; i < terms; ++i)
        sum += coefficients[i + 1] * inputs[i];
    return sum;
}
