#include "desktop/testwindow/FuzzySetInputPanel.h"

#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <algorithm>
#include <optional>

#include "core/rulebase/CRuleBase.h"
#include "desktop/testwindow/FuzzySetInputBox.h"
#include "desktop/testwindow/FuzzySetPainting.h"
#include "desktop/testwindow/TypicalExpression.h"
#include "desktop/toolkit/RefusedText.h"

namespace {

// The whole text as one number, blanks around it allowed and "," read as ".". A number too
// large for a double reads as infinite, which the context then holds at its end.
std::optional<double> ReadNumber(QString text) {
    text = text.trimmed();
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    static const QRegularExpression number(
        QStringLiteral("^[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    return QLocale::c().toDouble(text);
}

}  // namespace

FuzzySetInputPanel::FuzzySetInputPanel(QWidget* owner, int variableIndex, const CRuleBase& ruleBase,
                                       const QRect& rect)
    : FuzzySetPanel(owner, ruleBase, variableIndex),
      box_(new FuzzySetInputBox(this, Lo(), Hi(), QRect())) {
    SetBox(box_);
    setGeometry(rect);
    connect(ValueEdit(), &QLineEdit::textChanged, this,
            &FuzzySetInputPanel::onValueEditTextChanged);
    connect(ValueEdit(), &QLineEdit::editingFinished, this,
            &FuzzySetInputPanel::onValueEditEditingFinished);
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

void FuzzySetInputPanel::FollowRange() {
    if (!ReadRange())
        return;
    box_->SetRange(Lo(), Hi());
    Refresh();
}

void FuzzySetInputPanel::ShowExpression(double value) {
    ExpressionEdit()->setText(QString::fromStdString(TypicalExpressionText(Settings(), value)));
}

void FuzzySetInputPanel::onBoxCursorChanged() {
    if (!typing_)
        Refresh();
}

// Runs on every change of the text, the panel's own showing of the value included.
void FuzzySetInputPanel::onValueEditTextChanged(const QString& text) {
    if (text == FixedTwoDecimals(Value())) {
        MarkTypedText(TypedText::InUse);
        return;
    }
    const std::optional<double> number = ReadNumber(text);
    if (!number) {
        MarkTypedText(TypedText::NotANumber);
        return;
    }
    const double value = std::max(Lo(), std::min(*number, Hi()));
    {
        const QScopedValueRollback<bool> typing(typing_, true);
        box_->SetCursor(Hi() > Lo() ? (value - Lo()) / (Hi() - Lo()) : 0.0);
    }
    ShowExpression(value);
    MarkTypedText(value == *number ? TypedText::InUse : TypedText::Clamped);
}

// Rewritten only now: while the user types "20" into a context from 10, the "2" is beyond it.
void FuzzySetInputPanel::onValueEditEditingFinished() {
    if (typedText_ == TypedText::Clamped)
        Refresh();
}

void FuzzySetInputPanel::MarkTypedText(TypedText state) {
    typedText_ = state;
    QString reason;
    if (state != TypedText::InUse) {
        const QString inUse = FixedTwoDecimals(Value());
        reason = state == TypedText::Clamped
                     ? QStringLiteral("Outside %1 .. %2: %3 is used")
                           .arg(FixedTwoDecimals(Lo()), FixedTwoDecimals(Hi()), inUse)
                     : QStringLiteral("Not a number: %1 is used").arg(inUse);
    }
    toolkit::MarkRefusedText(*ValueEdit(), reason);
}
