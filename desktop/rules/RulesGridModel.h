#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class CRuleBase;
class Rules;

// The rules grid as plain data: the working copy of a rule base's rules that the user edits.
//
// Coordinates are those of the grid: row 0 is the header, rows 1..n the rules; column 0 the rule
// number, then one column per input variable, one per output variable, then the four check
// columns. Every change of rows, cells or active flags raises the revision, so that callers can
// tell whether the rule base or the check columns still agree with the grid.
class RulesGridModel {
  public:
    static constexpr int kCheckColumnCount = 4;
    // Sort key of a check cell without annotation.
    static constexpr int kNoSortKey = 2147483647;
    enum CheckColumn { kGroup = 0, kInconsistency = 1, kRedundantSuc = 2, kRedundantAnt = 3 };
    static constexpr std::array<const char*, kCheckColumnCount> kCheckHeaders = {
        "Group", "Inconsistency", "Redundant suc", "Redundant ant"};

    struct Row {
        bool active = true;
        // Inputs in index order, then outputs.
        std::vector<std::string> cells;
        std::array<std::string, kCheckColumnCount> checkTexts;
        std::array<int, kCheckColumnCount> checkKeys{kNoSortKey, kNoSortKey, kNoSortKey,
                                                     kNoSortKey};
    };

    RulesGridModel() = default;

    // Variables and rules of the rule base; the check cells are emptied.
    void Fill(const CRuleBase& ruleBase);
    // Replaces the rule base's rules by the complete rows, in grid order, with their active
    // flags, and prepares it. Prepare's ESyntaxRB passes (the rules are replaced by then).
    void Store(CRuleBase& ruleBase) const;
    // The complete rows in order, equal rows included: what undo keeps.
    Rules Snapshot() const;

    int InputCount() const { return static_cast<int>(inputNames_.size()); }
    int OutputCount() const { return static_cast<int>(outputNames_.size()); }
    int VariableCount() const { return InputCount() + OutputCount(); }
    int ColumnCount() const { return VariableCount() + 1 + kCheckColumnCount; }
    int RowCount() const { return RuleRowCount() + 1; }
    int RuleRowCount() const { return static_cast<int>(rows_.size()); }

    bool IsVariableColumn(int column) const { return column >= 1 && column <= VariableCount(); }
    bool IsCheckColumn(int column) const {
        return column > VariableCount() && column < ColumnCount();
    }
    bool IsRuleRow(int row) const { return row >= 1 && row <= RuleRowCount(); }
    int FirstCheckColumn() const { return VariableCount() + 1; }
    // The signed rule-base index of the variable of a variable column.
    int VariableIndexOfColumn(int column) const {
        return column <= InputCount() ? column - 1 : InputCount() - column;
    }

    // Any cell as the grid shows it: headers, number texts, variable and check cells.
    std::string Text(int column, int row) const;
    const std::string& Header(int column) const;
    // The rule-form label: inputs joined by " && ", " --> ", outputs joined by " && ".
    std::string RuleForm() const;
    static std::string NumberText(int row) { return std::to_string(row) + "."; }

    const Row& RuleRow(int row) const { return rows_[row - 1]; }
    const std::string& Cell(int column, int row) const { return rows_[row - 1].cells[column - 1]; }
    void SetCell(int column, int row, std::string text);
    bool IsActive(int row) const { return rows_[row - 1].active; }
    void SetActive(int row, bool active);
    int SortKey(int column, int row) const {
        return rows_[row - 1].checkKeys[column - FirstCheckColumn()];
    }

    // Every variable cell filled.
    bool IsComplete(int row) const;
    // Every variable cell empty.
    bool IsEmpty(int row) const;
    // The grid rows of the complete rows, in order: rule k of a stored rule base is row k.
    std::vector<int> CompleteRows() const;

    // n empty active rows after row after (0 puts them first).
    void InsertRows(int after, int count);
    // Rows from..from+count-1; refused (false, nothing changes) when no rule row would remain.
    bool DeleteRows(int from, int count);
    // The rule rows in a new order: order[i] is the old 0-based rule row that becomes row i + 1.
    void Reorder(const std::vector<int>& order);

    void ClearChecks();
    // Appends to a check cell and sets its key.
    void AppendCheck(int check, int row, const std::string& text, int key);

    std::uint64_t Revision() const { return revision_; }

  private:
    std::vector<std::string> inputNames_;
    std::vector<std::string> outputNames_;
    std::vector<Row> rows_;
    std::uint64_t revision_ = 0;
};
