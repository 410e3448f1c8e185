#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

// One rule as the texts of its cells (antecedents first, then succedents) and the number of
// times it was added to a set with the duplicate check.
struct Rule {
    std::vector<std::string> cells;
    int count = 1;

    friend bool operator==(const Rule&, const Rule&) = default;
};

using RuleVector = std::vector<Rule>;

// An ordered set of rules. With the duplicate check a row equal to a stored one (same number of
// cells, every text equal) raises that row's count instead of being stored again.
class Rules {
  public:
    explicit Rules(bool duplicateCheck = false) : duplicateCheck_(duplicateCheck) {}

    // True when the row was appended; false when it only raised the count of an equal row.
    bool AddRule(std::vector<std::string> cells);

    bool HasDuplicateCheck() const { return duplicateCheck_; }
    std::size_t Size() const { return rows_.size(); }
    bool Empty() const { return rows_.empty(); }
    const Rule& operator[](std::size_t i) const { return rows_[i]; }
    const RuleVector& Rows() const { return rows_; }
    RuleVector::const_iterator begin() const { return rows_.begin(); }
    RuleVector::const_iterator end() const { return rows_.end(); }

  private:
    RuleVector rows_;
    bool duplicateCheck_;
    // Rows by the hash of their cells, kept only with the duplicate check, so that filling a set
    // with thousands of learned rules does not compare every row with every other.
    std::unordered_multimap<std::size_t, std::size_t> rowsByHash_;
};

// Writes one line per row: each cell followed by a TAB, then the count. The file is replaced
// whole or not at all; throws ESyntax when it cannot be written (see ReplaceFileText).
void WriteRuleSetFile(const Rules& rules, const std::string& fileName);
