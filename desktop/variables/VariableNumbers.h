#pragma once

#include <string>
#include <unordered_map>

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
