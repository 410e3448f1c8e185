#include "desktop/variables/VariableNumbers.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/lang/CFEParser.h"
#include "core/lang/CSettings.h"
#include "core/lang/ELingExpr.h"
#include "core/lang/UserTermWords.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/variables/ExprOperator.h"

namespace {

const std::string& CellText(const CRuleBase& ruleBase, int variable, int rule) {
    return variable >= 0 ? ruleBase.GetAntExpression(variable, rule)
                         : ruleBase.GetSucExpression(-1 - variable, rule);
}

// Columns count the inputs first, then the outputs, from 0.
int IndexOf(const CRuleBase& ruleBase, int column) {
    const int inputs = ruleBase.GetNumAntVariables();
    return column < inputs ? column : inputs - 1 - column;
}

std::size_t ColumnOf(const CRuleBase& ruleBase, int variable) {
    return static_cast<std::size_t>(variable >= 0 ? variable
                                                  : ruleBase.GetNumAntVariables() - 1 - variable);
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
    RuleCellTexts texts = CellTextsOf(ruleBase);
    for (std::string& text : texts[ColumnOf(ruleBase, variable)]) {
        if (const auto found = replacements.find(text); found != replacements.end())
            text = found->second;
    }
    RestoreCellTexts(ruleBase, texts);
}

RuleCellTexts CellTextsOf(const CRuleBase& ruleBase) {
    const int variables = ruleBase.GetNumAntVariables() + ruleBase.GetNumSucVariables();
    RuleCellTexts texts(static_cast<std::size_t>(variables));
    for (int column = 0; column < variables; ++column) {
        const int index = IndexOf(ruleBase, column);
        for (int r = 0; r < ruleBase.GetNumRules(); ++r)
            texts[column].push_back(CellText(ruleBase, index, r));
    }
    return texts;
}

bool RestoreCellTexts(CRuleBase& ruleBase, const RuleCellTexts& texts) {
    if (texts == CellTextsOf(ruleBase))
        return false;
    const int rules = ruleBase.GetNumRules();
    const auto columns = texts.size() + 1;
    std::vector<const char*> table(columns * rules);
    static constexpr char kActive[] = "";
    for (int r = 0; r < rules; ++r)
        table[r] = ruleBase.IsRuleActive(r) ? kActive : nullptr;
    for (std::size_t column = 1; column < columns; ++column) {
        for (int r = 0; r < rules; ++r)
            table[column * rules + r] = texts[column - 1][r].c_str();
    }
    ruleBase.SetRulesByColumns(table, rules);
    return true;
}

void RenameTermsInCells(CRuleBase& ruleBase, int variable,
                        const std::map<std::string, std::string>& renames) {
    const auto& settings = ruleBase.GetVariable(variable).GetSettings();
    RuleCellTexts texts = CellTextsOf(ruleBase);
    for (std::size_t column = 0; column < texts.size(); ++column) {
        if (ruleBase.GetVariable(IndexOf(ruleBase, static_cast<int>(column))).GetSettings() !=
            settings)
            continue;
        for (std::string& text : texts[column])
            text = RenameUserTerms(*settings, text, renames);
    }
    RestoreCellTexts(ruleBase, texts);
}
