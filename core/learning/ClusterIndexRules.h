#pragma once

#include <cstddef>
#include <iosfwd>
#include <list>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class Rules;

// The number after the last '_' of a cell ("p3_5" gives 5), or of the whole cell without one.
int CellTermNumber(std::string_view cell);
// The number from the second character up to the last '_' ("p3_5" gives 3), or to the end
// without one. Both read an optional sign and the leading digits; no digits give 0.
int CellPrefixNumber(std::string_view cell);

// A rule as the term numbers of its cells; the last one is the output's.
struct IndexRule {
    std::vector<int> indices;
};

// One cluster of rules, members in the order they joined. A cluster that was merged into an
// earlier one stays behind empty.
struct IndexRules {
    std::list<IndexRule> members;
};

// Rules whose cells name numbered terms, grouped into clusters of rules that share the output
// term and reach each other by steps of one term in one antecedent.
class ClusterIndexRules {
  public:
    int VariableCount() const { return variableCount_; }
    // In creation order, the emptied ones included.
    const std::vector<IndexRules>& Clusters() const { return clusters_; }
    const std::vector<int>& Prefixes() const { return prefixes_; }
    // Per variable, the range terms "t_lo_hi" that the clusters introduce, in ascending order.
    const std::vector<std::set<std::string>>& NewTerms() const { return newTerms_; }

    // Per variable: "p" prefix "_" term when every member has the same term, else "t_lo_hi".
    // The cluster must not be empty.
    std::vector<std::string> ClusterNames(const IndexRules& cluster) const;

  private:
    friend void ApproxLearnRules(ClusterIndexRules& learner, const Rules& rules);

    int variableCount_ = 0;
    std::vector<IndexRules> clusters_;
    std::vector<int> prefixes_;
    std::vector<std::set<std::string>> newTerms_;
};

// Replaces the learner's content by the clusters of the rule set; the prefixes come from its
// first row, and an empty set gives an empty learner. Throws std::invalid_argument when the rows
// differ in their number of cells.
void ApproxLearnRules(ClusterIndexRules& learner, const Rules& rules);

// One line of quoted, TAB-ended names per non-empty cluster, each followed by an empty line,
// then "new terms:" and one line "var i:" per variable listing its new terms.
std::ostream& PrintLearnedTerms(std::ostream& out, const ClusterIndexRules& learner);
