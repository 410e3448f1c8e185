#include "desktop/VariableDialogSeams.h"

#include "desktop/EditorSeams.h"
#include "desktop/TDlgAddVar.h"
#include "desktop/TFormInfUnit.h"
#include "desktop/TUserTerms.h"
#include "desktop/toolkit/TStringGrid.h"

namespace {

void BindToEditor(TDlgAddVar& dialog, TFormInfUnit& editor) {
    dialog.OnModified = [&editor] { editor.MarkModified(); };
    dialog.OnEditExpressions = [&editor](TDlgAddVar& owner) {
        UserTermsOwner terms = UserTermsOwnerOf(editor, owner.VariableIndex());
        terms.RenameInRules = [&owner](const std::string& oldText, const std::string& newText) {
            owner.RenameInRules(oldText, newText);
        };
        TUserTerms form(&owner);
        form.Execute(terms);
    };
}

}  // namespace

void InstallVariableDialog(TDlgAddVar& dialog) {
    EditorSeams& seams = InstalledEditorSeams();
    seams.AddVariable = [&dialog](TFormInfUnit& editor) {
        BindToEditor(dialog, editor);
        return dialog.Add(editor.RuleBase(), editor.StringGridInputVar->Row() - 1);
    };
    seams.EditVariable = [&dialog](TFormInfUnit& editor, int variable) {
        BindToEditor(dialog, editor);
        return variable >= 0 ? dialog.EditInputVariable(editor.RuleBase(), variable)
                             : dialog.EditOutputVariable(editor.RuleBase(), -1 - variable);
    };
    seams.CheckVariable = [&dialog](TFormInfUnit& editor, int variable) {
        BindToEditor(dialog, editor);
        dialog.CheckByIndex(editor.RuleBase(), variable >= 0 ? variable : -1 - variable,
                            variable >= 0);
    };
}
