#include "desktop/rules/RuleUndoStacks.h"

#include <utility>

void RuleUndoStacks::Clear() {
    undo_.clear();
    redo_.clear();
}

void RuleUndoStacks::Push(Rules snapshot) {
    if (undo_.empty()) {
        undo_.push_back(std::move(snapshot));
        return;
    }
    if (Equal(undo_.back(), snapshot))
        return;
    undo_.push_back(std::move(snapshot));
    redo_.clear();
}

std::optional<Rules> RuleUndoStacks::Undo(const Rules& current) {
    std::optional<Rules> restore;
    while (!undo_.empty()) {
        if (!Equal(undo_.back(), current)) {
            restore = undo_.back();
            break;
        }
        redo_.push_back(std::move(undo_.back()));
        undo_.pop_back();
    }
    if (undo_.empty())
        undo_.push_back(current);
    return restore;
}

std::optional<Rules> RuleUndoStacks::Redo(const Rules& current) {
    while (!redo_.empty()) {
        Rules top = std::move(redo_.back());
        redo_.pop_back();
        if (undo_.empty() || !Equal(top, undo_.back()))
            undo_.push_back(top);
        if (!Equal(top, current))
            return top;
    }
    return std::nullopt;
}

bool RuleUndoStacks::Equal(const Rules& a, const Rules& b) {
    if (a.Size() != b.Size())
        return false;
    for (std::size_t i = 0; i < a.Size(); ++i) {
        if (a[i].cells != b[i].cells)
            return false;
    }
    return true;
}

void RuleUndoStacks::RewriteRows(
    const std::function<void(std::vector<std::string>& cells)>& rewrite) {
    for (std::vector<Rules>* stack : {&undo_, &redo_}) {
        for (Rules& snapshot : *stack) {
            Rules rewritten(snapshot.HasDuplicateCheck());
            for (const Rule& row : snapshot) {
                std::vector<std::string> cells = row.cells;
                rewrite(cells);
                rewritten.AddRule(std::move(cells));
            }
            snapshot = std::move(rewritten);
        }
    }
}
