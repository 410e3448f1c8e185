#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/checks/CRuleChecks.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"

namespace {

constexpr unsigned kSeed = 1;

// A learned rule base in miniature: cells drawn from the hedged terms that linguistic
// approximation produces, so that identical, inconsistent and covered rules all occur.
CRuleBase LearnedRuleBase(int rules, int inputs) {
    static const std::vector<std::string> kInputCells = {
        "ex sm", "si sm", "ve sm", "sm",    "ml sm", "ro sm", "qr sm", "vr sm", "me",    "ml me",
        "ro me", "vr bi", "qr bi", "ro bi", "ml bi", "bi",    "ve bi", "si bi", "ex bi", "ze"};
    static const std::vector<std::string> kOutputCells = {
        "ex sm", "ve sm", "sm", "ml sm", "ro sm", "me", "ml me",    "ro me",
        "ro bi", "ml bi", "bi", "ve bi", "ex bi", "ze", "about 0.5"};
    CRuleBase ruleBase(CRuleBase::kLinguistic);
    for (int i = 1; i < inputs; ++i) {
        ruleBase.AddAntVariable(
            std::make_unique<CFuzzyVariable>("x" + std::to_string(i),
                                             std::make_shared<CLinguisticSettings>(0.0, 1.0),
                                             CRuleBase::kDefaultDiscretization),
            0);
    }
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<std::size_t> input(0, kInputCells.size() - 1);
    std::uniform_int_distribution<std::size_t> output(0, kOutputCells.size() - 1);
    Rules set;
    for (int r = 0; r < rules; ++r) {
        std::vector<std::string> cells;
        for (int i = 0; i < inputs; ++i)
            cells.push_back(kInputCells[input(random)]);
        cells.push_back(kOutputCells[output(random)]);
        set.AddRule(std::move(cells));
    }
    ruleBase.SetRulesFromSet(set);
    return ruleBase;
}

void Sizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->ArgNames({"rules", "inputs"})
        ->Args({2000, 3})
        ->Args({8000, 3})
        ->Unit(benchmark::kMillisecond);
}

std::size_t Count(const std::unique_ptr<CIntPtrArray>& groups) {
    return groups ? static_cast<std::size_t>(groups->GetSize()) : 0;
}

// Converting every cell once: what each run of checks pays before its first check.
void BM_ConvertCells(benchmark::State& state) {
    const CRuleBase ruleBase =
        LearnedRuleBase(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const CRuleChecks checks(ruleBase);
        benchmark::DoNotOptimize(checks.GetNumRules());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ConvertCells)->Apply(Sizes);

// One check over cells converted beforehand.
template <class Check>
void BM_Check(benchmark::State& state, Check check) {
    const CRuleBase ruleBase =
        LearnedRuleBase(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    const CRuleChecks checks(ruleBase);
    std::size_t found = 0;
    for (auto _ : state) {
        found = check(checks);
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = static_cast<double>(found);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

std::size_t IdenticalGroups(const CRuleChecks& checks) {
    return Count(checks.FindRuleGroups(CRuleChecks::kIdentical));
}
std::size_t InconsistentGroups(const CRuleChecks& checks) {
    return Count(checks.FindRuleGroups(CRuleChecks::kInconsistent));
}
std::size_t RedundantSuccedents(const CRuleChecks& checks) {
    return Count(checks.FindRedundantSucRules());
}
std::size_t RedundantAntecedents(const CRuleChecks& checks) {
    return Count(checks.FindRedundantAntRules());
}
// What deleting redundant rules asks: every rule of the unchanged rule base.
std::size_t RedundantRuleSweep(const CRuleChecks& checks) {
    std::size_t redundant = 0;
    for (int r = 0; r < checks.GetNumRules(); ++r)
        redundant += checks.IsRedundantRule(r);
    return redundant;
}
BENCHMARK_CAPTURE(BM_Check, IdenticalGroups, IdenticalGroups)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Check, InconsistentGroups, InconsistentGroups)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Check, RedundantSuccedents, RedundantSuccedents)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Check, RedundantAntecedents, RedundantAntecedents)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_Check, RedundantRuleSweep, RedundantRuleSweep)->Apply(Sizes);

// Conversion, the editor's four annotations and the redundancy sweep, as one run.
void BM_FullSuite(benchmark::State& state) {
    const CRuleBase ruleBase =
        LearnedRuleBase(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    for (auto _ : state) {
        const CRuleChecks checks(ruleBase);
        benchmark::DoNotOptimize(IdenticalGroups(checks) + InconsistentGroups(checks) +
                                 RedundantSuccedents(checks) + RedundantAntecedents(checks) +
                                 RedundantRuleSweep(checks));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FullSuite)->Apply(Sizes);

}  // namespace
