#pragma once

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

class CRuleBase;
class ExprOperator;

// The numbers written in one variable's rule cells (crisp numbers and "about" numbers), as the
// variable dialog looks at them when the variable's bounds change. variable is the rule base's
// signed index. Cells that do not parse are left out.

// True when the variable takes linear combinations, or some cell is a number.
bool RulesUseNumbers(const CRuleBase& ruleBase, int variable);
// True when some cell holds a number outside [low, high].
bool SomeNumberOutside(const CRuleBase& ruleBase, int variable, double low, double high);
// Applies op to every number of the variable's cells, each distinct text once, and writes the
// new texts back. Active flags stay. The rule base is not prepared: the caller sets the new
// bounds first, then prepares.
void ApplyToNumbers(CRuleBase& ruleBase, int variable, const ExprOperator& op);

// Every cell of the variable whose text is a key gets the mapped text; active flags stay. The
// rule base is not prepared.
void ReplaceCellTexts(CRuleBase& ruleBase, int variable,
                      const std::unordered_map<std::string, std::string>& replacements);

// Every cell text of every variable, inputs first, then outputs, rule by rule.
using RuleCellTexts = std::vector<std::vector<std::string>>;
RuleCellTexts CellTextsOf(const CRuleBase& ruleBase);
// Puts texts taken by CellTextsOf back; false when they are the texts already. Active flags stay;
// the rule base is not prepared.
bool RestoreCellTexts(CRuleBase& ruleBase, const RuleCellTexts& texts);

// Renames user terms in the cells of every variable that shares the variable's language
// definition: each use of a key as a term, found as the expression parser reads the cell
// before the terms themselves are renamed, gets the mapped name. Active flags stay; the rule
// base is not prepared.
void RenameTermsInCells(CRuleBase& ruleBase, int variable,
                        const std::map<std::string, std::string>& renames);
