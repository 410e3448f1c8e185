#pragma once

#include <optional>
#include <string>

#include "core/text/ESyntax.h"

class CRuleBase;

// A rule cell that a rulebase file cannot carry: rule and signed variable index of the rule
// base, and why the rulebase reader would refuse the whole file for it ("atomic term expected").
struct RuleCellFault {
    int rule = 0;
    int variable = 0;
    std::string reason;
};

// The reader's error for text as a cell of the variable, as opening a file that holds it would
// report it; nothing when the cell builds.
std::optional<ESyntax> CellBuildError(const CRuleBase& ruleBase, int variable,
                                      const std::string& text);

// "bad expression in rule <rule + 1>, variable <name>: <reason>".
std::string BadExpressionMessage(const CRuleBase& ruleBase, int rule, int variable,
                                 const std::string& reason);

// The first cell that does not build, rules in order and in each the inputs, then the outputs,
// as the reader reports them. Prepares the rule base.
std::optional<RuleCellFault> FirstCellThatDoesNotBuild(CRuleBase& ruleBase);
