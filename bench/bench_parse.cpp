#include <benchmark/benchmark.h>

#include <string>

#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
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

}  // namespace
