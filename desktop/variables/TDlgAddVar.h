#pragma once

#include <QDialog>

#include <functional>
#include <map>
#include <optional>
#include <string>

class CFuzzyVariable;
class CRuleBase;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct VariableFieldError;

// The modal dialog that adds an input variable, or edits the name, bounds and discretization of
// an input or output variable. When the bounds of a variable whose rules hold numbers change, it
// offers to recompute the numbers for the new range or to cut them to it. Any end but OK gives
// the variable its opening bounds back; user expressions confirmed with OK in their editor stay,
// renamed in the rules. One instance serves every editor window.
class TDlgAddVar : public QDialog {
    Q_OBJECT

  public:
    explicit TDlgAddVar(QWidget* parent = nullptr);
    ~TDlgAddVar() override;

    // Adds an input variable copied from input copySource (the input grid's selected row - 1):
    // its cells in every rule, its user expressions and, unless changed, its bounds. True when
    // one was added; the rule base is prepared.
    bool Add(CRuleBase& ruleBase, int copySource);
    // Edits input or output index. True on OK: the variable then has the dialog's name,
    // bounds and discretization, and the rule base is prepared.
    bool EditInputVariable(CRuleBase& ruleBase, int index);
    bool EditOutputVariable(CRuleBase& ruleBase, int index);
    // Validates the variable as it stands; only when it fails is the dialog shown, as by Edit.
    bool CheckByIndex(CRuleBase& ruleBase, int index, bool isInput);
    // Whether the variable passes the dialog's validation as it stands; shows nothing.
    bool Passes(CRuleBase& ruleBase, int index, bool isInput);
    // Each use of a key as a user term, in every cell whose variable shares the dialog's
    // variable's language definition, gets the mapped name. Called before the terms themselves
    // are renamed.
    void RenameInRules(const std::map<std::string, std::string>& renames);

    // Runs the dialog modally and gives its result; tests replace it to act as the person.
    std::function<int()> ModalLoop;
    // Called when the editor must be marked modified.
    std::function<void()> OnModified;
    // The user-expressions editor for the dialog's variable, run by "Edit expressions...".
    std::function<void(TDlgAddVar&)> OnEditExpressions;
    // Called when RenameInRules renamed user expressions in the rule cells, while the old names
    // are still the terms' names.
    std::function<void(const std::map<std::string, std::string>& renames)> OnRenamedInRules;

    CRuleBase* EditedRuleBase() const { return ruleBase_; }
    // The signed index of the variable being edited, or of the copy source.
    int VariableIndex() const;

    QLabel* lbCopyFromVar;
    QComboBox* cbxCopyVar;
    QLineEdit* edName;
    QLabel* lbDiscretization;
    QLineEdit* edDiscret;
    QLineEdit* edLow;
    QLineEdit* edHigh;
    QLabel* lbEditExpressions;
    QPushButton* btnEditTerms;
    QPushButton* OKBtn;
    QPushButton* CancelBtn;

    void cbxCopyVarChange();
    void OKBtnClick();
    void edDiscretExit();
    void edLowExit();
    void edHighExit();
    void btnEditTermsClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void LoadForEdit(CRuleBase& ruleBase, int variable);
    int RunModal();
    bool RunEdit();
    bool Validate();
    bool IsLinguistic() const;
    CFuzzyVariable& Variable() const;
    // Gives the variable's context and, for a linguistic one, every user expression these
    // bounds, when they differ from the applied ones.
    void ApplyBounds(double low, double high);
    // Any end but OK: the bounds as they were opened.
    void Restore();
    void StoreIntoVariable();
    // The bound a field stands for; nothing, with the refusal shown and the focus in the field,
    // when the field holds no bound.
    std::optional<double> FieldValue(QLineEdit& field, double current);
    void ShowFieldError(const VariableFieldError& error);
    // Tells the person why, then gives the focus back to field (null: leaves it).
    void Refuse(QWidget* field, const std::function<void()>& tell);

    CRuleBase* ruleBase_ = nullptr;
    double appliedLow_ = 0.0;
    double appliedHigh_ = 0.0;
    double openingLow_ = 0.0;
    double openingHigh_ = 0.0;
    int variableIndex_ = 0;
    bool isOutput_ = false;
    bool editMode_ = true;
    // A refusal is being shown and its field takes the focus back.
    bool refusing_ = false;
};
