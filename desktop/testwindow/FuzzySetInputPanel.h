#pragma once

#include "desktop/testwindow/FuzzySetPanel.h"

class FuzzySetInputBox;

// One input variable of the test window: its name, its value, which the user may type ("," is
// read as "."), its typical expression and the box with the cursor.
class FuzzySetInputPanel : public FuzzySetPanel {
    Q_OBJECT

  public:
    // How the value edit's text stands to the value in use.
    enum class TypedText {
        InUse,       // it reads as the value in use
        Clamped,     // a number beyond the context, whose nearer end is in use
        NotANumber,  // the value in use is the one before
    };
    Q_ENUM(TypedText)

    FuzzySetInputPanel(QWidget* owner, int variableIndex, const CRuleBase& ruleBase,
                       const QRect& rect);

    FuzzySetInputBox* Box() const { return box_; }
    // The value under the cursor, in the variable's context.
    double Value() const;
    // Moves the cursor and shows its value and expression.
    void SetCursor(double cursor);
    // Shows the cursor's value and its typical expression.
    void Refresh();
    // Takes a changed context of the variable: the cursor keeps its place, so the value moves.
    void FollowRange();
    // A text other than InUse is marked in the edit, with the value in use in its tool tip.
    TypedText TypedTextState() const { return typedText_; }

  private:
    void onValueEditTextChanged(const QString& text);
    void onValueEditEditingFinished();
    void onBoxCursorChanged();
    void ShowExpression(double value);
    void MarkTypedText(TypedText state);

    FuzzySetInputBox* box_;
    // The user is typing: the value edit keeps the text as typed.
    bool typing_ = false;
    TypedText typedText_ = TypedText::InUse;
};
