#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/text/ESyntax.h"
#include "desktop/rules/RuleCheckAnnotations.h"
#include "desktop/rules/RuleUndoStacks.h"
#include "desktop/rules/RulesGridModel.h"

class CRuleBase;

// The rules page of a rule-base editor without its widgets: the grid's working copy of the
// rules, its storing into the rule base, the check columns, sorting, the clipboard, the row
// commands, word insertion and undo. Rows and columns are grid coordinates (see RulesGridModel).
//
// The rule base is borrowed and must outlive this object. Storing and the checks are skipped
// while nothing changed since they last ran, so that a cell move costs nothing unless the cell
// was edited.
class RulesEditor {
  public:
    explicit RulesEditor(CRuleBase& ruleBase);

    RulesGridModel& Grid() { return grid_; }
    const RulesGridModel& Grid() const { return grid_; }
    CRuleBase& RuleBase() { return ruleBase_; }
    const CRuleBase& RuleBase() const { return ruleBase_; }

    // The grid from the rule base, check columns empty; one empty row when there are no rules.
    void FillGrid();
    // The rule base was changed elsewhere (variables, methods of learning): the grid no longer
    // matches it and is not stored until it is filled again.
    void RuleBaseChanged() { gridStale_ = true; }
    // The complete rows into the rule base, when the grid changed since the rule base last
    // matched it. Cells that do not build stay in the grid for correction; the rule base then
    // holds them unbuilt, as after reading such a file.
    void StoreGrid();

    // Store, then the check columns; cheap while neither grid nor shown columns changed.
    void RunChecks();
    const ShownChecks& Shown() const { return shown_; }
    // Raised whenever the check columns were written anew.
    std::uint64_t ChecksRun() const { return checksRun_; }
    void SetShown(int check, bool shown);

    // The one check of a rules cell: what the rulebase reader says of the text as a cell of the
    // column's variable (its reason, and where the text goes wrong). Nothing for a text the
    // reader builds, and for an empty one, which only leaves its row incomplete.
    std::optional<ESyntax> CheckText(int column, const std::string& text) const;
    std::optional<ESyntax> CheckCell(int column, int row) const;

    // A cell that keeps the rules from a rulebase file, in grid coordinates, and what is wrong
    // with it, naming its rule (the row's number) and its variable.
    struct CellFault {
        int column = 0;
        int row = 0;
        std::string message;
    };
    // The check error of text in the cell as a fault; nothing for a valid or empty text.
    std::optional<CellFault> CellFaultAt(int column, int row, const std::string& text) const;
    // The first empty cell, row by row, of a row that is not complete.
    std::optional<CellFault> FirstIncompleteCell() const;
    // The first cell of the rule base that the rulebase reader would refuse, with the row that
    // shows its rule.
    std::optional<CellFault> FirstCellThatDoesNotBuild();
    // The cell's expression in normalised long form, for hints over input columns and the first
    // output column; nothing when it does not parse.
    std::optional<std::string> NormalizedText(int column, int row) const;

    // Commands over rule rows top..bottom (grid rows, top <= bottom). Each returns whether the
    // grid changed.
    // One empty active row after top; returns its row.
    int AddRule(int top);
    bool DeleteRules(int top, int bottom);
    // Each cell followed by ";", each row by CR LF.
    std::string CopyRows(int top, int bottom) const;
    // The pasted lines replace rows top..bottom (replace) or go in after top; returns the first
    // and last row filled, or nothing when the text holds no line.
    std::optional<std::pair<int, int>> PasteRows(std::string_view text, int top, int bottom,
                                                 bool replace);
    bool DeleteEmptyRows();
    // Copies of the rows right after bottom; returns the rows of the copies.
    std::pair<int, int> DuplicateRows(int top, int bottom);
    // "-" in front, removed, or in place of "+", in every cell of a variable whose context
    // holds both signs, where the variable accepts the new text.
    bool InvertSign(int top, int bottom);
    // A cell's text merged with a clicked word ("ro" on "ve sm" gives "ro sm"); nothing when the
    // text would stay as it is.
    std::optional<std::string> WithWord(int column, const std::string& text,
                                        const std::string& word) const;
    void Sort(int column);

    // Commands on the whole rule base; each returns whether the rules changed and leaves the
    // grid filled from the rule base. Rows must be complete (AllRulesComplete) before these.
    bool DeleteDuplicateRules();
    // step(r) is called before rule r is tested.
    bool DeleteRedundantRules(const std::function<void(int)>& step = {});
    // The core's merge; ESyntax, before anything changes, for conclusions it cannot average.
    bool MergeInconsistentRules();

    // Undo and redo of the rules. PushUndoSnapshot is called after every change; the caller
    // gives whether the current cell is non-empty and valid (otherwise nothing is kept).
    void ResetUndo();
    void PushUndoSnapshot(bool currentCellValid);
    // True when the rule base's rules changed. With refillGrid the grid is filled again and
    // checked; otherwise it is left as it is until the rules page is shown.
    bool UndoRuleEdit(bool refillGrid);
    bool RedoRuleEdit(bool refillGrid);
    const RuleUndoStacks& UndoStacks() const { return undo_; }
    // User expressions of the variable were renamed in the rules; the snapshots follow, so that
    // undo never brings back a name that no longer exists.
    void RenameInSnapshots(int variable, const std::map<std::string, std::string>& renames);

  private:
    void FillRow(int row, std::string_view line);
    void ReplaceRules(const Rules& rules, bool refillGrid);
    // Empties the stacks, keeping the rules as they are, when the variables changed in number.
    void DropSnapshotsOfOtherVariables();
    // The grid's complete rows; the rule base's rules while the grid is unchanged since it
    // matched them, so that changes made to the rule base elsewhere count.
    Rules CurrentSnapshot() const;

    CRuleBase& ruleBase_;
    RulesGridModel grid_;
    RuleUndoStacks undo_;
    ShownChecks shown_{true, true, true, true};
    // Cells per rule of the snapshots on the stacks.
    int snapshotWidth_ = -1;
    bool gridStale_ = true;
    // Grid revisions at the last store and the last run of checks; none before the first.
    std::optional<std::uint64_t> storedRevision_;
    std::optional<std::uint64_t> checkedRevision_;
    std::uint64_t checksRun_ = 0;
};
