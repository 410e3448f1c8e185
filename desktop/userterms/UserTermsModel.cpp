#include "desktop/userterms/UserTermsModel.h"

#include <algorithm>

using namespace userterm;

namespace {

const char* const kHeaders[] = {"Name",         "Type",       "LeftSupp",
                                "LeftEquilib",  "LeftKernel", "RightKernel",
                                "RightEquilib", "RightSupp",  "U"};

}  // namespace

UserTermsModel::UserTermsModel(bool editable, QObject* parent)
    : QAbstractTableModel(parent), editable_(editable) {}

bool UserTermsModel::IsParameterColumn(int modelColumn) {
    const int col = GridColumn(modelColumn);
    return col >= kFirstParamCol && col <= kLastParamCol;
}

int UserTermsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.Count();
}

int UserTermsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColCount - 1;
}

QVariant UserTermsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const TermRow& row = rows_[index.row()];
    const int col = GridColumn(index.column());
    if (role == NotANumberRole)
        return IsParameterColumn(index.column()) && !row.Param(col).readable;
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (col == kNameCol)
        return row.name;
    if (col == kTypeCol)
        return row.type;
    if (col == kUsedCol)
        return editable_ ? QString(row.used ? "U" : "N") : QString();
    return row.Param(col).text;
}

QVariant UserTermsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return QString::number(section + 1) + ".";
    return section >= 0 && section < columnCount() ? QString(kHeaders[section]) : QVariant();
}

Qt::ItemFlags UserTermsModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!editable_)
        return flags;
    // The name, and the parameter cells the row's shape uses (where Tab stops).
    const int col = GridColumn(index.column());
    const auto shape = RowShape(rows_[index.row()]);
    const auto params = shape ? ParamColumns(*shape) : std::span<const int>();
    if (col == kNameCol || std::find(params.begin(), params.end(), col) != params.end())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool UserTermsModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    TermRow& row = rows_[index.row()];
    const int col = GridColumn(index.column());
    const QString text = value.toString();
    if (col == kNameCol) {
        if (row.name == text)
            return true;
        row.name = text;
    } else {
        if (row.Param(col).text == text)
            return true;
        SetParamText(row, col, text);
    }
    emit dataChanged(index, index);
    return true;
}

void UserTermsModel::Reset(UserTermRows rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

void UserTermsModel::Insert(int at, std::vector<TermRow> rows) {
    if (rows.empty())
        return;
    beginInsertRows({}, at, at + static_cast<int>(rows.size()) - 1);
    for (TermRow& row : rows)
        rows_.Insert(at++, std::move(row));
    endInsertRows();
    // The numbers of the rows below changed with them.
    if (at < rows_.Count())
        emit headerDataChanged(Qt::Vertical, at, rows_.Count() - 1);
}

void UserTermsModel::Remove(int row) {
    beginRemoveRows({}, row, row);
    rows_.Remove(row);
    endRemoveRows();
    if (row < rows_.Count())
        emit headerDataChanged(Qt::Vertical, row, rows_.Count() - 1);
}

void UserTermsModel::Replace(int row, TermRow changed) {
    rows_[row] = std::move(changed);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void UserTermsModel::SetUsed(int row, bool used) {
    if (rows_[row].used == used)
        return;
    rows_[row].used = used;
    const QModelIndex cell = index(row, ModelColumn(kUsedCol));
    emit dataChanged(cell, cell);
}
