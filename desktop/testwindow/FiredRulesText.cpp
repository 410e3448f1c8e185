#include "desktop/testwindow/FiredRulesText.h"

#include "core/rulebase/CRuleBase.h"

std::string FiredRulesText(const CRuleBase& ruleBase) {
    std::string text = "Number of fired rules: " + std::to_string(ruleBase.GetFiredCount());
    const int inputs = ruleBase.GetNumAntVariables();
    const int outputs = ruleBase.GetNumSucVariables();
    const int rules = static_cast<int>(ruleBase.GetFiredFlags().size());
    for (int r = 0; r < rules; ++r) {
        if (!ruleBase.IsRuleFired(r))
            continue;
        text += "\nRule " + std::to_string(r + 1) + ": ";
        for (int v = 0; v < inputs; ++v) {
            if (v > 0)
                text += " & ";
            text += ruleBase.GetAntExpression(v, r);
        }
        text += " --> ";
        for (int v = 0; v < outputs; ++v) {
            if (v > 0)
                text += " & ";
            text += ruleBase.GetSucExpression(v, r);
        }
    }
    return text;
}
