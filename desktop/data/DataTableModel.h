#pragma once

#include <QAbstractTableModel>

#include <functional>

#include "desktop/data/DataRows.h"

// The data page's rows as an item model, and their only store. Model column m is the layout's
// column m + 1: the row labels of column 0 are the vertical header, the variables' names over
// their contexts the horizontal one. Every cell is editable text.
class DataTableModel final : public QAbstractTableModel {
    Q_OBJECT

  public:
    explicit DataTableModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Empty rows; the inserted ones have no label.
    bool insertRows(int row, int count, const QModelIndex& parent = {}) override;
    // The labels stay where they are (DataTable::RemoveRow).
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    const DataTable& Table() const { return table_; }
    const DataLayout& Layout() const { return layout_; }
    // The index of a cell addressed as the layout addresses it.
    QModelIndex CellIndex(int col, int row) const { return index(row, col - 1); }

    // The columns of the rule base's variables as they are now, the description column only
    // with the linguistic approximation; the cells stay where they are.
    void SetLayout(DataLayout layout, bool linguistic);
    void ReplaceTable(DataTable table);
    // Lets change write cells of the columns first .. last of the rows there are (it must add
    // or remove none); the views hear of it once, when change has returned.
    void ChangeColumns(int first, int last, const std::function<void(DataTable&)>& change);

  private:
    DataTable table_;
    DataLayout layout_;
    bool linguistic_ = false;
};
