#pragma once

#include <string>

class CRuleBase;

// The fired-rules list of the last inference: "Number of fired rules: " and the count, then one
// line per fired rule, "Rule 3: a & b --> c & d", with the cells as written. Lines end in "\n"
// except the last.
std::string FiredRulesText(const CRuleBase& ruleBase);
