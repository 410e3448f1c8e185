#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <optional>
#include <random>

#include "desktop/data/DataTableModel.h"
#include "desktop/data/TDataPage.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/toolkit/UserPrompts.h"

// The data page's long commands over many rows, through the editor as a person runs them, with
// the page shown on an offscreen screen: Import, Import followed by Compute for
// examples/controller.rb (under a second for 100,000 rows), and the F-transform command.

namespace {

constexpr unsigned kSeed = 1;

// Answers every file dialog with one name, every box with OK, and accepts every form.
class BenchPrompts final : public toolkit::UserPrompts {
  public:
    QString FileName;
    toolkit::ModalResult Message(const toolkit::MessageRequest&) override {
        return toolkit::ModalResult::Ok;
    }
    std::optional<QString> Input(const toolkit::InputRequest&) override { return std::nullopt; }
    std::optional<toolkit::FileDialogAnswer> ChooseFile(
        const toolkit::FileDialogRequest& r) override {
        return toolkit::FileDialogAnswer{FileName, r.FilterIndex};
    }
    int Modal(QDialog&) override { return QDialog::Accepted; }
};

struct Workbench {
    QTemporaryDir folder;
    BenchPrompts prompts;
    std::unique_ptr<TFormInfUnit> editor;

    explicit Workbench(int rows) {
        qputenv("TAVO_REGISTRY", folder.filePath("registry").toLocal8Bit());
        toolkit::SetUserPrompts(&prompts);
        std::mt19937 random(kSeed);
        std::uniform_real_distribution<double> distance(0.0, 50.0);
        std::uniform_real_distribution<double> speed(0.0, 120.0);
        QByteArray text = "distance\tspeed\tbraking\n";
        for (int i = 0; i < rows; ++i) {
            const double d = distance(random);
            const double s = speed(random);
            text += QByteArray::number(d, 'f', 3).replace('.', ',') + '\t' +
                    QByteArray::number(s, 'f', 3).replace('.', ',') + '\t' +
                    QByteArray::number(s * 0.8 - d * 0.5 + 20.0, 'f', 3).replace('.', ',') + '\n';
        }
        prompts.FileName = folder.filePath("rows.txt");
        QFile file(prompts.FileName);
        file.open(QIODevice::WriteOnly);
        file.write(text);
        file.close();
        editor = std::make_unique<TFormInfUnit>(nullptr, QString(TAVO_EXAMPLES) + "/controller.rb");
        editor->SetModified(false);
        editor->PageControl->setCurrentWidget(editor->TabSheetImport);
        editor->show();
        QCoreApplication::processEvents();
    }
    // What a person waits for: the command and the page drawn again after it.
    void Run(void (TDataPage::*command)()) {
        (editor->DataPage().*command)();
        QCoreApplication::processEvents();
    }
    const DataTable& Table() { return editor->DataPage().Model().Table(); }
    ~Workbench() {
        editor->SetModified(false);
        editor.reset();
        toolkit::SetUserPrompts(nullptr);
    }
};

void BM_ImportRows(benchmark::State& state) {
    Workbench bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bench.Run(&TDataPage::btnImportClick);
        benchmark::DoNotOptimize(bench.Table().RowCount());
    }
    state.counters["rows"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ImportRows)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ImportAndComputeController(benchmark::State& state) {
    Workbench bench(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        bench.Run(&TDataPage::btnImportClick);
        bench.Run(&TDataPage::btnCalculateValuesClick);
        benchmark::DoNotOptimize(bench.Table().Cell(4, 0));
    }
    state.counters["rows"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_ImportAndComputeController)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FTransformCommand(benchmark::State& state) {
    Workbench bench(static_cast<int>(state.range(0)));
    bench.Run(&TDataPage::btnImportClick);
    for (auto _ : state) {
        bench.Run(&TDataPage::mnFTransformClick);
        benchmark::DoNotOptimize(bench.Table().Cell(4, 0));
    }
    state.counters["rows"] =
        benchmark::Counter(double(state.range(0)), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_FTransformCommand)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
