#include "desktop/testwindow/FuzzySetOutputPanel.h"

#include <QLineEdit>

#include "core/rulebase/CRuleBase.h"
#include "desktop/testwindow/FuzzySetOutputBox.h"
#include "desktop/testwindow/FuzzySetPainting.h"
#include "desktop/testwindow/TypicalExpression.h"

FuzzySetOutputPanel::FuzzySetOutputPanel(QWidget* owner, int variableIndex,
                                         const CRuleBase& ruleBase, const QRect& rect)
    : FuzzySetPanel(owner, ruleBase, variableIndex),
      box_(new FuzzySetOutputBox(this, Lo(), Hi(), QRect())) {
    SetBox(box_);
    ValueEdit()->setReadOnly(true);
    setGeometry(rect);
    Refresh();
    show();
}

void FuzzySetOutputPanel::ShowResult(const CFuzzySet* set, std::optional<double> crisp) {
    if (ReadRange())
        box_->SetRange(Lo(), Hi());
    box_->ShowResult(set, crisp);
    Refresh();
}

void FuzzySetOutputPanel::ClearResult() {
    box_->ShowResult(nullptr, std::nullopt);
    Refresh();
}

void FuzzySetOutputPanel::Refresh() {
    if (!box_->HasResult()) {
        ValueEdit()->clear();
        ExpressionEdit()->clear();
        return;
    }
    const double value = box_->Value();
    ValueEdit()->setText(FixedTwoDecimals(value));
    ExpressionEdit()->setText(RuleBase().GetTypeOfDescription() == CRuleBase::kLinguistic
                                  ? QString::fromStdString(TypicalExpressionText(Settings(), value))
                                  : QString());
}
