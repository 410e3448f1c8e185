#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <fl/Engine.h>
#include <fl/activation/General.h>
#include <fl/defuzzifier/Centroid.h>
#include <fl/norm/s/Maximum.h>
#include <fl/norm/t/Minimum.h>
#include <fl/rule/Rule.h>
#include <fl/rule/RuleBlock.h>
#include <fl/term/Triangle.h>
#include <fl/variable/InputVariable.h>
#include <fl/variable/OutputVariable.h>

#include "bench/BenchModels.h"
#include "core/inference/InferenceSweeps.h"
#include "core/inference/MethodTables.h"
#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"

namespace {

// Two inputs over [0, 1], five triangles each, 25 rules, output grid of 301 samples.
const std::string kModel = std::string(TAVO_EXAMPLES) + "/triangles.rb";
const std::string kSingletonModel = std::string(TAVO_EXAMPLES) + "/singleton.rb";

// Inputs drawn once with a fixed seed; the loops cycle through them.
std::vector<std::vector<double>> RandomInputs(double lo0, double hi0, double lo1, double hi1) {
    std::mt19937 random(1);
    std::uniform_real_distribution<double> first(lo0, hi0), second(lo1, hi1);
    std::vector<std::vector<double>> inputs(1024);
    for (auto& x : inputs)
        x = {first(random), second(random)};
    return inputs;
}

void CountEvaluations(benchmark::State& state) {
    state.counters["evaluations"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Each crisp method of linguistic rule bases with each defuzzification, on the triangle model.
void BM_Inference(benchmark::State& state) {
    const auto& method = CrispInferenceMethodTable[state.range(0)];
    const auto& defuzzification = DefuzzificationMethodTable[state.range(1)];
    CRuleBase ruleBase(kModel);
    ruleBase.SetInferenceMethod(method.Routine);
    ruleBase.SetDefuzzificationMethod(defuzzification.Routine);
    const auto inputs = RandomInputs(0, 1, 0, 1);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ruleBase.CrispOutput(inputs[next]));
        next = (next + 1) % inputs.size();
    }
    state.SetLabel(std::string(method.Keyword) + " + " + std::string(defuzzification.Keyword));
    CountEvaluations(state);
}
BENCHMARK(BM_Inference)
    ->ArgNames({"inference", "defuzzification"})
    ->ArgsProduct({{0, 1, 2, 3, 4}, {0, 1, 2, 3, 4, 5}});

void BM_TakagiSugenoSingleton(benchmark::State& state) {
    CRuleBase ruleBase(kSingletonModel);
    const auto inputs = RandomInputs(0, 100, 0, 40);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ruleBase.CrispOutput(inputs[next]));
        next = (next + 1) % inputs.size();
    }
    CountEvaluations(state);
}
BENCHMARK(BM_TakagiSugenoSingleton);

// The control surface of the triangle model with its own methods: 70 x 70 crisp evaluations over
// the inputs' contexts, on the given number of threads (0: as the sweep chooses).
void BM_Surface(benchmark::State& state) {
    CRuleBase ruleBase(kModel);
    const int threads = static_cast<int>(state.range(0));
    std::vector<std::vector<double>> axes(2);
    for (auto& axis : axes) {
        for (int k = 0; k < 70; ++k)
            axis.push_back(k / 69.0);
    }
    std::vector<double> surface(70 * 70);
    for (auto _ : state) {
        EvaluateGrid(ruleBase, axes, surface, {threads});
        benchmark::DoNotOptimize(surface.data());
        benchmark::ClobberMemory();
    }
    state.counters["evaluations"] =
        benchmark::Counter(70 * 70, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Surface)->ArgName("threads")->DenseRange(0, 2)->Arg(4)->Arg(8)->UseRealTime();

// The smooth defuzzification around random inputs of the 5^n-rule grid model (perception-based
// deduction, default 100 projection steps: 81^n inferences), on the given number of threads
// (0: as the sweep chooses).
void BM_SmoothDefuzzification(benchmark::State& state) {
    const int inputs = static_cast<int>(state.range(0));
    const int threads = static_cast<int>(state.range(1));
    CRuleBase ruleBase = bench::GridRuleBase(inputs);
    std::mt19937 random(1);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::vector<double>> points(64, std::vector<double>(inputs));
    for (auto& point : points) {
        for (double& x : point)
            x = unit(random);
    }
    const double divisions = ruleBase.GetProjectionSteps() * 8.0 / 10.0;
    std::size_t next = 0;
    for (auto _ : state) {
        ruleBase.SetInputs(points[next]);
        benchmark::DoNotOptimize(
            SmoothNeighbourhoodAverage(ruleBase, divisions, kSmoothStepShare, {threads}));
        next = (next + 1) % points.size();
    }
}
BENCHMARK(BM_SmoothDefuzzification)
    ->ArgNames({"inputs", "threads"})
    ->ArgsProduct({{2, 3}, {0, 1, 2, 4, 8}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// --- The same model in fuzzylite ------------------------------------------------------------

struct FuzzyliteModel {
    fl::Engine engine;
    fl::InputVariable* x1 = nullptr;
    fl::InputVariable* x2 = nullptr;
    fl::OutputVariable* y = nullptr;

    double Evaluate(double a, double b) {
        x1->setValue(a);
        x2->setValue(b);
        engine.process();
        return y->getValue();
    }
};

// fuzzylite's API takes ownership of raw pointers; each make_unique is released into it.
template <class Variable>
Variable* AddTriangles(Variable* variable, const char* name) {
    variable->setName(name);
    variable->setRange(0.0, 1.0);
    const struct {
        const char* name;
        double a, b, c;
    } terms[] = {{"NB", 0, 0, 0.25},
                 {"NS", 0, 0.25, 0.5},
                 {"Z", 0.25, 0.5, 0.75},
                 {"PS", 0.5, 0.75, 1},
                 {"PB", 0.75, 1, 1}};
    for (const auto& t : terms)
        variable->addTerm(std::make_unique<fl::Triangle>(t.name, t.a, t.b, t.c).release());
    return variable;
}

std::unique_ptr<FuzzyliteModel> MakeFuzzyliteModel() {
    auto model = std::make_unique<FuzzyliteModel>();
    fl::Engine& engine = model->engine;
    model->x1 = AddTriangles(std::make_unique<fl::InputVariable>().release(), "x1");
    model->x2 = AddTriangles(std::make_unique<fl::InputVariable>().release(), "x2");
    engine.addInputVariable(model->x1);
    engine.addInputVariable(model->x2);
    model->y = AddTriangles(std::make_unique<fl::OutputVariable>().release(), "y");
    model->y->setAggregation(std::make_unique<fl::Maximum>().release());
    model->y->setDefuzzifier(std::make_unique<fl::Centroid>(301).release());
    model->y->setDefaultValue(fl::nan);
    engine.addOutputVariable(model->y);

    auto block = std::make_unique<fl::RuleBlock>();
    block->setConjunction(std::make_unique<fl::Minimum>().release());
    block->setImplication(std::make_unique<fl::Minimum>().release());
    block->setActivation(std::make_unique<fl::General>().release());
    // The rules of triangles.rb, read from the rule base itself.
    const CRuleBase ours(kModel);
    for (int r = 0; r < ours.GetNumRules(); ++r) {
        const std::string rule = "if x1 is " + ours.GetAntExpression(0, r) + " and x2 is " +
                                 ours.GetAntExpression(1, r) + " then y is " +
                                 ours.GetSucExpression(0, r);
        block->addRule(fl::Rule::parse(rule, &engine));
    }
    engine.addRuleBlock(block.release());
    return model;
}

void BM_FuzzyliteMamdani(benchmark::State& state) {
    auto model = MakeFuzzyliteModel();
    const auto inputs = RandomInputs(0, 1, 0, 1);
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(model->Evaluate(inputs[next][0], inputs[next][1]));
        next = (next + 1) % inputs.size();
    }
    CountEvaluations(state);
}
BENCHMARK(BM_FuzzyliteMamdani);

// Our DNF minimum inference with the simple centre of gravity against fuzzylite's Mamdani
// engine, over a grid of inputs and the random ones the benchmarks use. The two centroids sample
// the output differently (ours both ends of the range, fuzzylite the midpoints of its 301
// cells), so they agree to a small share of the range, not exactly.
bool ResultsAgree() {
    constexpr double kAllowed = 2e-3;  // of the output range [0, 1]
    CRuleBase ours(kModel);
    ours.SetInferenceMethod(LZadInfCrisp);
    ours.SetDefuzzificationMethod(SimpleCOG);
    auto peer = MakeFuzzyliteModel();
    auto inputs = RandomInputs(0, 1, 0, 1);
    for (int i = 0; i <= 100; ++i) {
        for (int j = 0; j <= 100; ++j)
            inputs.push_back({i / 100.0, j / 100.0});
    }
    double worst = 0.0;
    std::vector<double> worstAt = {0, 0};
    for (const auto& x : inputs) {
        const double difference = std::abs(ours.CrispOutput(x) - peer->Evaluate(x[0], x[1]));
        if (!(difference <= worst)) {
            worst = difference;
            worstAt = x;
        }
    }
    std::printf(
        "Agreement with fuzzylite over %zu inputs: largest difference %.3g at (%g, %g), "
        "allowed %g\n",
        inputs.size(), worst, worstAt[0], worstAt[1], kAllowed);
    if (!(worst <= kAllowed)) {
        std::fprintf(stderr, "FAILED: the inference disagrees with fuzzylite\n");
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!ResultsAgree())
        return 1;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
