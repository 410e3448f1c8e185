#pragma once

#include <QWidget>

class CRuleBase;
class QTableView;
class VariablesModel;

// The page "&Input variables" or "O&utput variables" of a rule-base editor window: the list of
// the rule base's input or output variables (StringGridInputVar, StringGridOutputVar) and the
// buttons that start the variable dialog on them. The window does the work; the page says what
// the person asked for, and which variable the selected row names.
class TVariablePage : public QWidget {
    Q_OBJECT

  public:
    // Inputs get Add, Delete and Edit, outputs Edit alone. The rule base must outlive the page.
    TVariablePage(const CRuleBase& ruleBase, bool outputs, QWidget* parent = nullptr);

    const VariablesModel& Model() const { return *model_; }
    // The list shows the rule base's variables again; the selection stays on its row.
    void Fill();
    // The selected row: the variable's place among the inputs or the outputs, from 0; -1 when
    // none is selected.
    int SelectedRow() const;
    void SelectRow(int row);
    void SetEditingEnabled(bool enabled);

  signals:
    void addVariableRequested();
    void deleteVariableRequested();
    // The Edit button or a double click on a row.
    void editVariableRequested();

  private:
    void FitColumns();

    VariablesModel* model_;
    QTableView* grid_;
};
