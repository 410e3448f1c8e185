#pragma once

#include "desktop/testwindow/FuzzySetPanel.h"

class FuzzySetInputBox;

// One input variable of the test window: its name, its value, which the user may type ("," is
// read as "."), its typical expression and the box with the cursor.
class FuzzySetInputPanel : public FuzzySetPanel {
    Q_OBJECT

  public:
    FuzzySetInputPanel(QWidget* owner, int variableIndex, const CRuleBase& ruleBase,
                       const QRect& rect);

    FuzzySetInputBox* Box() const { return box_; }
    // The value under the cursor, in the variable's context.
    double Value() const;
    // Moves the cursor and shows its value and expression.
    void SetCursor(double cursor);
    // Shows the cursor's value and its typical expression.
    void Refresh();

  private:
    void onValueEditTextEdited(const QString& text);
    void onBoxCursorChanged();
    void ShowExpression(double value);

    FuzzySetInputBox* box_;
    // The user is typing: the value edit keeps the text as typed.
    bool typing_ = false;
};
