#include "desktop/rules/RulesEditor.h"

#include <algorithm>
#include <memory>
#include <set>
#include <stdexcept>
#include <vector>

#include "core/checks/CRuleChecks.h"
#include "core/checks/MergeInconsistentRules.h"
#include "core/lang/CBasicSettings.h"
#include "core/lang/CFEParser.h"
#include "core/lang/ELingExpr.h"
#include "core/lang/UserTermWords.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"
#include "desktop/rules/RuleCellFaults.h"
#include "desktop/rules/RuleClipboardText.h"
#include "desktop/rules/RuleRowSorter.h"

namespace {

// The texts of rule r, inputs first.
std::vector<std::string> CellsOfRule(const CRuleBase& ruleBase, int r) {
    std::vector<std::string> cells;
    for (int a = 0; a < ruleBase.GetNumAntVariables(); ++a)
        cells.push_back(ruleBase.GetAntExpression(a, r));
    for (int s = 0; s < ruleBase.GetNumSucVariables(); ++s)
        cells.push_back(ruleBase.GetSucExpression(s, r));
    return cells;
}

}  // namespace

RulesEditor::RulesEditor(CRuleBase& ruleBase) : ruleBase_(ruleBase) {}

void RulesEditor::FillGrid() {
    grid_.Fill(ruleBase_);
    // The grid always has a row to type into.
    if (grid_.RuleRowCount() == 0)
        grid_.InsertRows(0, 1);
    gridStale_ = false;
    storedRevision_ = grid_.Revision();
    checkedRevision_.reset();
}

void RulesEditor::StoreGrid() {
    if (gridStale_ || grid_.InputCount() != ruleBase_.GetNumAntVariables() ||
        grid_.OutputCount() != ruleBase_.GetNumSucVariables())
        return;
    if (storedRevision_ == grid_.Revision())
        return;
    storedRevision_ = grid_.Revision();
    try {
        grid_.Store(ruleBase_);
    } catch (const ESyntaxRB&) {
        // The failing cells are in the grid, where the cell check shows them.
    }
}

void RulesEditor::RunChecks() {
    StoreGrid();
    if (checkedRevision_ == grid_.Revision())
        return;
    if (gridStale_)
        grid_.ClearChecks();
    else
        AnnotateRuleChecks(grid_, ruleBase_, shown_);
    checkedRevision_ = grid_.Revision();
    ++checksRun_;
}

void RulesEditor::SetShown(int check, bool shown) {
    shown_[check] = shown;
    checkedRevision_.reset();
}

std::optional<ESyntax> RulesEditor::CheckText(int column, const std::string& text) const {
    // A grid hidden while variables were added or deleted has columns the rule base no longer
    // has; it is checked once it is filled again.
    if (text.empty() || !grid_.IsVariableColumn(column) ||
        grid_.InputCount() != ruleBase_.GetNumAntVariables() ||
        grid_.OutputCount() != ruleBase_.GetNumSucVariables())
        return std::nullopt;
    return CellBuildError(ruleBase_, grid_.VariableIndexOfColumn(column), text);
}

std::optional<ESyntax> RulesEditor::CheckCell(int column, int row) const {
    if (!grid_.IsVariableColumn(column) || !grid_.IsRuleRow(row))
        return std::nullopt;
    return CheckText(column, grid_.Cell(column, row));
}

std::optional<RulesEditor::CellFault> RulesEditor::CellFaultAt(int column, int row,
                                                               const std::string& text) const {
    const std::optional<ESyntax> error = CheckText(column, text);
    if (!error)
        return std::nullopt;
    return CellFault{column, row,
                     BadExpressionMessage(ruleBase_, row - 1, grid_.VariableIndexOfColumn(column),
                                          error->Message())};
}

std::optional<RulesEditor::CellFault> RulesEditor::FirstIncompleteCell() const {
    for (int row = 1; row <= grid_.RuleRowCount(); ++row) {
        for (int column = 1; column <= grid_.VariableCount(); ++column) {
            if (grid_.Cell(column, row).empty())
                return CellFault{column, row,
                                 "rule " + std::to_string(row) + " is incomplete: variable " +
                                     grid_.Header(column) + " is empty"};
        }
    }
    return std::nullopt;
}

std::optional<RulesEditor::CellFault> RulesEditor::FirstCellThatDoesNotBuild() {
    const std::optional<RuleCellFault> fault = ::FirstCellThatDoesNotBuild(ruleBase_);
    if (!fault)
        return std::nullopt;
    // Rule k is the k-th complete row of a grid that matches the rule base; a grid that does not
    // is filled from it before it is shown again.
    const std::vector<int> complete = grid_.CompleteRows();
    const bool matches = !gridStale_ && grid_.InputCount() == ruleBase_.GetNumAntVariables() &&
                         grid_.OutputCount() == ruleBase_.GetNumSucVariables() &&
                         static_cast<int>(complete.size()) == ruleBase_.GetNumRules();
    const int row = matches ? complete[fault->rule] : fault->rule + 1;
    const int inputs = ruleBase_.GetNumAntVariables();
    const int column = fault->variable >= 0 ? fault->variable + 1 : inputs - fault->variable;
    return CellFault{column, row,
                     BadExpressionMessage(ruleBase_, row - 1, fault->variable, fault->reason)};
}

std::optional<std::string> RulesEditor::NormalizedText(int column, int row) const {
    if (column < 1 || column > grid_.InputCount() + 1 || !grid_.IsVariableColumn(column) ||
        !grid_.IsRuleRow(row))
        return std::nullopt;
    CFEParser& parser = ruleBase_.GetSettings(grid_.VariableIndexOfColumn(column)).Parser();
    const std::unique_ptr<ELingExpr> tree = parser.Parse(grid_.Cell(column, row));
    if (!tree)
        return std::nullopt;
    return tree->ToText();
}

int RulesEditor::AddRule(int top) {
    grid_.InsertRows(top, 1);
    return std::min(top + 1, grid_.RuleRowCount());
}

bool RulesEditor::DeleteRules(int top, int bottom) {
    return grid_.DeleteRows(top, bottom - top + 1);
}

std::string RulesEditor::CopyRows(int top, int bottom) const {
    std::string text;
    for (int row = std::max(top, 1); row <= std::min(bottom, grid_.RuleRowCount()); ++row)
        text += FormatRuleLine(grid_.RuleRow(row).cells);
    return text;
}

void RulesEditor::FillRow(int row, std::string_view line) {
    grid_.SetActive(row, true);
    const std::vector<std::string> fields = SplitRuleFields(line, grid_.VariableCount());
    for (std::size_t f = 0; f < fields.size(); ++f)
        grid_.SetCell(static_cast<int>(f) + 1, row, fields[f]);
}

std::optional<std::pair<int, int>> RulesEditor::PasteRows(std::string_view text, int top,
                                                          int bottom, bool replace) {
    const std::vector<std::string_view> lines = SplitRuleLines(text);
    const int count = static_cast<int>(lines.size());
    if (count == 0)
        return std::nullopt;
    // Replacing inserts before it deletes, so that pasting over every row leaves the pasted
    // rows alone rather than refusing to delete the last one.
    const int after = replace ? bottom : top;
    grid_.InsertRows(after, count);
    for (int i = 0; i < count; ++i)
        FillRow(after + 1 + i, lines[i]);
    if (!replace)
        return std::pair{top + 1, top + count};
    grid_.DeleteRows(top, bottom - top + 1);
    return std::pair{top, top + count - 1};
}

bool RulesEditor::DeleteEmptyRows() {
    bool changed = false;
    for (int row = grid_.RuleRowCount(); row >= 1; --row) {
        if (grid_.IsEmpty(row) && grid_.DeleteRows(row, 1))
            changed = true;
    }
    return changed;
}

std::pair<int, int> RulesEditor::DuplicateRows(int top, int bottom) {
    const std::string copies = CopyRows(top, bottom);
    return PasteRows(copies, bottom, bottom, false).value_or(std::pair{bottom, bottom});
}

bool RulesEditor::InvertSign(int top, int bottom) {
    bool changed = false;
    for (int column = 1; column <= grid_.VariableCount(); ++column) {
        const int variable = grid_.VariableIndexOfColumn(column);
        if (!(ruleBase_.GetLowerBound(variable) * ruleBase_.GetUpperBound(variable) < 0))
            continue;
        for (int row = std::max(top, 1); row <= std::min(bottom, grid_.RuleRowCount()); ++row) {
            const std::string& text = grid_.Cell(column, row);
            std::string inverted;
            if (!text.empty() && text.front() == '-')
                inverted = text.substr(1);
            else if (!text.empty() && text.front() == '+')
                inverted = "-" + text.substr(1);
            else
                inverted = "-" + text;
            if (!CheckText(column, inverted)) {
                grid_.SetCell(column, row, std::move(inverted));
                changed = true;
            }
        }
    }
    return changed;
}

std::optional<std::string> RulesEditor::WithWord(int column, const std::string& text,
                                                 const std::string& word) const {
    if (!grid_.IsVariableColumn(column))
        return std::nullopt;
    const auto* settings = dynamic_cast<const CBasicSettings*>(
        &ruleBase_.GetSettings(grid_.VariableIndexOfColumn(column)));
    if (!settings)
        return std::nullopt;
    std::string merged = settings->CombineExpressions(text, word);
    if (merged == text)
        return std::nullopt;
    return merged;
}

void RulesEditor::Sort(int column) {
    if (gridStale_)
        return;
    SortRulesByColumn(grid_, ruleBase_, column, [this, column](const std::string& text) {
        return !text.empty() && !CheckText(column, text);
    });
}

bool RulesEditor::DeleteDuplicateRules() {
    std::set<std::vector<std::string>> kept;
    std::vector<int> order;
    bool found = false;
    for (int row = 1; row <= grid_.RuleRowCount(); ++row) {
        if (grid_.IsComplete(row) && !kept.insert(grid_.RuleRow(row).cells).second) {
            found = true;
            continue;
        }
        order.push_back(row - 1);
    }
    if (!found)
        return false;
    grid_.Reorder(order);
    RunChecks();
    return true;
}

bool RulesEditor::DeleteRedundantRules(const std::function<void(int)>& step) {
    if (gridStale_)
        FillGrid();
    StoreGrid();
    const std::vector<int> rowOfRule = grid_.CompleteRows();
    std::vector<bool> redundant(grid_.RuleRowCount(), false);
    bool found = false;
    {
        const CRuleChecks checks(ruleBase_);
        for (int r = 0; r < checks.GetNumRules(); ++r) {
            if (step)
                step(r);
            if (checks.IsRedundantRule(r)) {
                redundant[rowOfRule[r] - 1] = true;
                found = true;
            }
        }
    }
    if (!found)
        return false;
    std::vector<int> order;
    for (int row = 0; row < grid_.RuleRowCount(); ++row) {
        if (!redundant[row])
            order.push_back(row);
    }
    grid_.Reorder(order);
    RunChecks();
    return true;
}

bool RulesEditor::MergeInconsistentRules() {
    if (gridStale_)
        FillGrid();
    StoreGrid();
    try {
        if (::MergeInconsistentRules(ruleBase_) == 0)
            return false;
    } catch (const ESyntaxRB&) {
        // Merged rules whose cells do not build are shown for correction.
    }
    FillGrid();
    RunChecks();
    return true;
}

void RulesEditor::RenameInSnapshots(int variable,
                                    const std::map<std::string, std::string>& renames) {
    const auto& settings = ruleBase_.GetVariable(variable).GetSettings();
    // Aliases share the language definition, and with it the names.
    std::vector<bool> renamed;
    for (int a = 0; a < ruleBase_.GetNumAntVariables(); ++a)
        renamed.push_back(ruleBase_.GetVariable(a).GetSettings() == settings);
    for (int s = 0; s < ruleBase_.GetNumSucVariables(); ++s)
        renamed.push_back(ruleBase_.GetVariable(-1 - s).GetSettings() == settings);
    undo_.RewriteRows([&](std::vector<std::string>& cells) {
        if (cells.size() != renamed.size())
            return;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            if (renamed[c])
                cells[c] = RenameUserTerms(*settings, cells[c], renames);
        }
    });
}

void RulesEditor::ResetUndo() {
    undo_.Clear();
    snapshotWidth_ = ruleBase_.GetNumAntVariables() + ruleBase_.GetNumSucVariables();
    undo_.Push(CurrentSnapshot());
}

void RulesEditor::DropSnapshotsOfOtherVariables() {
    const int width = ruleBase_.GetNumAntVariables() + ruleBase_.GetNumSucVariables();
    if (snapshotWidth_ == width)
        return;
    // Snapshots of other variables cannot be restored into these.
    undo_.Clear();
    snapshotWidth_ = width;
    undo_.Push(CurrentSnapshot());
}

void RulesEditor::PushUndoSnapshot(bool currentCellValid) {
    // Whatever the current cell holds: a variable added or deleted must never leave snapshots
    // that no longer fit the rules.
    DropSnapshotsOfOtherVariables();
    if (!currentCellValid || grid_.VariableCount() == 0)
        return;
    undo_.Push(CurrentSnapshot());
}

Rules RulesEditor::CurrentSnapshot() const {
    if (!gridStale_ && storedRevision_ != grid_.Revision() &&
        grid_.InputCount() == ruleBase_.GetNumAntVariables() &&
        grid_.OutputCount() == ruleBase_.GetNumSucVariables())
        return grid_.Snapshot();
    Rules snapshot;
    for (int r = 0; r < ruleBase_.GetNumRules(); ++r)
        snapshot.AddRule(CellsOfRule(ruleBase_, r));
    return snapshot;
}

void RulesEditor::ReplaceRules(const Rules& rules, bool refillGrid) {
    // Snapshots hold no active flags: a rule switched off stays off when it comes back.
    std::set<std::vector<std::string>> inactive;
    if (!gridStale_) {
        for (int row = 1; row <= grid_.RuleRowCount(); ++row) {
            if (!grid_.IsActive(row))
                inactive.insert(grid_.RuleRow(row).cells);
        }
    } else {
        for (int r = 0; r < ruleBase_.GetNumRules(); ++r) {
            if (!ruleBase_.IsRuleActive(r))
                inactive.insert(CellsOfRule(ruleBase_, r));
        }
    }
    static constexpr char kActive[] = "";
    const std::size_t cellCount =
        static_cast<std::size_t>(ruleBase_.GetNumAntVariables() + ruleBase_.GetNumSucVariables());
    std::vector<const char*> table;
    for (const Rule& row : rules) {
        if (row.cells.size() != cellCount)
            throw std::invalid_argument("a rule whose cells do not fit the variables");
        table.push_back(inactive.count(row.cells) ? nullptr : kActive);
        for (const std::string& cell : row.cells)
            table.push_back(cell.c_str());
    }
    try {
        ruleBase_.SetRules(table, static_cast<int>(rules.Size()));
        ruleBase_.Prepare();
    } catch (const ESyntaxRB&) {
        // Kept as typed; the cell check shows the failing cells once the grid is filled.
    }
    if (refillGrid) {
        FillGrid();
        RunChecks();
    } else {
        gridStale_ = true;
    }
}

bool RulesEditor::UndoRuleEdit(bool refillGrid) {
    DropSnapshotsOfOtherVariables();
    const std::optional<Rules> restore = undo_.Undo(CurrentSnapshot());
    if (!restore)
        return false;
    ReplaceRules(*restore, refillGrid);
    return true;
}

bool RulesEditor::RedoRuleEdit(bool refillGrid) {
    DropSnapshotsOfOtherVariables();
    const std::optional<Rules> restore = undo_.Redo(CurrentSnapshot());
    if (!restore)
        return false;
    ReplaceRules(*restore, refillGrid);
    return true;
}
