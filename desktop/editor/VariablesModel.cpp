#include "desktop/editor/VariablesModel.h"

#include "core/rulebase/CRuleBase.h"

namespace {

const char* const kHeaders[] = {"Name", "Short", "Lo", "Hi", "Type"};

}  // namespace

VariablesModel::VariablesModel(const CRuleBase& ruleBase, bool outputs, QObject* parent)
    : QAbstractTableModel(parent), ruleBase_(ruleBase), outputs_(outputs), count_(LiveCount()) {}

int VariablesModel::LiveCount() const {
    return outputs_ ? ruleBase_.GetNumSucVariables() : ruleBase_.GetNumAntVariables();
}

int VariablesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count_;
}

int VariablesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(std::size(kHeaders));
}

QVariant VariablesModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= LiveCount())
        return {};
    const int variable = VariableIndex(index.row());
    switch (index.column()) {
        case 0:
            return QString::fromStdString(ruleBase_.GetVariableName(variable));
        // Fixed notation with two decimals: 0 shows as "0.00".
        case LowColumn:
            return QString::number(ruleBase_.GetLowerBound(variable), 'f', 2);
        case HighColumn:
            return QString::number(ruleBase_.GetUpperBound(variable), 'f', 2);
        default:
            return QString();
    }
}

QVariant VariablesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount())
        return {};
    return QString(kHeaders[section]);
}

void VariablesModel::Refill() {
    beginResetModel();
    count_ = LiveCount();
    endResetModel();
}
