#include "desktop/data/DataTableModel.h"

#include <algorithm>

namespace {

// Model columns: the layout's columns but the labels; none before the first layout.
int ModelColumns(const DataLayout& layout, bool linguistic) {
    return layout.headers.empty() ? 0 : layout.ColumnCount(linguistic) - 1;
}

}  // namespace

DataTableModel::DataTableModel(QObject* parent) : QAbstractTableModel(parent) {}

int DataTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : table_.RowCount();
}

int DataTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ModelColumns(layout_, linguistic_);
}

QVariant DataTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return table_.Cell(index.column() + 1, index.row());
}

bool DataTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString text = value.toString();
    if (table_.Cell(index.column() + 1, index.row()) == text)
        return true;
    table_.SetCell(index.column() + 1, index.row(), text);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags DataTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section >= 0 && section < rowCount() ? table_.Cell(0, section) : QVariant();
    if (section < 0 || section >= columnCount())
        return {};
    const DataLayout::Header& header = layout_.HeaderOf(section + 1);
    return header.name + u'\n' + header.context;
}

bool DataTableModel::insertRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || row > rowCount() || count < 1)
        return false;
    beginInsertRows({}, row, row + count - 1);
    table_.InsertRows(row, count);
    endInsertRows();
    return true;
}

bool DataTableModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    beginRemoveRows({}, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        table_.RemoveRow(row);
    endRemoveRows();
    // The labels below did not move with their rows.
    if (row < rowCount())
        emit headerDataChanged(Qt::Vertical, row, rowCount() - 1);
    return true;
}

void DataTableModel::SetLayout(DataLayout layout, bool linguistic) {
    const int before = columnCount();
    const int after = ModelColumns(layout, linguistic);
    if (after > before)
        beginInsertColumns({}, before, after - 1);
    else if (after < before)
        beginRemoveColumns({}, after, before - 1);
    layout_ = std::move(layout);
    linguistic_ = linguistic;
    if (after > before)
        endInsertColumns();
    else if (after < before)
        endRemoveColumns();
    if (after > 0)
        emit headerDataChanged(Qt::Horizontal, 0, after - 1);
}

void DataTableModel::ReplaceTable(DataTable table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

void DataTableModel::ChangeColumns(int first, int last,
                                   const std::function<void(DataTable&)>& change) {
    change(table_);
    // Columns that are not shown (the description without the linguistic approximation) change
    // unseen.
    const int left = std::max(first - 1, 0);
    const int right = std::min(last - 1, columnCount() - 1);
    if (rowCount() > 0 && left <= right)
        emit dataChanged(index(0, left), index(rowCount() - 1, right),
                         {Qt::DisplayRole, Qt::EditRole});
}
