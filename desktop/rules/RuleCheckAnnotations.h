#pragma once

#include <array>

#include "desktop/rules/RulesGridModel.h"

class CRuleBase;

// Which of the four check columns are shown, by RulesGridModel::CheckColumn.
using ShownChecks = std::array<bool, RulesGridModel::kCheckColumnCount>;

// Writes the results of the rule-base checks into the grid's check columns: identical rules
// ("same as"), inconsistent rules ("with"), redundant conclusions ("with") and covered conditions
// ("wrt"), each naming the other rows by their numbers, with the sort keys of the columns.
// Hidden columns stay empty. The rule base must hold the grid's complete rows (Store), so that
// rule k is the k-th complete row.
void AnnotateRuleChecks(RulesGridModel& grid, const CRuleBase& ruleBase, const ShownChecks& shown);
