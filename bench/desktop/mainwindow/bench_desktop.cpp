// The desktop program under the offscreen platform: start-up to a shown main window with a
// rule base open, and opening a large rulebase file into an editor.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>

#include "desktop/editor/TFormInfUnit.h"
#include "desktop/mainwindow/TMainForm.h"
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
