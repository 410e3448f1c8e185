#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/ftransform/FTInferenceFilter.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"

namespace {

// A new linguistic rule base (perception-based logical deduction, simple defuzzification of
// linguistic expressions, grids of 301) with inputs over [0, 1] and five terms per input in
// every combination: 5^n rules.
CRuleBase GridRuleBase(int inputs) {
    static const std::vector<std::string> kTerms = {"ex sm", "sm", "me", "bi", "ex bi"};
    CRuleBase ruleBase(CRuleBase::kLinguistic);
    for (int i = 1; i < inputs; ++i) {
        ruleBase.AddAntVariable(
            std::make_unique<CFuzzyVariable>("x" + std::to_string(i),
                                             std::make_shared<CLinguisticSettings>(0.0, 1.0),
                                             CRuleBase::kDefaultDiscretization),
            0);
    }
    Rules rules;
    std::vector<int> term(inputs, 0);
    for (;;) {
        std::vector<std::string> cells;
        int sum = 0;
        for (int k : term) {
            cells.push_back(kTerms[k]);
            sum += k;
        }
        cells.push_back(kTerms[sum / inputs]);
        rules.AddRule(std::move(cells));
        int d = 0;
        while (d < inputs && ++term[d] == static_cast<int>(kTerms.size()))
            term[d++] = 0;
        if (d == inputs)
            break;
    }
    ruleBase.SetRulesFromSet(rules);
    return ruleBase;
}

// Computing the filter: 201^n inferences with defuzzification, and the transform.
void BM_ComputeFilter(benchmark::State& state) {
    const int inputs = static_cast<int>(state.range(0));
    CRuleBase ruleBase = GridRuleBase(inputs);
    for (auto _ : state) {
        ruleBase.UpdateFuzzyFilter();
        benchmark::DoNotOptimize(ruleBase.GetFuzzyFilter());
    }
    int samples = 1;
    for (int i = 0; i < inputs; ++i)
        samples *= FTInferenceFilter::kSamplesPerInput;
    state.counters["inferences"] =
        benchmark::Counter(samples, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ComputeFilter)->ArgName("inputs")->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// One filtered value once the filter stands, against the inference it replaces.
void BM_FilteredValue(benchmark::State& state) {
    CRuleBase ruleBase = GridRuleBase(2);
    ruleBase.UpdateFuzzyFilter();
    std::mt19937 random(1);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::vector<double>> points(1024);
    for (auto& point : points)
        point = {unit(random), unit(random)};
    std::size_t next = 0;
    const bool filtered = state.range(0) != 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(filtered ? ruleBase.FilteredInference(points[next])
                                          : ruleBase.CrispOutput(points[next]));
        next = (next + 1) % points.size();
    }
    state.SetLabel(filtered ? "filtered" : "inference");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FilteredValue)->ArgName("filtered")->Arg(1)->Arg(0);

}  // namespace
