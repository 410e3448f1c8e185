#include "desktop/rules/RuleRowSorter.h"

#include <unordered_map>

#include "core/lang/CBasicSettings.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "core/text/NumberScan.h"
#include "desktop/rules/RulesGridModel.h"

ExpressionOrder::ExpressionOrder(const CBasicSettings& settings,
                                 const std::vector<std::string>& texts,
                                 const CellTextCheck& valid) {
    std::unordered_map<std::string, int> seen;
    classOf_.reserve(texts.size());
    for (const std::string& text : texts) {
        auto [place, added] = seen.try_emplace(text, static_cast<int>(distinct_.size()));
        classOf_.push_back(place->second);
        if (!added)
            continue;
        Text entry{Reading::kInvalid, CLingTerm(), text};
        if (valid(text)) {
            try {
                entry.reading = settings.ParseLingTerm(text, entry.term) == 0 ? Reading::kTerm
                                                                              : Reading::kNoTerm;
            } catch (const ESyntax&) {
                entry.reading = Reading::kThrows;
            }
        }
        distinct_.push_back(std::move(entry));
    }
}

int ExpressionOrder::Compare(int a, int b) const {
    const Text& first = distinct_[classOf_[a]];
    const Text& second = distinct_[classOf_[b]];
    if (first.reading == Reading::kInvalid || second.reading == Reading::kInvalid ||
        first.reading == Reading::kThrows)
        return -1;
    // The second text is read only when the first gave a term.
    if (first.reading == Reading::kTerm) {
        if (second.reading == Reading::kThrows)
            return -1;
        if (second.reading == Reading::kTerm)
            return Precedes(first.term, second.term) ? 1 : 0;
    }
    return CompareCharacters(first.text, second.text);
}

int ExpressionOrder::CompareCharacters(const std::string& a, const std::string& b) {
    return CLinguisticSettings::CompareTexts(a, b);
}

void SortRulesByColumn(RulesGridModel& grid, const CRuleBase& ruleBase, int column,
                       const CellTextCheck& valid) {
    const int count = grid.RuleRowCount();
    std::vector<int> order;
    if (grid.IsCheckColumn(column)) {
        std::vector<int> keys(count);
        for (int r = 0; r < count; ++r)
            keys[r] = grid.SortKey(column, r + 1);
        order = SelectionSortOrder(count, [&](int a, int b) { return keys[a] < keys[b]; });
    } else if (grid.IsVariableColumn(column)) {
        const CSettings& settings = ruleBase.GetSettings(grid.VariableIndexOfColumn(column));
        if (settings.IsLinearCombination()) {
            std::vector<double> numbers(count);
            for (int r = 0; r < count; ++r) {
                const char* end = nullptr;
                numbers[r] = ScanDouble(grid.Cell(column, r + 1).c_str(), &end);
            }
            order =
                SelectionSortOrder(count, [&](int a, int b) { return numbers[a] < numbers[b]; });
        } else if (const auto* basic = dynamic_cast<const CBasicSettings*>(&settings)) {
            std::vector<std::string> texts;
            texts.reserve(count);
            for (int r = 0; r < count; ++r)
                texts.push_back(grid.Cell(column, r + 1));
            const ExpressionOrder expressions(*basic, texts, valid);
            order = SelectionSortOrder(
                count, [&](int a, int b) { return expressions.Compare(a, b) != 0; });
        }
    }
    if (!order.empty())
        grid.Reorder(order);
}
