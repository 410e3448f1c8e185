#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "desktop/userterms/UserTermRows.h"

// The user-expressions grid as a table, and the only store of its rows: model column c is the
// editor's grid column c + 1 (Name, Type, the six parameters, U); the rows are numbered by the
// vertical header. Typing reaches a cell only where the row's shape has a parameter (and the
// name); a text that is no number stays in its cell, marked, while the row keeps its last
// number. A read-only model shows the language's standard expressions.
class UserTermsModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // True for a parameter cell whose text is no number.
    static constexpr int NotANumberRole = Qt::UserRole;

    explicit UserTermsModel(bool editable, QObject* parent = nullptr);

    static int GridColumn(int modelColumn) { return modelColumn + 1; }
    static int ModelColumn(int gridColumn) { return gridColumn - 1; }
    static bool IsParameterColumn(int modelColumn);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    const UserTermRows& Rows() const { return rows_; }
    const userterm::TermRow& Row(int row) const { return rows_[row]; }
    int Count() const { return rows_.Count(); }

    void Reset(UserTermRows rows);
    void Insert(int at, std::vector<userterm::TermRow> rows);
    void Remove(int row);
    void Replace(int row, userterm::TermRow changed);
    void SetUsed(int row, bool used);

  private:
    UserTermRows rows_;
    bool editable_;
};
