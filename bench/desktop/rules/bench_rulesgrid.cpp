#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/rules/RulesEditor.h"
#include "desktop/rules/RulesTableView.h"
#include "desktop/rules/TRulesPage.h"

namespace {

constexpr unsigned kSeed = 1;
constexpr int kRules = 2000;

// A learned rule base: three inputs and one output over hedged terms, so that every check
// column has annotations to write.
std::unique_ptr<CRuleBase> LearnedRuleBase(int rules) {
    static const std::vector<std::string> kCells = {
        "ex sm", "si sm", "ve sm", "sm",    "ml sm", "ro sm", "qr sm", "vr sm", "me",    "ml me",
        "ro me", "vr bi", "qr bi", "ro bi", "ml bi", "bi",    "ve bi", "si bi", "ex bi", "ze"};
    auto ruleBase = std::make_unique<CRuleBase>(CRuleBase::kLinguistic);
    for (int i = 1; i < 3; ++i) {
        ruleBase->AddAntVariable(
            std::make_unique<CFuzzyVariable>("x" + std::to_string(i),
                                             std::make_shared<CLinguisticSettings>(0.0, 1.0),
                                             CRuleBase::kDefaultDiscretization),
            0);
    }
    std::mt19937 random(kSeed);
    std::uniform_int_distribution<std::size_t> pick(0, kCells.size() - 1);
    Rules set;
    for (int r = 0; r < rules; ++r) {
        std::vector<std::string> cells;
        for (int i = 0; i < 4; ++i)
            cells.push_back(kCells[pick(random)]);
        set.AddRule(std::move(cells));
    }
    ruleBase->SetRulesFromSet(set);
    return ruleBase;
}

// Filling the grid's working copy from the rule base.
void BM_FillGridModel(benchmark::State& state) {
    auto ruleBase = LearnedRuleBase(static_cast<int>(state.range(0)));
    RulesEditor editor(*ruleBase);
    for (auto _ : state) {
        editor.FillGrid();
        benchmark::DoNotOptimize(editor.Grid().RuleRowCount());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillGridModel)->Arg(kRules)->Unit(benchmark::kMillisecond);

// What a cell move costs after the cell was edited: storing every rule, preparing the rule
// base, all four check columns.
void BM_ChecksAfterEdit(benchmark::State& state) {
    auto ruleBase = LearnedRuleBase(static_cast<int>(state.range(0)));
    RulesEditor editor(*ruleBase);
    editor.FillGrid();
    bool flip = false;
    for (auto _ : state) {
        editor.Grid().SetCell(1, 1, (flip = !flip) ? "ve sm" : "sm");
        editor.RunChecks();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ChecksAfterEdit)->Arg(kRules)->Unit(benchmark::kMillisecond);

// One sort of every row by a column. Runs alternate between two columns of a kind, so that
// each starts from an order the other left.
void BM_SortByColumn(benchmark::State& state) {
    auto ruleBase = LearnedRuleBase(static_cast<int>(state.range(0)));
    RulesEditor editor(*ruleBase);
    editor.FillGrid();
    editor.RunChecks();
    const int columns[2] = {static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    int run = 0;
    for (auto _ : state) {
        editor.Sort(columns[run++ % 2]);
        benchmark::DoNotOptimize(editor.Grid().Cell(1, 1));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
// Columns 1-3 are inputs, 5 "Group", 8 "Redundant ant".
BENCHMARK(BM_SortByColumn)
    ->ArgNames({"rules", "column", "then"})
    ->Args({kRules, 1, 2})
    ->Args({kRules, 5, 8})
    ->Unit(benchmark::kMillisecond);

// An editor window over the learned rule base, on its rules page, as the person sees it.
std::unique_ptr<TFormInfUnit> ShownEditor(int rules) {
    auto editor = std::make_unique<TFormInfUnit>(nullptr, LearnedRuleBase(rules));
    editor->resize(900, 600);
    editor->show();
    editor->ShowRulesPage();
    return editor;
}

// Filling the widget: the working copy from the rule base and every cell into the grid.
void BM_FillRulesGrid(benchmark::State& state) {
    auto editor = ShownEditor(static_cast<int>(state.range(0)));
    for (auto _ : state)
        editor->RulesPage().FillRulesGrid();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillRulesGrid)->Arg(kRules)->Unit(benchmark::kMillisecond);

// A move of the current cell in the middle of the grid, with the cell check it runs. "edited"
// gives the cell's open editor a new text first, so that the move commits it, stores every rule
// and runs every check again.
void BM_CellMove(benchmark::State& state) {
    auto editor = ShownEditor(static_cast<int>(state.range(0)));
    const bool edited = state.range(1) != 0;
    TRulesPage& page = editor->RulesPage();
    const int row = static_cast<int>(state.range(0)) / 2;
    page.SelectCell(1, row);
    int run = 0;
    for (auto _ : state) {
        ++run;
        if (edited)
            page.OpenCellEditor()->setText(run % 4 < 2 ? "ve sm" : "sm");
        page.SelectCell(page.CurrentCell().x() == 1 ? 2 : 1, row);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CellMove)
    ->ArgNames({"rules", "edited"})
    ->Args({kRules, 0})
    ->Args({kRules, 1})
    ->Unit(benchmark::kMillisecond);

// A click on a column header: the sort, the grid shown again and the checks.
void BM_SortByHeaderClick(benchmark::State& state) {
    auto editor = ShownEditor(static_cast<int>(state.range(0)));
    QHeaderView& header = *editor->RulesPage().Grid().horizontalHeader();
    const int columns[2] = {static_cast<int>(state.range(1)), static_cast<int>(state.range(2))};
    int run = 0;
    for (auto _ : state)
        emit header.sectionClicked(columns[run++ % 2] - 1);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SortByHeaderClick)
    ->ArgNames({"rules", "column", "then"})
    ->Args({kRules, 1, 2})
    ->Args({kRules, 5, 8})
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Window placements go to a store of their own.
    QTemporaryDir registry;
    qputenv("TAVO_REGISTRY", registry.filePath("registry").toLocal8Bit());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
