#pragma once

class CRuleBase;

// Replaces every group of inconsistent rules (equal conditions, different conclusions) by one
// rule: the conditions of the group's last rule and the conclusion "about" the average typical
// value of the group's first-output expressions, in the output's context. The merged rules come
// first, one per group, then the other rules in their order; every rule is active afterwards.
// With more than one output, a merged rule keeps the other outputs of the group's last rule.
//
// Returns 1 when rules were merged, 0 when there was nothing to merge (the rule base is then
// untouched). The first output needs linguistic settings, and each conclusion must be an
// evaluative expression or "about" a number; otherwise ESyntax, before anything changes. The
// ESyntaxRB of preparing the new rules passes to the caller.
int MergeInconsistentRules(CRuleBase& ruleBase);
