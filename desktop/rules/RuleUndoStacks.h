#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/rulebase/Rules.h"

// The undo and redo stacks of one editor window: snapshots of the rules grid, each its complete
// rows in order (RulesGridModel::Snapshot). The top of the undo stack
// normally equals the current state, so undoing skips the snapshots equal to it.
class RuleUndoStacks {
  public:
    void Clear();
    // Pushes the snapshot unless it equals the top; a new state empties the redo stack.
    void Push(Rules snapshot);
    // The rules to restore for the grid's current state, or nothing when there is none. When
    // the undo stack runs empty, current becomes its only entry.
    std::optional<Rules> Undo(const Rules& current);
    // The rules to restore again after an undo, or nothing.
    std::optional<Rules> Redo(const Rules& current);

    // Every row of every snapshot through rewrite, for a change that the rules follow but undo
    // must not take back (renamed user expressions).
    void RewriteRows(const std::function<void(std::vector<std::string>& cells)>& rewrite);

    std::size_t UndoDepth() const { return undo_.size(); }
    std::size_t RedoDepth() const { return redo_.size(); }

    // Same rows in the same order.
    static bool Equal(const Rules& a, const Rules& b);

  private:
    std::vector<Rules> undo_;
    std::vector<Rules> redo_;
};
