#pragma once

#include <memory>
#include <vector>

#include "core/containers/CArray.h"
#include "core/lang/CLingTerm.h"

class CRuleBase;

// The relation between two rules that CompareRules and FindRuleGroups look for. The rules grid
// shows kIdentical in its "Group" column and kInconsistent in its "Inconsistency" column. Any
// other value relates every pair.
enum class CheckMode : int {
    kDifferentEverywhere = -1,  // different conditions and conclusions
    kIdentical = 0,             // same conditions, same conclusions
    kInconsistent = 1,          // same conditions, different conclusions
    kSameConclusion = 2,        // different conditions, same conclusions
};

// The checks of a rule base's rules: identical, inconsistent and redundant rules.
//
// Cells are compared as evaluative expressions, not as texts. Every distinct cell is converted
// to its term once, when the object is made, so that the checks and any number of comparisons
// parse nothing: make one object per run of checks over an unchanged rule base, and a new one
// after any edit. The object keeps no reference to the rule base.
//
// Rules are numbered from 0 in the rule base's order; variables use the rule base's signed
// index (i >= 0 antecedent i, i < 0 succedent -1 - i). Functions taking indices throw
// std::out_of_range for an index that names no rule or variable.
class CRuleChecks {
  public:
    // Results of CompareCells.
    static constexpr int kEqual = 0;
    static constexpr int kNarrower = 1;
    static constexpr int kWider = 2;
    static constexpr int kNotComparable = 100;
    static constexpr int kNotExpression = -1;

    // CRuleChecks::kIdentical and the other modes.
    using enum CheckMode;

    explicit CRuleChecks(const CRuleBase& ruleBase);

    int GetNumRules() const { return ruleCount_; }

    // The cell of variable varA in rule ruleA against that of varB in ruleB: kEqual, kNarrower
    // (the first is more specific), kWider, kNotComparable (different atomic terms, signs or
    // kinds, or equal hedge ranks) or kNotExpression (a cell does not convert). Only "small",
    // "medium" and "big" compare by hedge; every other kind of cell, and every cell of a
    // linear-combination variable, is equal to a cell of the same text and not comparable to
    // any other.
    int CompareCells(int varA, int ruleA, int varB, int ruleB) const;
    // 0 when rules a and b stand in the relation named by mode, -1 otherwise. A cell that does not
    // convert counts as a difference, even against the same text.
    int CompareRules(int a, int b, CheckMode mode) const;
    // The antecedent cells of two rules taken together: kEqual when all are equal, kNarrower
    // when a is narrower wherever the two differ, kWider when a is wider wherever they differ,
    // kNotComparable otherwise.
    int CompareAntecedents(int a, int b) const;

    // Each returns groups of at least two rule indices, or null when it finds none.
    //
    // Groups of rules related by mode to the group's first rule, in the order of their first
    // rules; a rule belongs to at most one group.
    std::unique_ptr<CIntPtrArray> FindRuleGroups(CheckMode mode) const;
    // Among the inconsistent rules, those whose first conclusions share atomic term and sign
    // and differ in the hedge; the rule with the simplest conclusion comes first.
    std::unique_ptr<CIntPtrArray> FindRedundantSucRules() const;
    // For each rule that rules with the same conclusions but wider conditions cover: the rule,
    // then its covering rules. A rule can head one group and appear in others.
    std::unique_ptr<CIntPtrArray> FindRedundantAntRules() const;
    // True when another rule with the same first-conclusion text has wider conditions. False
    // for any r when there are no rules.
    bool IsRedundantRule(int r) const;

  private:
    // What CompareSpecificity reads of a class of equal cells, packed for the comparison loops:
    // one group per atomic term and sign (-1 for the kinds that compare as texts) and the
    // hedge's rank.
    struct Specificity {
        int group;
        int rank;
    };
    using Groups = std::vector<std::vector<int>>;

    int ColumnOf(int variable) const;
    void CheckRule(int r) const;
    int ClassOf(int r, int column) const { return cellClasses_[r * columnCount_ + column]; }
    int CompareClasses(int a, int b) const;
    int CompareAntecedentsUnchecked(int a, int b) const;
    bool Related(int a, int b, CheckMode mode) const;
    Groups Group(CheckMode mode) const;
    static std::unique_ptr<CIntPtrArray> ToResult(const Groups& groups);

    int ruleCount_ = 0;
    int antecedentCount_ = 0;
    int succedentCount_ = 0;
    int columnCount_ = 0;
    // Per class of equal cells: the term of its cells and its specificity.
    std::vector<CLingTerm> terms_;
    std::vector<Specificity> specificity_;
    // Per rule, the classes of its antecedents, then of its succedents; kNotExpression for a
    // cell that does not convert.
    std::vector<int> cellClasses_;
    // Per rule, one id per distinct row of antecedent classes (and of succedent classes), so
    // that comparing two rules' sides is one comparison; -1 when a cell of the side failed.
    std::vector<int> antecedentKeys_;
    std::vector<int> succedentKeys_;
    // Per rule, one id per distinct text of its first succedent cell; and the rules of each id.
    std::vector<int> conclusionTexts_;
    std::vector<std::vector<int>> rulesByConclusion_;
};
