// Expression parsing: every keystroke in a rule cell, every rule-base check and every
// preparation of a rule base parses cells.
#include <benchmark/benchmark.h>

#include <string>

#include "core/lang/CFEParser.h"
#include "core/lang/CLinCSettings.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/ELingExpr.h"
#include "core/sets/CFuzzyDiscreteSet.h"

namespace {

// A typical rule cell, and a longer one with parentheses, a number and a negation.
const std::string kTypicalCell = "ve sm and ml bi";
const std::string kLongCell = "(ex sm or ro me) and (vr bi or about 4.5) and not ze";

// Checking a cell with the LALR parser, as the editor does after every edit.
void BM_CheckExpression(benchmark::State& state, const std::string& cell) {
    CLinguisticSettings settings(0, 10);
    for (auto _ : state)
        benchmark::DoNotOptimize(settings.CheckExpression(cell));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * cell.size()));
}
BENCHMARK_CAPTURE(BM_CheckExpression, typical, kTypicalCell);
BENCHMARK_CAPTURE(BM_CheckExpression, long, kLongCell);
BENCHMARK_CAPTURE(BM_CheckExpression, about_number, std::string("about 7.5"));
BENCHMARK_CAPTURE(BM_CheckExpression, rejected_hedge_alone, std::string("ve"));

// Building a cell's fuzzy set on the variable's grid, as every cell is built when a rule base
// is prepared.
void BM_ParseValue(benchmark::State& state, const std::string& cell) {
    CLinguisticSettings settings(0, 10);
    const int samples = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(settings.ParseValue(cell, samples));
    state.counters["samples"] =
        benchmark::Counter(samples, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(BM_ParseValue, typical, kTypicalCell)->Arg(301)->Arg(1001);
BENCHMARK_CAPTURE(BM_ParseValue, long, kLongCell)->Arg(301);

// A cell into its term record, as the checks and the term toolbars read cells.
void BM_TextToLingTerm(benchmark::State& state, const std::string& cell) {
    CLinguisticSettings settings(0, 10);
    CLingTerm term;
    for (auto _ : state) {
        benchmark::DoNotOptimize(settings.TextToLingTerm(cell, term));
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BM_TextToLingTerm, typical, kTypicalCell);

void BM_ParseLingTerm(benchmark::State& state, const std::string& cell) {
    CLinguisticSettings settings(0, 10);
    CLingTerm term;
    for (auto _ : state) {
        benchmark::DoNotOptimize(settings.ParseLingTerm(cell, term));
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BM_ParseLingTerm, typical, kTypicalCell);

void BM_CheckSingleton(benchmark::State& state) {
    CLinCSettings settings(0, 10);
    const std::string cell = "0.25";
    for (auto _ : state)
        benchmark::DoNotOptimize(settings.CheckExpression(cell));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CheckSingleton);

// Long cells: "sm or ve bi or ..." with a given number of operands, parsed and printed.
void BM_ParseChain(benchmark::State& state) {
    CLinguisticSettings settings(0, 10);
    std::string cell = "sm";
    for (int i = 1; i < state.range(0); ++i)
        cell += i % 2 ? " or ve bi" : " and (ro ze or about 3)";
    for (auto _ : state)
        benchmark::DoNotOptimize(settings.Parser().Parse(cell));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(cell.size()));
}
BENCHMARK(BM_ParseChain)->RangeMultiplier(8)->Range(8, 4096);

void BM_ToText(benchmark::State& state) {
    CLinguisticSettings settings(0, 10);
    const auto tree = settings.Parser().Parse("(ex sm or vr me) and not bi or about 3");
    std::string text;
    for (auto _ : state) {
        tree->ToText(text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ToText);

}  // namespace
