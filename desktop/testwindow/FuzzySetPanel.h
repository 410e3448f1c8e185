#pragma once

#include <QFrame>

class CRuleBase;
class CSettings;
class QLabel;
class QLineEdit;

// What the input and output panels share: the variable's name, value and typical expression in
// a column of labels and edits at the left, and the panel's box at the right. Setting the
// panel's geometry lays the children out again.
class FuzzySetPanel : public QFrame {
    Q_OBJECT

  public:
    // The signed index of the panel's variable in its rule base.
    int VariableIndex() const { return variableIndex_; }
    QLineEdit* NameEdit() const { return nameEdit_; }
    QLineEdit* ValueEdit() const { return valueEdit_; }
    QLineEdit* ExpressionEdit() const { return expressionEdit_; }

  protected:
    // ruleBase is borrowed and outlives the panel.
    FuzzySetPanel(QWidget* owner, const CRuleBase& ruleBase, int variableIndex);
    // Called once the derived panel has made its box.
    void SetBox(QWidget* box) { box_ = box; }
    void resizeEvent(QResizeEvent* event) override;

    const CSettings& Settings() const;
    // The variable's context as last read.
    double Lo() const { return lo_; }
    double Hi() const { return hi_; }
    // Reads the context and the name again, which the editor may have changed since; true when
    // the context changed.
    bool ReadRange();
    const CRuleBase& RuleBase() const { return ruleBase_; }

  private:
    const CRuleBase& ruleBase_;
    int variableIndex_;
    double lo_;
    double hi_;
    QLabel* nameLabel_;
    QLineEdit* nameEdit_;
    QLabel* valueLabel_;
    QLineEdit* valueEdit_;
    QLabel* expressionLabel_;
    QLineEdit* expressionEdit_;
    QWidget* box_ = nullptr;
};
