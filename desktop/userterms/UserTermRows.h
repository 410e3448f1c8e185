#pragma once

#include <QString>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/lang/CNamedElement.h"
#include "desktop/userterms/UserTermCells.h"

class CBasicSettings;

// The user-expressions editor's working copy of a variable's user terms: one row per term, its
// parameters as numbers; the grid only shows it. A row loaded from the variable remembers which
// term it was, so that OK can carry a new name into the rules and keep the term's short forms.
class UserTermRows {
  public:
    // One row per term, its parameters as the editor shows them (three significant digits).
    void Load(const CBasicSettings& settings);

    int Count() const { return static_cast<int>(rows_.size()); }
    userterm::TermRow& operator[](int index) { return rows_[static_cast<std::size_t>(index)]; }
    const userterm::TermRow& operator[](int index) const {
        return rows_[static_cast<std::size_t>(index)];
    }
    void Insert(int at, userterm::TermRow row);
    void Remove(int at);

    bool HasName(const QString& name) const;
    // The names under which the rules may hold the row's term: a loaded row's names as they were
    // loaded, else its name.
    std::vector<QString> NamesInRules(int index) const;
    // The loaded terms whose row now has another name: old name to new.
    std::map<std::string, std::string> Renames() const;
    // The terms the rows stand for, in row order, on [lo, hi]; rows of no known shape are left
    // out. A loaded row keeps its term's short forms.
    std::vector<std::unique_ptr<CNamedTerm>> Terms(double lo, double hi) const;

  private:
    std::vector<userterm::TermRow> rows_;
    // The names of each loaded term, the full name first.
    std::vector<std::vector<std::string>> loadedNames_;
};
