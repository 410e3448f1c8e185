#pragma once

#include <QAbstractTableModel>

class CRuleBase;

// The input or the output variables of a rule base as a read-only table: "Name", "Short",
// "Lo", "Hi", "Type", one row per variable with its name and its context's bounds ("Short" and
// "Type" stay empty). The rule base is the store; the model only reads it, and is told through
// Refill when its variables change.
class VariablesModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The rule base must outlive the model.
    VariablesModel(const CRuleBase& ruleBase, bool outputs, QObject* parent = nullptr);

    // The bounds' column, for a view that widens it to its texts.
    static constexpr int LowColumn = 2;
    static constexpr int HighColumn = 3;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The variables were added, deleted or edited.
    void Refill();
    // The signed index of the variable in row row: inputs from 0 up, outputs from -1 down.
    int VariableIndex(int row) const { return outputs_ ? -1 - row : row; }

  private:
    int LiveCount() const;

    const CRuleBase& ruleBase_;
    bool outputs_;
    // The count the views were last told; the rule base may change before Refill tells them.
    int count_ = 0;
};
