#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

#include "core/norms/CMinTNorm.h"
#include "core/sets/CFuzzyDiscreteSet.h"
#include "core/sets/CFuzzyGaussianSet.h"
#include "core/sets/CFuzzyQuadraticSet.h"
#include "core/sets/CFuzzyTrapezoidSet.h"
#include "core/sets/CFuzzyTriangSet.h"

namespace {

enum Shape { kTriangle, kTrapezoid, kQuadratic, kGaussian, kDiscrete };

std::unique_ptr<CFuzzySet> MakeShape(Shape shape) {
    switch (shape) {
        case kTriangle:
            return std::make_unique<CFuzzyTriangSet>(0.2, 0.5, 0.8, 0.0, 1.0);
        case kTrapezoid:
            return std::make_unique<CFuzzyTrapezoidSet>(0.2, 0.4, 0.6, 0.8, 0.0, 1.0);
        case kQuadratic:
            return std::make_unique<CFuzzyQuadraticSet>(0, 0.1, 0.2, 0.4, 0.5, 0.6, 0.0, 1.0);
        case kGaussian:
            return std::make_unique<CFuzzyGaussianSet>(0.01, 0.4, 0.6, 0.02, 0.0, 1.0);
        case kDiscrete:
            return CFuzzyQuadraticSet(0, 0.1, 0.2, 0.4, 0.5, 0.6, 0.0, 1.0).ToDiscrete(301);
    }
    return nullptr;
}

// Degrees of one set at n random points through the virtual interface, as inference reads
// antecedents.
void BM_Membership(benchmark::State& state, Shape shape) {
    const auto set = MakeShape(shape);
    const auto n = static_cast<std::size_t>(state.range(0));
    std::mt19937 random(1);
    std::uniform_real_distribution<double> position(0.0, 1.0);
    std::vector<double> points(n);
    for (double& x : points)
        x = position(random);
    for (auto _ : state) {
        double sum = 0.0;
        for (double x : points)
            sum += set->Membership(x);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["points"] =
        benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(BM_Membership, triangle, kTriangle)->Arg(301)->Arg(40401);
BENCHMARK_CAPTURE(BM_Membership, trapezoid, kTrapezoid)->Arg(301)->Arg(40401);
BENCHMARK_CAPTURE(BM_Membership, quadratic, kQuadratic)->Arg(301)->Arg(40401);
BENCHMARK_CAPTURE(BM_Membership, gaussian, kGaussian)->Arg(301)->Arg(40401);
BENCHMARK_CAPTURE(BM_Membership, discrete301, kDiscrete)->Arg(301)->Arg(40401);

// Sampling a shape onto a variable's grid, as the value parser does for every cell.
void BM_ToDiscrete(benchmark::State& state, Shape shape) {
    const auto set = MakeShape(shape);
    const int samples = static_cast<int>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(set->ToDiscrete(samples));
    state.counters["samples"] =
        benchmark::Counter(samples, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(BM_ToDiscrete, quadratic, kQuadratic)->Arg(301);
BENCHMARK_CAPTURE(BM_ToDiscrete, gaussian, kGaussian)->Arg(301);

// A connective over two sampled cells, as "sm and me" is evaluated.
void BM_ApplyToSets(benchmark::State& state) {
    const auto a = CFuzzyTriangSet(0.0, 0.0, 0.5, 0.0, 1.0).ToDiscrete(301);
    const auto b = CFuzzyTriangSet(0.25, 0.5, 0.75, 0.0, 1.0).ToDiscrete(301);
    const CMinTNorm minimum;
    for (auto _ : state)
        benchmark::DoNotOptimize(minimum.ApplyToSets(*a, *b));
    state.counters["samples"] =
        benchmark::Counter(301, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ApplyToSets);

}  // namespace
