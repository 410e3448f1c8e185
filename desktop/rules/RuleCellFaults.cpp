#include "desktop/rules/RuleCellFaults.h"

#include <exception>
#include <memory>

#include "core/lang/CSettings.h"
#include "core/rulebase/CFuzValue.h"
#include "core/rulebase/CLinCValue.h"
#include "core/rulebase/CRuleBase.h"

std::optional<ESyntax> CellBuildError(const CRuleBase& ruleBase, int variable,
                                      const std::string& text) {
    // A value of its own, made as the rule base makes the values of its cells, so that the
    // rule base's shared values stay as they are.
    std::unique_ptr<CValue> value;
    if (variable < 0 && ruleBase.GetSettings(variable).IsLinearCombination())
        value = std::make_unique<CLinCValue>(text, variable, ruleBase.GetNumAntVariables());
    else
        value = std::make_unique<CFuzValue>(text, variable);
    try {
        value->Build(ruleBase);
    } catch (const ESyntax& error) {
        return error;
    } catch (const std::exception& error) {
        return ESyntax(error.what(), 0, text);
    }
    return std::nullopt;
}

std::string BadExpressionMessage(const CRuleBase& ruleBase, int rule, int variable,
                                 const std::string& reason) {
    return "bad expression in rule " + std::to_string(rule + 1) + ", variable " +
           ruleBase.GetVariableName(variable) + ": " + reason;
}

std::optional<RuleCellFault> FirstCellThatDoesNotBuild(CRuleBase& ruleBase) {
    try {
        ruleBase.Prepare();
        return std::nullopt;
    } catch (const ESyntaxRB& failure) {
        const int inputs = ruleBase.GetNumAntVariables();
        const int outputs = ruleBase.GetNumSucVariables();
        for (int r = 0; r < ruleBase.GetNumRules(); ++r) {
            for (int v = 0; v < inputs + outputs; ++v) {
                const bool failed = v < inputs
                                        ? failure.AntecedentErrors()[r * inputs + v] != 0
                                        : failure.SuccedentErrors()[r * outputs + v - inputs] != 0;
                if (!failed)
                    continue;
                const int variable = v < inputs ? v : inputs - 1 - v;
                const std::string& text = v < inputs ? ruleBase.GetAntExpression(v, r)
                                                     : ruleBase.GetSucExpression(v - inputs, r);
                const std::optional<ESyntax> error = CellBuildError(ruleBase, variable, text);
                return RuleCellFault{r, variable,
                                     error ? error->Message() : std::string("it does not build")};
            }
        }
        return std::nullopt;
    }
}
