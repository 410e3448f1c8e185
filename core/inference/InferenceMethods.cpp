#include "core/inference/InferenceMethods.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <vector>

#include "core/inference/CompiledRules.h"
#include "core/inference/CrispInference.h"
#include "core/inference/InferenceScratch.h"
#include "core/inference/SampleRun.h"
#include "core/rulebase/CFuzValue.h"
#include "core/rulebase/CLinCValue.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyDiscreteSet.h"

namespace {

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

// A crisp method of the table as its routine runs it, with the result as a new set.
InferenceResult RecordedCrisp(CRuleBase& ruleBase, const InferenceInput& inputs,
                              CrispMethod method) {
    const RecordedOutput output = InferRecorded(ruleBase, method, inputs);
    return Finish(std::make_unique<CFuzzyDiscreteSet>(
        std::vector<double>(output.samples.begin(), output.samples.end()), output.lo, output.hi));
}

// --- Fuzzy inputs ---

double LukasiewiczImplication(double a, double c) {
    return std::min(1.0, 1.0 - a + c);
}

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

RecordedOutput InferRecorded(CRuleBase& ruleBase, CrispMethod method,
                             const InferenceInput& inputs) {
    const OutputGrid grid = OutputGridOf(ruleBase);
    ruleBase.SetInputs(CrispInputsOf(ruleBase, inputs));
    const CompiledRules& rules = ruleBase.GetCompiledRules();
    InferenceScratch& scratch = ruleBase.GetInferenceScratch();
    scratch.Fit(rules, grid.samples);
    CellDegreesAt(rules, ruleBase.GetInputs(), scratch.cellDegrees.data());
    RuleFirings(rules, scratch.cellDegrees.data(), scratch.ruleDegrees.data());
    InferOutputSamples(method, rules, scratch.ruleDegrees.data(), scratch, scratch.samples.data(),
                       grid.samples);
    ruleBase.RecordFired(std::span(scratch.fired).first(rules.ruleCount));
    return {std::span(scratch.samples).first(grid.samples), grid.lo, grid.hi};
}

InferenceResult LZadInfCrispWithMode(CRuleBase& ruleBase, const InferenceInput& inputs, int mode) {
    switch (mode) {
        case kProductTNorm:
            return RecordedCrisp(ruleBase, inputs, CrispMethod::kZadehProduct);
        case kLukasiewiczTNorm:
            return RecordedCrisp(ruleBase, inputs, CrispMethod::kZadehLukasiewicz);
        default:
            return RecordedCrisp(ruleBase, inputs, CrispMethod::kZadehMinimum);
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

InferenceResult LLogInfCrisp(CRuleBase& ruleBase, const InferenceInput& inputs) {
    return RecordedCrisp(ruleBase, inputs, CrispMethod::kLogical);
}

InferenceResult LLogInfPreCrisp(CRuleBase& ruleBase, const InferenceInput& inputs) {
    return RecordedCrisp(ruleBase, inputs, CrispMethod::kPerceptionBased);
}

InferenceResult LLinCInfCrisp(CRuleBase& ruleBase, const InferenceInput& inputs) {
    const OutputGrid grid = OutputGridOf(ruleBase, false);
    ruleBase.SetInputs(CrispInputsOf(ruleBase, inputs));
    const TypeOfDescription kind = ruleBase.GetTypeOfDescription();
    if (kind == CRuleBase::kLinguistic)
        return {nullptr, std::numeric_limits<double>::infinity()};

    const CompiledRules& rules = ruleBase.GetCompiledRules();
    InferenceScratch& scratch = ruleBase.GetInferenceScratch();
    scratch.Fit(rules, 0);
    const auto x = ruleBase.GetInputs();
    CellDegreesAt(rules, x, scratch.cellDegrees.data());
    RuleFirings(rules, scratch.cellDegrees.data(), scratch.ruleDegrees.data());
    const double value =
        InferLinearCombination(rules, scratch.ruleDegrees.data(), x, kind == CRuleBase::kSingleton,
                               (grid.lo + grid.hi) * 0.5, scratch);
    ruleBase.RecordFired(std::span(scratch.fired).first(rules.ruleCount));
    return {nullptr, value};
}

// The sup-min composition reduces exactly, since minimum and maximum only pick values: over the
// product grid, max_k min(w_k, deg_rk) is min_i max_k min(input_i[k], A_ri[k]) for each rule r,
// and the result at sample j is the maximum over active rules of min(that, C_r[j]).
InferenceResult LZadInfFuz(CRuleBase& ruleBase, const InferenceInput& inputs) {
    const OutputGrid grid = OutputGridOf(ruleBase);
    std::vector<SampleRun> inputRuns = FuzzyInputRuns(ruleBase, inputs);
    const CompiledRules& tables = ruleBase.GetCompiledRules();
    auto result = NewResult(grid, 0.0);
    double* d = result->Values().data();
    for (int r = 0; r < tables.ruleCount; ++r) {
        if (!tables.active[r])
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
    const CompiledRules& tables = ruleBase.GetCompiledRules();
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
            if (!tables.active[r])
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
