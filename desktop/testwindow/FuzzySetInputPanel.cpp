#include "desktop/testwindow/FuzzySetInputPanel.h"

#include <QLineEdit>
#include <QLocale>

#include "core/rulebase/CRuleBase.h"
#include "desktop/testwindow/FuzzySetInputBox.h"
#include "desktop/testwindow/FuzzySetPainting.h"
#include "desktop/testwindow/TypicalExpression.h"

FuzzySetInputPanel::FuzzySetInputPanel(QWidget* owner, int variableIndex, const CRuleBase& ruleBase,
                                       const QRect& rect)
    : FuzzySetPanel(owner, ruleBase, variableIndex),
      box_(new FuzzySetInputBox(this, Lo(), Hi(), QRect())) {
    SetBox(box_);
    setGeometry(rect);
    connect(ValueEdit(), &QLineEdit::textEdited, this, &FuzzySetInputPanel::onValueEditTextEdited);
    connect(box_, &FuzzySetInputBox::cursorChanged, this, &FuzzySetInputPanel::onBoxCursorChanged);
    Refresh();
    show();
}

double FuzzySetInputPanel::Value() const {
    return box_->Value();
}

void FuzzySetInputPanel::SetCursor(double cursor) {
    box_->SetCursor(cursor);
    Refresh();
}

void FuzzySetInputPanel::Refresh() {
    ValueEdit()->setText(FixedTwoDecimals(Value()));
    ShowExpression(Value());
}

void FuzzySetInputPanel::ShowExpression(double value) {
    ExpressionEdit()->setText(QString::fromStdString(TypicalExpressionText(Settings(), value)));
}

void FuzzySetInputPanel::onBoxCursorChanged() {
    if (!typing_)
        Refresh();
}

void FuzzySetInputPanel::onValueEditTextEdited(const QString& text) {
    QString number = text.trimmed();
    number.replace(QLatin1Char(','), QLatin1Char('.'));
    bool converted = false;
    const double value = QLocale::c().toDouble(number, &converted);
    // A half-typed number ("-", "1e") or one outside the context leaves everything as it is.
    if (!converted || value < Lo() || value > Hi())
        return;
    typing_ = true;
    box_->SetCursor(Hi() > Lo() ? (value - Lo()) / (Hi() - Lo()) : 0.0);
    typing_ = false;
    ShowExpression(value);
}
