#include "desktop/rules/TRulesPage.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>

#include <memory>

#include "core/math/NumericUtils.h"
#include "desktop/editor/EditorHost.h"
#include "desktop/editor/EditorPageHost.h"
#include "desktop/rules/RulesGridController.h"
#include "desktop/toolkit/TStringGrid.h"

TRulesPage::TRulesPage(EditorPageHost& window, const RulesGridControls& controls,
                       QProgressBar& progress, QLabel& seconds)
    : window_(window), grid_(*controls.StringGridRules) {
    auto progressStart = std::make_shared<QElapsedTimer>();
    RulesGridHooks hooks;
    hooks.MarkModified = [&window] { window.MarkModified(); };
    hooks.ShowsRulesPage = [&window] { return window.ShowsRulesPage(); };
    hooks.ShowRulesPage = [&window] { window.ShowRulesPage(); };
    hooks.StartProgress = [&progress, progressStart](int maximum) {
        progressStart->start();
        progress.setRange(0, std::max(maximum, 1));
        progress.setValue(0);
    };
    hooks.StepProgress = [&progress](int position) { progress.setValue(position); };
    // Rests empty with the seconds beside it, as after the data page's work.
    hooks.EndProgress = [&progress, &seconds, progressStart] {
        progress.setValue(0);
        const double elapsed = static_cast<double>(progressStart->nsecsElapsed()) * 1e-9;
        seconds.setText(" " + QString::fromStdString(FormatNumber(elapsed, 2)) + "s");
    };
    hooks.EnableClipboardActions = [&window] {
        if (window.Host())
            window.Host()->EnableClipboardActions();
    };
    hooks.ShowUserExpressionButtons = [&window](const QStringList& names) {
        if (window.Host())
            window.Host()->ShowUserExpressionButtons(names);
    };
    hooks.VariablesChanged = [&window] { return window.VariablesChanged(); };
    hooks.ClearVariablesChanged = [&window] { window.SetVariablesChanged(false); };
    controller_ = std::make_unique<RulesGridController>(window.RuleBase(), controls, hooks);
}

TRulesPage::~TRulesPage() = default;

void TRulesPage::FillRulesGrid() {
    controller_->FillRulesGrid();
}

void TRulesPage::StoreRulesFromGrid() {
    controller_->StoreRulesFromGrid();
}

bool TRulesPage::CurrentCellValid() {
    return controller_->CurrentCellValid();
}

bool TRulesPage::AllRulesComplete() {
    return controller_->AllRulesComplete();
}

std::optional<std::string> TRulesPage::GoToCellHoldingTheWindow() {
    return controller_->GoToCellHoldingTheWindow();
}

std::optional<std::string> TRulesPage::GoToCellKeepingTheRulesFromAFile() {
    return controller_->GoToCellKeepingTheRulesFromAFile();
}

bool TRulesPage::GridFocused() const {
    const QWidget* active = window_.ActiveControl();
    const TStringGrid* grid = &grid_;
    return active && (active == grid || active->parentWidget() == grid->viewport() ||
                      active->parentWidget() == grid);
}

void TRulesPage::TabSheetRulesEnter() {
    controller_->TabSheetRulesEnter();
}

bool TRulesPage::PageControlChanging() {
    return controller_->PageControlChanging();
}

void TRulesPage::InsertWord(const QString& word) {
    controller_->InsertWord(word);
}

void TRulesPage::MoveToNextCell() {
    if (!window_.ShowsRulesPage())
        return;
    grid_.KeyDown(Qt::Key_Tab, Qt::NoModifier);
}

void TRulesPage::PushUndoSnapshot() {
    // Edits made while the window is built, before the grid holds the rules, keep nothing.
    if (controller_->Editor().Grid().VariableCount() == 0)
        return;
    if (!undoStarted_) {
        undoStarted_ = true;
        controller_->ResetUndo();
        return;
    }
    controller_->PushUndoSnapshot();
}

void TRulesPage::UndoRuleEdit() {
    controller_->UndoRuleEdit();
}

void TRulesPage::RedoRuleEdit() {
    controller_->RedoRuleEdit();
}

void TRulesPage::RulesInfoClick(int tag) {
    controller_->RulesInfoClick(tag);
}

void TRulesPage::ButtonAddRuleClick() {
    controller_->ButtonAddRuleClick();
}

void TRulesPage::ButtonDeleteRuleClick() {
    controller_->ButtonDeleteRuleClick();
}

void TRulesPage::CopyRules() {
    controller_->CopyRules();
}

void TRulesPage::CutRules() {
    controller_->CutRules();
}

void TRulesPage::PasteRules() {
    controller_->PasteRules();
}

void TRulesPage::DeleteRules() {
    controller_->DeleteRules();
}

void TRulesPage::DeleteEmptyRules() {
    controller_->DeleteEmptyRules();
}

void TRulesPage::DeleteDuplicateRules() {
    controller_->DeleteDuplicateRules();
}

void TRulesPage::DeleteRedundantRules() {
    controller_->DeleteRedundantRules();
}

void TRulesPage::MergeInconsistentRules() {
    controller_->MergeInconsistentRules();
}

void TRulesPage::DuplicateRules() {
    controller_->DuplicateRules();
}

void TRulesPage::InvertSign() {
    controller_->InvertSign();
}
