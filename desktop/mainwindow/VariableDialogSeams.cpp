#include "desktop/mainwindow/VariableDialogSeams.h"

#include "core/lang/CBasicSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/editor/TVariablePage.h"
#include "desktop/mainwindow/TMainForm.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/userterms/TUserTerms.h"
#include "desktop/variables/TDlgAddVar.h"

UserTermsOwner UserTermsOwnerOf(TFormInfUnit& editor, int variable) {
    CRuleBase& ruleBase = editor.RuleBase();
    UserTermsOwner owner;
    owner.Settings =
        dynamic_cast<CBasicSettings*>(ruleBase.GetVariable(variable).GetSettings().get());
    owner.VariableIndex =
        variable >= 0 ? variable : ruleBase.GetNumAntVariables() + (-1 - variable);
    owner.IsExpressionUsed = [&editor](const QString& text, int index) {
        return editor.IsExpressionUsed(text, index);
    };
    owner.MarkModified = [&editor] { editor.MarkModified(); };
    if (auto* mainForm = dynamic_cast<TMainForm*>(editor.Host()))
        owner.CopiedRows = &mainForm->CopiedRows;
    return owner;
}

namespace {

void BindToEditor(TDlgAddVar& dialog, TFormInfUnit& editor) {
    dialog.OnModified = [&editor] { editor.MarkModified(); };
    dialog.OnEditExpressions = [&editor](TDlgAddVar& owner) {
        UserTermsOwner terms = UserTermsOwnerOf(editor, owner.VariableIndex());
        terms.RenameInRules = [&owner](const std::map<std::string, std::string>& renames) {
            owner.RenameInRules(renames);
        };
        // Expressions confirmed with OK are a change of the window whatever the variable
        // dialog's end: its Cancel takes back only the bounds.
        TUserTerms form(&owner);
        form.Execute(terms);
    };
}

}  // namespace

void InstallVariableDialog(TDlgAddVar& dialog) {
    EditorSeams& seams = InstalledEditorSeams();
    seams.AddVariable = [&dialog](TFormInfUnit& editor) {
        BindToEditor(dialog, editor);
        return dialog.Add(editor.RuleBase(), editor.TabSheetInputVar->SelectedRow());
    };
    seams.EditVariable = [&dialog](TFormInfUnit& editor, int variable) {
        BindToEditor(dialog, editor);
        // Renamed expressions are renamed in the undo history too, so that undo never brings
        // back a name that is no term.
        RulesEditor& rules = editor.RulesPage().Editor();
        dialog.OnRenamedInRules = [&rules, variable](const auto& renames) {
            rules.RenameInSnapshots(variable, renames);
        };
        const bool kept = variable >= 0
                              ? dialog.EditInputVariable(editor.RuleBase(), variable)
                              : dialog.EditOutputVariable(editor.RuleBase(), -1 - variable);
        dialog.OnRenamedInRules = {};
        return kept;
    };
    seams.CheckVariable = [&dialog](TFormInfUnit& editor, int variable) {
        BindToEditor(dialog, editor);
        const int index = variable >= 0 ? variable : -1 - variable;
        return !dialog.Passes(editor.RuleBase(), index, variable >= 0) &&
               dialog.CheckByIndex(editor.RuleBase(), index, variable >= 0);
    };
}
