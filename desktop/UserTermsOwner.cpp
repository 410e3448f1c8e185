#include "desktop/UserTermsOwner.h"

#include "core/lang/CBasicSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/TFormInfUnit.h"
#include "desktop/TMainForm.h"

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
