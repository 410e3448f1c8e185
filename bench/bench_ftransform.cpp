#include "core/ftransform/TFTransform.h"
#include "core/math/matrix.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <random>
#include <span>
#include <vector>

namespace {

constexpr unsigned kSeed = 1;

std::vector<FTDimensionSettings> SquareAxes(int nodes, int shape) {
    const auto code = static_cast<std::uint8_t>(shape);
    return {{0.0, 1.0, nodes, code}, {-5.0, 5.0, nodes, code}};
}

// Rows of (x0, x1, y) spread over the axes of SquareAxes.
std::vector<double> RandomSamples(std::size_t count) {
    std::mt19937 random(kSeed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> samples(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        const double x0 = unit(random);
        const double x1 = -5.0 + 10.0 * unit(random);
        samples[3 * i] = x0;
        samples[3 * i + 1] = x1;
        samples[3 * i + 2] = x0 * x0 - 0.3 * x1;
    }
    return samples;
}

// The whole direct transform: reset, one AddSample per sample, ComputeComponents.
void BM_DirectTransform2D(benchmark::State& state, int shape) {
    const auto samples = RandomSamples(static_cast<std::size_t>(state.range(0)));
    TFTransform transform(SquareAxes(static_cast<int>(state.range(1)), shape));
    const std::span<const double> all(samples);
    for (auto _ : state) {
        transform.ResetSums();
        for (std::size_t i = 0; i < all.size(); i += 3)
            transform.AddSample(all.subspan(i, 3));
        transform.ComputeComponents();
        benchmark::DoNotOptimize(transform.Components().Data().data());
        benchmark::ClobberMemory();
    }
    state.counters["samples"] = benchmark::Counter(static_cast<double>(state.range(0)),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(BM_DirectTransform2D, triangular, ftTriangular)
    ->Args({1000000, 50})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DirectTransform2D, quadratic, ftQuadratic)
    ->Args({1000000, 50})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DirectTransform2D, sinusoidal, ftSinusoidal)
    ->Args({1000000, 50})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DirectTransform2D, fuzzynumber, ftFuzzyNumber)
    ->Args({1000000, 50})
    ->Unit(benchmark::kMillisecond);

void BM_InverseAt2D(benchmark::State& state) {
    const std::size_t count = static_cast<std::size_t>(state.range(0));
    const auto samples = RandomSamples(count);
    const std::span<const double> all(samples);
    TFTransform transform(SquareAxes(50, ftTriangular));
    transform.ResetSums();
    for (std::size_t i = 0; i < all.size(); i += 3)
        transform.AddSample(all.subspan(i, 3));
    transform.ComputeComponents();
    for (auto _ : state) {
        double total = 0.0;
        for (std::size_t i = 0; i < all.size(); i += 3)
            total += transform.InverseAt(all.subspan(i, 2));
        benchmark::DoNotOptimize(total);
    }
    state.counters["points"] = benchmark::Counter(static_cast<double>(count),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_InverseAt2D)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The transform part of the inference filter: 20 triangular nodes per input over a 201^n grid,
// added point by point or through the grid entry in blocks of the sweep's size.
void BM_FilterGrid(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const bool onGrid = state.range(1) != 0;
    constexpr std::size_t kBlock = std::size_t{1} << 17;
    const std::vector<FTDimensionSettings> axes(n,
                                                FTDimensionSettings{0.0, 10.0, 20, ftTriangular});
    std::vector<std::vector<double>> values(n);
    for (auto& axis : values) {
        for (int k = 0; k <= 200; ++k)
            axis.push_back(k * 10.0 * 0.999 * 0.005);
    }
    TFTransform transform(axes);
    const TFTransform::SampleGrid grid = transform.MakeSampleGrid(values);
    std::vector<double> outputs(grid.Points());
    for (std::size_t p = 0; p < outputs.size(); ++p)
        outputs[p] = values[0][p % values[0].size()];
    std::vector<double> point(n + 1);
    for (auto _ : state) {
        transform.ResetSums();
        if (onGrid) {
            for (std::size_t first = 0; first < outputs.size(); first += kBlock) {
                transform.AddGridSamples(
                    grid, first,
                    std::span(outputs).subspan(first, std::min(kBlock, outputs.size() - first)));
            }
        } else {
            std::vector<int> step(n, 0);
            for (const double output : outputs) {
                for (int d = 0; d < n; ++d)
                    point[d] = values[d][step[d]];
                point[n] = output;
                transform.AddSample(point);
                for (int d = 0; d < n && ++step[d] == 201; ++d)
                    step[d] = 0;
            }
        }
        transform.ComputeComponents();
        benchmark::DoNotOptimize(transform.Components().Data().data());
    }
    state.counters["samples"] = benchmark::Counter(static_cast<double>(outputs.size()),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FilterGrid)
    ->ArgNames({"inputs", "grid"})
    ->ArgsProduct({{1, 2, 3}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

void BM_Solve(benchmark::State& state) {
    const std::size_t n = static_cast<std::size_t>(state.range(0));
    std::mt19937 random(kSeed);
    std::uniform_real_distribution<double> element(-1.0, 1.0);
    math::matrix<double> a(n, n);
    math::matrix<double> b(n, 1);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j)
            a(i, j) = element(random) + (i == j ? n : 0.0);
        b(i, 0) = element(random);
    }
    for (auto _ : state) {
        const auto x = math::matrix<double>::Solve(a, b);
        benchmark::DoNotOptimize(&x);
    }
}
BENCHMARK(BM_Solve)->RangeMultiplier(2)->Range(8, 128);

}  // namespace
