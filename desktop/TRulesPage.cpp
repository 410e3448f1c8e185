#include "desktop/TRulesPage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

#include <memory>

#include "core/math/NumericUtils.h"
#include "desktop/EditorHost.h"
#include "desktop/RulesGridController.h"
#include "desktop/TDataPage.h"
#include "desktop/TFormInfUnit.h"
#include "desktop/toolkit/TStringGrid.h"

TRulesPage::TRulesPage(TFormInfUnit& form) : form_(form) {
    RulesGridControls controls;
    controls.StringGridRules = form.StringGridRules;
    controls.lbRuleForm = form.lbRuleForm;
    controls.LabelErrorMessage = form.LabelErrorMessage;
    controls.LabelGoodPart = form.LabelGoodPart;
    controls.LabelBadPart = form.LabelBadPart;
    controls.ShowChecks = {form.mnShowGroup, form.mnShowConsistency, form.mnShowRedundancy,
                           form.mnShowRedundancyAnt};

    auto progressStart = std::make_shared<QElapsedTimer>();
    RulesGridHooks hooks;
    hooks.MarkModified = [&form] { form.MarkModified(); };
    hooks.ShowsRulesPage = [&form] { return form.ShowsRulesPage(); };
    hooks.ShowRulesPage = [&form] { form.ShowRulesPage(); };
    hooks.StartProgress = [&form, progressStart](int maximum) {
        progressStart->start();
        form.pgProgress->setRange(0, std::max(maximum, 1));
        form.pgProgress->setValue(0);
    };
    hooks.StepProgress = [&form](int position) { form.pgProgress->setValue(position); };
    // Rests empty with the seconds beside it, as after the data page's work.
    hooks.EndProgress = [&form, progressStart] {
        form.pgProgress->setValue(0);
        const double seconds = static_cast<double>(progressStart->nsecsElapsed()) * 1e-9;
        form.lbProgressSec->setText(" " + QString::fromStdString(FormatNumber(seconds, 2)) + "s");
    };
    hooks.EnableClipboardActions = [&form] {
        if (form.Host())
            form.Host()->EnableClipboardActions();
    };
    hooks.ShowUserExpressionButtons = [&form](const QStringList& names) {
        if (form.Host())
            form.Host()->ShowUserExpressionButtons(names);
    };
    hooks.VariablesChanged = [&form] { return form.VariablesChanged(); };
    hooks.ClearVariablesChanged = [&form] { form.SetVariablesChanged(false); };
    controller_ = std::make_unique<RulesGridController>(form.RuleBase(), controls, hooks);
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

bool TRulesPage::GridFocused() const {
    const QWidget* active = form_.ActiveControl();
    const TStringGrid* grid = form_.StringGridRules;
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
    if (!form_.ShowsRulesPage())
        return;
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(form_.StringGridRules, &tab);
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

void TRulesPage::MergeRules() {
    form_.DataPage().MergeRules();
}

void TRulesPage::DuplicateRules() {
    controller_->DuplicateRules();
}

void TRulesPage::InvertSign() {
    controller_->InvertSign();
}
