// Expression parsing: every keystroke in a rule cell and every rule-base check parses cells.
#include <benchmark/benchmark.h>

#include <string>

#include "core/lang/CFEParser.h"
#include "core/lang/CLinCSettings.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/ELingExpr.h"

namespace {

void BM_CheckExpression(benchmark::State& state, const char* text) {
    CLinguisticSettings settings(0, 10);
    const std::string cell = text;
    for (auto _ : state)
        benchmark::DoNotOptimize(settings.CheckExpression(cell));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK_CAPTURE(BM_CheckExpression, valid_15_chars, "ve sm and ml bi");
BENCHMARK_CAPTURE(BM_CheckExpression, about_number, "about 7.5");
BENCHMARK_CAPTURE(BM_CheckExpression, nested_40_chars, "(ex sm or vr me) and not bi or ro ze");
BENCHMARK_CAPTURE(BM_CheckExpression, rejected_hedge_alone, "ve");

void BM_CheckSingleton(benchmark::State& state) {
    CLinCSettings settings(0, 10);
    const std::string cell = "0.25";
    for (auto _ : state)
        benchmark::DoNotOptimize(settings.CheckExpression(cell));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CheckSingleton);

void BM_TextToLingTerm(benchmark::State& state) {
    CLinguisticSettings settings(-10, 10);
    const std::string cell = "-vr bi";
    CLingTerm term;
    for (auto _ : state) {
        benchmark::DoNotOptimize(settings.TextToLingTerm(cell, term));
        benchmark::DoNotOptimize(term.kind);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TextToLingTerm);

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
