#pragma once

#include <QAbstractTableModel>
#include <QPoint>

#include <functional>

class RulesEditor;

// The rules grid's working copy (RulesEditor) as a table for Qt's views: one row per rule row,
// one column per variable, then the four check columns; the rule numbers are the vertical
// headers. Coordinates of the working copy are those of the grid (RulesGridModel): column c and
// row r there are column c - 1 and row r - 1 here.
//
// The person's edits come in through setData, which takes only a text that passes the cell
// check; every other change is made in the editor inside Reset or InsertRules.
class RulesTableModel : public QAbstractTableModel {
    Q_OBJECT

  public:
    // Vertical headers: whether the rule is active.
    static constexpr int kActiveRole = Qt::UserRole + 1;

    // The editor must outlive the model.
    explicit RulesTableModel(RulesEditor& editor, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Grid coordinates and indexes.
    QModelIndex IndexOf(int column, int row) const;
    static QPoint CellOf(const QModelIndex& index) { return {index.column() + 1, index.row() + 1}; }

    // Runs a change of the working copy's rows or columns, which views then show anew.
    void Reset(const std::function<void()>& change);
    // count empty rows after grid row after.
    void InsertRules(int after, int count);
    // The check columns were written anew.
    void ChecksChanged();
    void ToggleActive(int row);

  signals:
    // The person's text went into the cell (grid coordinates).
    void cellEdited(int column, int row);

  private:
    RulesEditor& editor_;
};
