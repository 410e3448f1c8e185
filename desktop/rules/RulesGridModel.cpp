#include "desktop/rules/RulesGridModel.h"

#include <algorithm>
#include <utility>

#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"

void RulesGridModel::Fill(const CRuleBase& ruleBase) {
    inputNames_.clear();
    outputNames_.clear();
    for (int a = 0; a < ruleBase.GetNumAntVariables(); ++a)
        inputNames_.push_back(ruleBase.GetVariableName(a));
    for (int s = 0; s < ruleBase.GetNumSucVariables(); ++s)
        outputNames_.push_back(ruleBase.GetVariableName(-1 - s));

    const int ruleCount = ruleBase.GetNumRules();
    rows_.assign(ruleCount, Row{});
    for (int r = 0; r < ruleCount; ++r) {
        Row& row = rows_[r];
        row.active = ruleBase.IsRuleActive(r);
        row.cells.reserve(VariableCount());
        for (int a = 0; a < InputCount(); ++a)
            row.cells.push_back(ruleBase.GetAntExpression(a, r));
        for (int s = 0; s < OutputCount(); ++s)
            row.cells.push_back(ruleBase.GetSucExpression(s, r));
    }
    ++revision_;
}

void RulesGridModel::Store(CRuleBase& ruleBase) const {
    const std::vector<int> complete = CompleteRows();
    const int n = static_cast<int>(complete.size());
    static constexpr char kActive[] = "";
    std::vector<const char*> table(static_cast<std::size_t>(VariableCount() + 1) * n);
    for (int k = 0; k < n; ++k) {
        const Row& row = rows_[complete[k] - 1];
        table[k] = row.active ? kActive : nullptr;
        for (int v = 0; v < VariableCount(); ++v)
            table[static_cast<std::size_t>(v + 1) * n + k] = row.cells[v].c_str();
    }
    ruleBase.SetRulesByColumns(table, n);
    ruleBase.Prepare();
}

Rules RulesGridModel::Snapshot() const {
    // Without the duplicate check: a pasted or duplicated copy of a rule is a rule of its own,
    // and undo and redo must bring it back.
    Rules snapshot;
    for (const Row& row : rows_) {
        if (std::none_of(row.cells.begin(), row.cells.end(),
                         [](const std::string& cell) { return cell.empty(); }))
            snapshot.AddRule(row.cells);
    }
    return snapshot;
}

std::string RulesGridModel::Text(int column, int row) const {
    if (row == 0)
        return Header(column);
    if (column == 0)
        return NumberText(row);
    if (IsVariableColumn(column))
        return Cell(column, row);
    return rows_[row - 1].checkTexts[column - FirstCheckColumn()];
}

const std::string& RulesGridModel::Header(int column) const {
    static const std::string kNone;
    static const std::array<std::string, kCheckColumnCount> kChecks = {
        kCheckHeaders[0], kCheckHeaders[1], kCheckHeaders[2], kCheckHeaders[3]};
    if (column >= 1 && column <= InputCount())
        return inputNames_[column - 1];
    if (IsVariableColumn(column))
        return outputNames_[column - 1 - InputCount()];
    if (IsCheckColumn(column))
        return kChecks[column - FirstCheckColumn()];
    return kNone;
}

std::string RulesGridModel::RuleForm() const {
    auto joined = [](const std::vector<std::string>& names) {
        std::string text;
        for (const std::string& name : names)
            text += (text.empty() ? "" : " && ") + name;
        return text;
    };
    return joined(inputNames_) + " --> " + joined(outputNames_);
}

void RulesGridModel::SetCell(int column, int row, std::string text) {
    std::string& cell = rows_[row - 1].cells[column - 1];
    if (cell == text)
        return;
    cell = std::move(text);
    ++revision_;
}

void RulesGridModel::SetActive(int row, bool active) {
    if (rows_[row - 1].active == active)
        return;
    rows_[row - 1].active = active;
    ++revision_;
}

bool RulesGridModel::IsComplete(int row) const {
    const auto& cells = rows_[row - 1].cells;
    return std::none_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
}

bool RulesGridModel::IsEmpty(int row) const {
    const auto& cells = rows_[row - 1].cells;
    return std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); });
}

std::vector<int> RulesGridModel::CompleteRows() const {
    std::vector<int> complete;
    complete.reserve(rows_.size());
    for (int row = 1; row <= RuleRowCount(); ++row) {
        if (IsComplete(row))
            complete.push_back(row);
    }
    return complete;
}

void RulesGridModel::InsertRows(int after, int count) {
    if (count <= 0)
        return;
    after = std::clamp(after, 0, RuleRowCount());
    Row empty;
    empty.cells.assign(VariableCount(), std::string());
    rows_.insert(rows_.begin() + after, count, empty);
    ++revision_;
}

bool RulesGridModel::DeleteRows(int from, int count) {
    if (count <= 0 || from < 1 || RowCount() <= count + 1 || from + count - 1 > RuleRowCount())
        return false;
    rows_.erase(rows_.begin() + (from - 1), rows_.begin() + (from - 1 + count));
    ++revision_;
    return true;
}

void RulesGridModel::Reorder(const std::vector<int>& order) {
    std::vector<Row> reordered;
    reordered.reserve(rows_.size());
    for (int old : order)
        reordered.push_back(std::move(rows_[old]));
    rows_ = std::move(reordered);
    ++revision_;
}

void RulesGridModel::ClearChecks() {
    for (Row& row : rows_) {
        for (std::string& text : row.checkTexts)
            text.clear();
        row.checkKeys.fill(kNoSortKey);
    }
}

void RulesGridModel::AppendCheck(int check, int row, const std::string& text, int key) {
    Row& target = rows_[row - 1];
    target.checkTexts[check] += text;
    target.checkKeys[check] = key;
}
