#include "core/checks/MergeInconsistentRules.h"

#include <charconv>
#include <string>
#include <vector>

#include "core/checks/CRuleChecks.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"
#include "core/text/ESyntax.h"
#include "core/text/NumberScan.h"

namespace {

constexpr std::size_t kMaxConclusionLength = 100;

// The number of a conclusion that reads "about" x and nothing else, or false.
bool ReadFuzzyNumber(const std::string& text, double& x) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos || text.compare(start, 5, "about") != 0)
        return false;
    const char* numberText = text.c_str() + start + 5;
    const char* end = numberText;
    x = ScanDouble(numberText, &end);
    return end != numberText && std::string_view(end).find_first_not_of(' ') == std::string::npos;
}

// The representative point of a conclusion on the normalised axis, signed.
long double TypicalConclusion(const CLinguisticSettings& settings, const std::string& text) {
    CLingTerm term;
    if (settings.ParseLingTerm(text, term) == 0) {
        const long double value = settings.TypicalValue(term);
        return term.sign == -1 ? -value : value;
    }
    // A merged rule's own conclusion, when the group was merged before: its number.
    double x = 0.0;
    if (!ReadFuzzyNumber(text, x))
        throw ESyntax("atomic term expected", 0, text);
    const double lo = settings.GetLowerBound();
    const double hi = settings.GetUpperBound();
    return settings.IsSymmetric() ? x / hi : (x - lo) / (hi - lo);
}

// "about " and the value as printf's "%f" writes it, whatever the process locale.
std::string AboutText(double value) {
    char digits[400];
    const auto written =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, 6);
    std::string text = "about " + std::string(digits, written.ptr);
    if (text.size() > kMaxConclusionLength)
        text.resize(kMaxConclusionLength);
    return text;
}

}  // namespace

int MergeInconsistentRules(CRuleBase& ruleBase) {
    const auto groups = CRuleChecks(ruleBase).FindRuleGroups(CRuleChecks::kInconsistent);
    if (!groups)
        return 0;

    const auto* settings = dynamic_cast<const CLinguisticSettings*>(&ruleBase.GetSettings(-1));
    if (settings == nullptr)
        throw ESyntax("merging needs linguistic settings of the output", 0,
                      ruleBase.GetVariableName(-1));
    const double lo = settings->GetLowerBound();
    const double hi = settings->GetUpperBound();
    const int antecedents = ruleBase.GetNumAntVariables();
    const int succedents = ruleBase.GetNumSucVariables();
    const auto cellsOf = [&](int r) {
        std::vector<std::string> cells;
        cells.reserve(antecedents + succedents);
        for (int a = 0; a < antecedents; ++a)
            cells.push_back(ruleBase.GetAntExpression(a, r));
        for (int s = 0; s < succedents; ++s)
            cells.push_back(ruleBase.GetSucExpression(s, r));
        return cells;
    };

    std::vector<bool> keep(ruleBase.GetNumRules(), true);
    Rules merged;
    for (const auto& group : *groups) {
        long double sum = 0.0;
        for (int r : *group) {
            keep[r] = false;
            sum += TypicalConclusion(*settings, ruleBase.GetSucExpression(0, r));
        }
        const double mean = static_cast<double>(sum / group->GetSize());
        const double value = settings->IsSymmetric() ? hi * mean : lo + (hi - lo) * mean;
        std::vector<std::string> cells = cellsOf((*group)[group->GetSize() - 1]);
        cells[antecedents] = AboutText(value);
        merged.AddRule(std::move(cells));
    }
    for (int r = 0; r < ruleBase.GetNumRules(); ++r) {
        if (keep[r])
            merged.AddRule(cellsOf(r));
    }
    ruleBase.SetRulesFromSet(merged);
    return 1;
}
