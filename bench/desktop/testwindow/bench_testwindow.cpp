// The test window under the mouse: one input move (inference, defuzzification, fired rules,
// projection) and the control surface (sampling and drawing while it turns), offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <memory>
#include <vector>

#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/SetOperand.h"
#include "desktop/graphics3d/Graphics3D.h"
#include "desktop/graphics3d/Net3D.h"
#include "desktop/graphics3d/SurfaceRotation.h"
#include "desktop/testwindow/FiredRulesText.h"
#include "desktop/testwindow/FuzzySetInputPanel.h"
#include "desktop/testwindow/QPainterDrawingSurface.h"
#include "desktop/testwindow/TMDIChild.h"
#include "desktop/testwindow/TestSampling.h"

namespace {

CRuleBase Controller() {
    return ReadRuleBaseFile(TAVO_EXAMPLES "/controller.rb");
}

// Cursor positions a drag passes through, fixed so that runs compare.
double CursorAt(std::int64_t k) {
    return static_cast<double>((k * 37) % 101) / 100.0;
}

// What the window computes for one move, without widgets: inference, defuzzification, the
// fired-rules text and the projection over the first input.
void BM_InputMoveComputation(benchmark::State& state) {
    CRuleBase ruleBase = Controller();
    const int steps = static_cast<int>(state.range(0));
    ruleBase.SetProjectionSteps(steps);
    std::vector<double> inputs = {25.0, 60.0};
    std::vector<double> projection;
    std::int64_t k = 0;
    for (auto _ : state) {
        inputs[1] = 120.0 * CursorAt(k++);
        InferenceResult result = ruleBase.Infer(inputs);
        const double crisp = ruleBase.Defuzzify(SetOperand(std::as_const(*result.set)));
        std::string fired = FiredRulesText(ruleBase);
        SampleProjection(ruleBase, inputs, 0, steps, false, projection);
        benchmark::DoNotOptimize(crisp);
        benchmark::DoNotOptimize(fired.data());
        benchmark::DoNotOptimize(projection.data());
    }
    state.counters["inferences"] =
        benchmark::Counter(steps + 2, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_InputMoveComputation)->Arg(25)->Unit(benchmark::kMicrosecond);

// The same move through the window: the input panel's cursor moves a non-projected input, so
// the window re-evaluates, lists the fired rules, lays out its boxes and recomputes the projection.
void BM_TestWindowMove(benchmark::State& state) {
    CRuleBase ruleBase = Controller();
    TMDIChild window(ruleBase, QStringLiteral("controller"));
    FuzzySetInputPanel* moved = window.InputPanels()[1];
    std::int64_t k = 0;
    for (auto _ : state) {
        moved->SetCursor(CursorAt(k++));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TestWindowMove)->Unit(benchmark::kMicrosecond);

// Painting the whole test window after a move, into an image of its size.
void BM_TestWindowRepaint(benchmark::State& state) {
    CRuleBase ruleBase = Controller();
    TMDIChild window(ruleBase, QStringLiteral("controller"));
    window.show();
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    std::int64_t k = 0;
    for (auto _ : state) {
        window.InputPanels()[1]->SetCursor(CursorAt(k++));
        window.render(&image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_TestWindowRepaint)->Unit(benchmark::kMillisecond);

void BM_SurfaceSampling(benchmark::State& state) {
    CRuleBase ruleBase = Controller();
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> inputs = {25.0, 60.0};
    Net3D net;
    for (auto _ : state) {
        SampleSurface(ruleBase, inputs, 0, 1, n, net);
        benchmark::DoNotOptimize(net.Point(n - 1, n - 1));
    }
    state.counters["inferences"] =
        benchmark::Counter(double(n) * n, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SurfaceSampling)->Arg(10)->Arg(70)->Unit(benchmark::kMillisecond);

// One frame of a turn: a small rotation, then the net and axes drawn into an image of the
// surface box's size.
void BM_SurfaceFrame(benchmark::State& state) {
    CRuleBase ruleBase = Controller();
    const int n = static_cast<int>(state.range(0));
    Net3D net;
    SampleSurface(ruleBase, std::vector<double>{25.0, 60.0}, 0, 1, n, net);
    QImage image(500, 480, QImage::Format_ARGB32_Premultiplied);
    Graphics3D renderer;
    renderer.SetClientSize(image.width(), image.height());
    std::int64_t k = 0;
    for (auto _ : state) {
        Transform3D view = renderer.ViewMatrix();
        Vector3D mouse = renderer.Unproject(400 - static_cast<int>(k++ % 100), 300);
        RotateView(view, 1, mouse);
        renderer.SetViewMatrix(view);
        image.fill(Qt::white);
        QPainter painter(&image);
        QPainterDrawingSurface surface(painter);
        renderer.DrawNet(surface, net);
        renderer.DrawAxes(surface);
        painter.end();
        benchmark::ClobberMemory();
    }
    state.counters["frames"] = benchmark::Counter(1, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SurfaceFrame)->Arg(10)->Arg(70)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
