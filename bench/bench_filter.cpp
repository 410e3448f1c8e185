#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bench/BenchModels.h"
#include "core/ftransform/FTInferenceFilter.h"
#include "core/ftransform/TFTransform.h"
#include "core/rulebase/CRuleBase.h"

namespace {

// Computing the filter: 201^n inferences with defuzzification, and the transform, on the given
// number of threads (0: as the sweep chooses).
void BM_ComputeFilter(benchmark::State& state) {
    const int inputs = static_cast<int>(state.range(0));
    const int threads = static_cast<int>(state.range(1));
    CRuleBase ruleBase = bench::GridRuleBase(inputs);
    FTInferenceFilter filter(ruleBase);
    for (auto _ : state) {
        filter.Compute(ruleBase, {threads});
        benchmark::DoNotOptimize(filter.Transform().Components().Data().data());
    }
    int samples = 1;
    for (int i = 0; i < inputs; ++i)
        samples *= FTInferenceFilter::kSamplesPerInput;
    state.counters["inferences"] =
        benchmark::Counter(samples, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ComputeFilter)
    ->ArgNames({"inputs", "threads"})
    ->ArgsProduct({{1, 2}, {0, 1, 2, 4, 8}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_ComputeFilter)
    ->ArgNames({"inputs", "threads"})
    ->ArgsProduct({{3}, {0, 1, 2, 4, 8}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// One filtered value once the filter stands, against the inference it replaces.
void BM_FilteredValue(benchmark::State& state) {
    CRuleBase ruleBase = bench::GridRuleBase(2);
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
