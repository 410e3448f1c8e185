#include "desktop/rules/RulesTableModel.h"

#include <QScopeGuard>

#include <algorithm>
#include <string>

#include "desktop/rules/RulesEditor.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

RulesTableModel::RulesTableModel(RulesEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), editor_(editor) {}

int RulesTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : editor_.Grid().RuleRowCount();
}

int RulesTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : editor_.Grid().ColumnCount() - 1;
}

QVariant RulesTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !checkIndex(index))
        return {};
    const QPoint cell = CellOf(index);
    const RulesGridModel& grid = editor_.Grid();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return Q(grid.Text(cell.x(), cell.y()));
        case Qt::ToolTipRole: {
            // The hint reads the inputs and the first output as the parser understands them.
            const std::optional<std::string> text = editor_.NormalizedText(cell.x(), cell.y());
            return text ? QVariant(Q(*text)) : QVariant();
        }
        default:
            return {};
    }
}

QVariant RulesTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const RulesGridModel& grid = editor_.Grid();
    if (orientation == Qt::Horizontal) {
        if (role == Qt::DisplayRole && section >= 0 && section < columnCount())
            return Q(grid.Header(section + 1));
        return {};
    }
    if (section < 0 || section >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return Q(RulesGridModel::NumberText(section + 1));
    if (role == kActiveRole)
        return grid.IsActive(section + 1);
    return {};
}

Qt::ItemFlags RulesTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid() || !checkIndex(index))
        return Qt::NoItemFlags;
    // The check columns are read, never selected: a click there picks the row's last cell.
    if (editor_.Grid().IsCheckColumn(index.column() + 1))
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

bool RulesTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || !checkIndex(index))
        return false;
    const QPoint cell = CellOf(index);
    const std::string text = value.toString().toStdString();
    if (!editor_.Grid().IsVariableColumn(cell.x()) || editor_.CheckText(cell.x(), text))
        return false;
    editor_.Grid().SetCell(cell.x(), cell.y(), text);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::ToolTipRole});
    emit cellEdited(cell.x(), cell.y());
    return true;
}

QModelIndex RulesTableModel::IndexOf(int column, int row) const {
    return index(row - 1, column - 1);
}

void RulesTableModel::Reset(const std::function<void()>& change) {
    beginResetModel();
    // Views come back also when the change throws.
    const auto ended = qScopeGuard([this] { endResetModel(); });
    change();
}

void RulesTableModel::InsertRules(int after, int count) {
    after = std::clamp(after, 0, rowCount());
    beginInsertRows({}, after, after + count - 1);
    editor_.Grid().InsertRows(after, count);
    endInsertRows();
}

void RulesTableModel::ChecksChanged() {
    const int first = editor_.Grid().FirstCheckColumn() - 1;
    if (rowCount() > 0)
        emit dataChanged(index(0, first), index(rowCount() - 1, columnCount() - 1),
                         {Qt::DisplayRole});
}

void RulesTableModel::ToggleActive(int row) {
    RulesGridModel& grid = editor_.Grid();
    grid.SetActive(row, !grid.IsActive(row));
    emit headerDataChanged(Qt::Vertical, row - 1, row - 1);
}
