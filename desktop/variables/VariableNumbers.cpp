#include "desktop/variables/VariableNumbers.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/lang/CFEParser.h"
#include "core/lang/CSettings.h"
#include "core/lang/ELingExpr.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/variables/ExprOperator.h"

namespace {

const std::string& CellText(const CRuleBase& ruleBase, int variable, int rule) {
    return variable >= 0 ? ruleBase.GetAntExpression(variable, rule)
                         : ruleBase.GetSucExpression(-1 - variable, rule);
}

bool IsNumber(const ELingExpr& expression) {
    return expression.Kind() == ELingExpr::kSingleton ||
           expression.Kind() == ELingExpr::kFuzzyNumber;
}

// Calls visit(text, tree) once per distinct cell text that parses; stops when visit says so.
template <class Visit>
void ForEachParsedCell(const CRuleBase& ruleBase, int variable, Visit visit) {
    CFEParser& parser = ruleBase.GetSettings(variable).Parser();
    std::unordered_map<std::string, bool> seen;
    for (int r = 0; r < ruleBase.GetNumRules(); ++r) {
        const std::string& text = CellText(ruleBase, variable, r);
        if (!seen.emplace(text, true).second)
            continue;
        std::unique_ptr<ELingExpr> tree = parser.Parse(text);
        if (tree && !visit(text, *tree))
            return;
    }
}

}  // namespace

bool RulesUseNumbers(const CRuleBase& ruleBase, int variable) {
    if (ruleBase.GetSettings(variable).IsLinearCombination())
        return true;
    bool found = false;
    ForEachParsedCell(ruleBase, variable, [&](const std::string&, const ELingExpr& tree) {
        found = IsNumber(tree);
        return !found;
    });
    return found;
}

bool SomeNumberOutside(const CRuleBase& ruleBase, int variable, double low, double high) {
    bool found = false;
    ForEachParsedCell(ruleBase, variable, [&](const std::string&, const ELingExpr& tree) {
        found = !tree.IsInRange(low, high);
        return !found;
    });
    return found;
}

void ApplyToNumbers(CRuleBase& ruleBase, int variable, const ExprOperator& op) {
    std::unordered_map<std::string, std::string> replaced;
    CFEParser& parser = ruleBase.GetSettings(variable).Parser();
    const int rules = ruleBase.GetNumRules();
    for (int r = 0; r < rules; ++r) {
        const std::string& text = CellText(ruleBase, variable, r);
        if (replaced.count(text))
            continue;
        std::unique_ptr<ELingExpr> tree = parser.Parse(text);
        if (tree && IsNumber(*tree)) {
            op(*tree);
            replaced.emplace(text, tree->ToText());
        } else {
            replaced.emplace(text, text);
        }
    }

    ReplaceCellTexts(ruleBase, variable, replaced);
}

void ReplaceCellTexts(CRuleBase& ruleBase, int variable,
                      const std::unordered_map<std::string, std::string>& replacements) {
    const int rules = ruleBase.GetNumRules();
    const int inputs = ruleBase.GetNumAntVariables();
    const int columns = 1 + inputs + ruleBase.GetNumSucVariables();
    std::vector<std::string> texts(static_cast<std::size_t>(columns - 1) * rules);
    std::vector<const char*> table(static_cast<std::size_t>(columns) * rules);
    static constexpr char kActive[] = "";
    for (int r = 0; r < rules; ++r)
        table[r] = ruleBase.IsRuleActive(r) ? kActive : nullptr;
    for (int column = 1; column < columns; ++column) {
        const int index = column <= inputs ? column - 1 : inputs - column;
        for (int r = 0; r < rules; ++r) {
            std::string& text = texts[static_cast<std::size_t>(column - 1) * rules + r];
            text = CellText(ruleBase, index, r);
            if (index == variable) {
                if (const auto found = replacements.find(text); found != replacements.end())
                    text = found->second;
            }
            table[static_cast<std::size_t>(column) * rules + r] = text.c_str();
        }
    }
    ruleBase.SetRulesByColumns(table, rules);
}