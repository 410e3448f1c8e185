#include "desktop/data/DataLearning.h"

#include <algorithm>
#include <sstream>
#include <unordered_set>

#include "core/lang/CBasicSettings.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/learning/ClusterIndexRules.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"
#include "desktop/data/DataRows.h"

namespace {

constexpr int kRowsPerStep = 1024;

// The settings of variable column k (0-based over inputs, then outputs).
int VariableOfColumn(const CRuleBase& ruleBase, int k) {
    return k < ruleBase.GetNumAntVariables() ? k : -1;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        at = end + 1;
    }
    return lines;
}

}  // namespace

std::optional<std::vector<std::string>> MakeRuleForDataRow(const CRuleBase& ruleBase,
                                                           std::span<const double> values,
                                                           bool describe) {
    std::vector<std::string> row;
    for (int k = 0; k < static_cast<int>(values.size()); ++k) {
        const auto* settings = dynamic_cast<const CBasicSettings*>(
            &ruleBase.GetSettings(VariableOfColumn(ruleBase, k)));
        if (!settings)
            return std::nullopt;
        CLingTerm term;
        if (describe) {
            const auto* linguistic = dynamic_cast<const CLinguisticSettings*>(settings);
            if (!linguistic)
                return std::nullopt;
            linguistic->DescribeValue(values[k], term, 2);
        } else if (!settings->BestTerm(values[k], term)) {
            return std::nullopt;
        }
        std::string text;
        if (settings->TermToText(term, text) != 0)
            return std::nullopt;
        row.push_back(std::move(text));
    }
    return row;
}

void CollectRuleSet(const CRuleBase& ruleBase, Rules& rules) {
    const int inputs = ruleBase.GetNumAntVariables();
    const int outputs = ruleBase.GetNumSucVariables();
    for (int r = 0; r < ruleBase.GetNumRules(); ++r) {
        std::vector<std::string> cells;
        for (int a = 0; a < inputs; ++a)
            cells.push_back(ruleBase.GetAntExpression(a, r));
        for (int s = 0; s < outputs; ++s)
            cells.push_back(ruleBase.GetSucExpression(s, r));
        if (std::none_of(cells.begin(), cells.end(), [](const auto& c) { return c.empty(); }))
            rules.AddRule(std::move(cells));
    }
}

int LearnRulesFromData(const CRuleBase& ruleBase, const DataTable& table, bool describe,
                       Rules& rules, const DataProgressStep& step) {
    const DataLayout layout = DataLayout::Of(ruleBase);
    std::vector<double> values(layout.VariableColumns());
    int added = 0;
    for (int r = 0; r < table.RowCount(); ++r) {
        if (step && r % kRowsPerStep == kRowsPerStep - 1)
            step(r + 1);
        if (!ReadDataRow(table, layout, r, layout.VariableColumns(), values))
            continue;
        if (auto row = MakeRuleForDataRow(ruleBase, values, describe))
            if (rules.AddRule(std::move(*row)))
                ++added;
    }
    return added;
}

std::string ApproxLearningRefusal(const CRuleBase& ruleBase) {
    for (int v = 0; v < ruleBase.GetNumAntVariables(); ++v) {
        const CSettings& settings = ruleBase.GetSettings(v);
        if (settings.IsLinearCombination())
            return "Linguistic settings has not user terms.";
        if (settings.UserTerms().empty())
            return ruleBase.GetVariableName(v) + " does not contain user defined terms.";
    }
    return {};
}

std::vector<std::string> DescribedRuleLines(const CRuleBase& ruleBase, const DataTable& table) {
    const DataLayout layout = DataLayout::Of(ruleBase);
    const int width = layout.inputs + 1;
    std::vector<double> values(width);
    std::vector<std::string> lines;
    for (int r = 0; r < table.RowCount(); ++r) {
        if (!ReadDataRow(table, layout, r, width, values))
            continue;
        std::string line = " ";
        for (int c = 0; c < width; ++c) {
            if (c >= 1)
                line += " | ";
            line += '"';
            line += DescribedValueText(ruleBase, VariableOfColumn(ruleBase, c), values[c])
                        .toStdString();
            line += '"';
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

bool HasCompleteDataRow(const CRuleBase& ruleBase, const DataTable& table) {
    const DataLayout layout = DataLayout::Of(ruleBase);
    std::vector<double> values(layout.inputs + 1);
    for (int r = 0; r < table.RowCount(); ++r)
        if (ReadDataRow(table, layout, r, layout.inputs + 1, values))
            return true;
    return false;
}

std::optional<RewrittenRules> AppendRuleLines(const std::string& fileText,
                                              const std::vector<std::string>& ruleLines,
                                              int ruleCount) {
    std::vector<std::string> lines = SplitLines(fileText);
    const auto countLine = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("NumberOfRules") != std::string::npos;
    });
    const auto rulesLine = std::find(countLine, lines.end(), "RULES");
    const auto endLine = std::find(rulesLine, lines.end(), "END_RULES");
    if (endLine == lines.end())
        return std::nullopt;
    const std::size_t countAt = countLine - lines.begin();
    lines.erase(endLine, lines.end());
    RewrittenRules result;
    // Lines of the file are searched for the new line as a substring; lines added here all have
    // the same shape, so one holds another only when they are equal.
    const std::size_t fileLines = lines.size();
    std::unordered_set<std::string> added;
    for (const std::string& ruleLine : ruleLines) {
        const bool present = added.contains(ruleLine) ||
                             std::any_of(lines.begin() + countAt + 1, lines.begin() + fileLines,
                                         [&](const std::string& line) {
                                             return line.find(ruleLine) != std::string::npos;
                                         });
        if (present)
            continue;
        lines.push_back(ruleLine);
        added.insert(ruleLine);
        ++result.added;
    }
    lines.push_back("END_RULES");
    lines[countAt] = "NumberOfRules=" + std::to_string(ruleCount + result.added);
    for (const std::string& line : lines) {
        result.text += line;
        result.text += '\n';
    }
    return result;
}

std::string MergedRulesReport(const Rules& rules) {
    ClusterIndexRules learner;
    ApproxLearnRules(learner, rules);
    std::ostringstream report;
    PrintLearnedTerms(report, learner);
    return report.str();
}
