// The desktop program under the offscreen platform: start-up to a shown main window with a
// rule base open, opening a large rulebase file into an editor, and the test window under the
// mouse: one input move (inference, defuzzification, fired rules, projection) and the control
// surface (sampling, and drawing while it turns).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QTemporaryDir>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <vector>

#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/SetOperand.h"
#include "desktop/FiredRulesText.h"
#include "desktop/FuzzySetInputPanel.h"
#include "desktop/QPainterDrawingSurface.h"
#include "desktop/TMDIChild.h"
#include "desktop/TestSampling.h"
#include "desktop/graphics3d/Graphics3D.h"
#include "desktop/graphics3d/Net3D.h"
#include "desktop/graphics3d/SurfaceRotation.h"

#include "desktop/TFormInfUnit.h"
#include "desktop/TMainForm.h"
#include "desktop/toolkit/Conversions.h"

namespace {

const QString kController = QStringLiteral(TAVO_EXAMPLES "/controller.rb");

void WaitUntilExposed(QWidget& window) {
    while (!window.windowHandle() || !window.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QCoreApplication::processEvents();
}

// The controller's variables with n rules drawn from its vocabulary (seed 1).
QString WriteLargeRuleBase(const QTemporaryDir& folder, int n) {
    QFile example(kController);
    example.open(QIODevice::ReadOnly);
    QString text = QString::fromUtf8(example.readAll());
    text = text.left(text.indexOf("RULES"));
    text.replace("NumberOfRules=25", QString("NumberOfRules=%1").arg(n));
    const char* const words[] = {"sm", "me", "bi", "ve sm", "ml me", "ro bi", "ex bi", "ex sm"};
    std::mt19937 random(1);
    std::uniform_int_distribution<int> pick(0, 7);
    text += "RULES\n";
    for (int r = 0; r < n; ++r)
        text += QString(" \"%1\" \"%2\" | \"%3\"\n")
                    .arg(words[pick(random)], words[pick(random)], words[pick(random)]);
    text += "END_RULES\n";
    const QString name = folder.filePath(QString("rules%1.rb").arg(n));
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    file.write(text.toUtf8());
    return name;
}

void BM_StartupToShownMainWindow_Controller(benchmark::State& state) {
    for (auto _ : state) {
        auto form = std::make_unique<TMainForm>();
        form->CommandLine = {"Tavodesk"};
        benchmark::DoNotOptimize(form->OpenFileByName(kController));
        form->show();
        WaitUntilExposed(*form);
    }
}
BENCHMARK(BM_StartupToShownMainWindow_Controller)->Unit(benchmark::kMillisecond);

// Times the opening alone; closing the editor happens outside the measured span.
void BM_OpenRuleBaseFileIntoEditor(benchmark::State& state) {
    QTemporaryDir folder;
    const QString name = WriteLargeRuleBase(folder, int(state.range(0)));
    TMainForm form;
    form.CommandLine = {"Tavodesk"};
    form.show();
    WaitUntilExposed(form);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        TFormInfUnit* editor = form.OpenFileByName(name);
        QCoreApplication::processEvents();
        const auto stop = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
        benchmark::DoNotOptimize(editor);
        delete form.MdiArea->subWindowList().first();
    }
    state.counters["rules"] = double(state.range(0));
}
BENCHMARK(BM_OpenRuleBaseFileIntoEditor)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond);

CRuleBase Controller() {
    return ReadRuleBaseFile(kController.toStdString());
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

// The offscreen platform's notices about what it cannot do would fill the table.
void QuietOffscreenNotices(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtWarningMsg || !message.startsWith("This plugin does not support"))
        fprintf(stderr, "%s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(QuietOffscreenNotices);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Window placements and recent files go to a store of the benchmark's own.
    QTemporaryDir store;
    qputenv("TAVO_REGISTRY", store.filePath("registry").toLocal8Bit());
    toolkit::UseDecimalPoint();
    QApplication application(argc, argv);
    toolkit::UseDecimalPoint();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
