#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/learning/ClusterIndexRules.h"
#include "core/rulebase/Rules.h"

namespace {

// Rows as the learning commands produce them: four inputs over twelve terms each and an output
// that follows the inputs' mean, so that neighbouring rows share outputs and clusters grow, meet
// and merge. Twelve terms per input leave room for several thousand distinct rows.
std::vector<std::vector<std::string>> LearnedRows(int count) {
    std::mt19937 random(1);
    std::vector<std::vector<std::string>> rows;
    rows.reserve(count);
    for (int r = 0; r < count; ++r) {
        std::vector<std::string> row;
        int sum = 0;
        for (int v = 0; v < 4; ++v) {
            const int term = static_cast<int>(random() % 12);
            sum += term;
            row.push_back("p" + std::to_string(v + 1) + "_" + std::to_string(term));
        }
        row.push_back("p5_" + std::to_string((sum + static_cast<int>(random() % 3)) / 4));
        rows.push_back(std::move(row));
    }
    return rows;
}

// Distinct rows with wide term ranges, so that most rules stay apart and every cluster is
// looked at by a member-by-member walk.
std::vector<std::vector<std::string>> SparseRows(int count) {
    std::mt19937 random(1);
    std::vector<std::vector<std::string>> rows;
    rows.reserve(count);
    for (int r = 0; r < count; ++r) {
        std::vector<std::string> row;
        for (int v = 0; v < 4; ++v) {
            row.push_back("p" + std::to_string(v + 1) + "_" + std::to_string(random() % 1000));
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

void FillRuleSet(benchmark::State& state, std::vector<std::vector<std::string>> (*makeRows)(int)) {
    const auto rows = makeRows(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Rules rules(true);
        for (const auto& row : rows)
            rules.AddRule(row);
        benchmark::DoNotOptimize(rules.Size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void LearnAndReport(benchmark::State& state,
                    std::vector<std::vector<std::string>> (*makeRows)(int)) {
    Rules rules(true);
    for (const auto& row : makeRows(static_cast<int>(state.range(0))))
        rules.AddRule(row);
    std::size_t clusters = 0;
    for (auto _ : state) {
        ClusterIndexRules learner;
        ApproxLearnRules(learner, rules);
        std::ostringstream report;
        PrintLearnedTerms(report, learner);
        clusters = static_cast<std::size_t>(
            std::count_if(learner.Clusters().begin(), learner.Clusters().end(),
                          [](const IndexRules& cluster) { return !cluster.members.empty(); }));
        benchmark::DoNotOptimize(report.str().size());
    }
    state.counters["rules"] = static_cast<double>(rules.Size());
    state.counters["mergedRules"] = static_cast<double>(clusters);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rules.Size()));
}

BENCHMARK_CAPTURE(FillRuleSet, learned, LearnedRows)->Arg(1000)->Arg(4000)->Arg(16000)->Arg(64000);
BENCHMARK_CAPTURE(FillRuleSet, sparse, SparseRows)->Arg(1000)->Arg(4000)->Arg(16000)->Arg(64000);
BENCHMARK_CAPTURE(LearnAndReport, learned, LearnedRows)
    ->Arg(1000)
    ->Arg(4000)
    ->Arg(16000)
    ->Arg(64000);
BENCHMARK_CAPTURE(LearnAndReport, sparse, SparseRows)->Arg(1000)->Arg(4000)->Arg(16000)->Arg(64000);

}  // namespace
