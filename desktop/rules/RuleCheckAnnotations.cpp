#include "desktop/rules/RuleCheckAnnotations.h"

#include <memory>
#include <string>
#include <vector>

#include "core/checks/CRuleChecks.h"

namespace {

// Every member of every group is annotated with the numbers of the others.
void AnnotateGroups(RulesGridModel& grid, const CIntPtrArray* groups,
                    const std::vector<int>& rowOfRule, int check, const char* prefix) {
    if (!groups)
        return;
    for (int g = 0; g < groups->GetSize(); ++g) {
        const CArray<int, int>& group = *(*groups)[g];
        for (int i = 0; i < group.GetSize(); ++i) {
            std::string text = prefix;
            bool first = true;
            for (int j = 0; j < group.GetSize(); ++j) {
                if (j == i)
                    continue;
                text += (first ? " " : ", ") + RulesGridModel::NumberText(rowOfRule[group[j]]);
                first = false;
            }
            grid.AppendCheck(check, rowOfRule[group[i]], text, g);
        }
    }
}

}  // namespace

void AnnotateRuleChecks(RulesGridModel& grid, const CRuleBase& ruleBase, const ShownChecks& shown) {
    grid.ClearChecks();
    if (!shown[0] && !shown[1] && !shown[2] && !shown[3])
        return;
    const std::vector<int> rowOfRule = grid.CompleteRows();
    const CRuleChecks checks(ruleBase);
    if (checks.GetNumRules() != static_cast<int>(rowOfRule.size()))
        return;

    if (shown[RulesGridModel::kGroup]) {
        AnnotateGroups(grid, checks.FindRuleGroups(CRuleChecks::kIdentical).get(), rowOfRule,
                       RulesGridModel::kGroup, "same as");
    }
    if (shown[RulesGridModel::kInconsistency]) {
        AnnotateGroups(grid, checks.FindRuleGroups(CRuleChecks::kInconsistent).get(), rowOfRule,
                       RulesGridModel::kInconsistency, "with");
    }
    if (shown[RulesGridModel::kRedundantSuc]) {
        if (const auto lists = checks.FindRedundantSucRules()) {
            for (int l = 0; l < lists->GetSize(); ++l) {
                const CArray<int, int>& list = *(*lists)[l];
                const int headRow = rowOfRule[list[0]];
                for (int i = 1; i < list.GetSize(); ++i) {
                    const int row = rowOfRule[list[i]];
                    const bool empty =
                        grid.RuleRow(row).checkTexts[RulesGridModel::kRedundantSuc].empty();
                    grid.AppendCheck(RulesGridModel::kRedundantSuc, row,
                                     (empty ? "with " : ", ") + std::to_string(headRow), headRow);
                }
            }
        }
    }
    if (shown[RulesGridModel::kRedundantAnt]) {
        if (const auto lists = checks.FindRedundantAntRules()) {
            for (int l = 0; l < lists->GetSize(); ++l) {
                const CArray<int, int>& list = *(*lists)[l];
                const int row = rowOfRule[list[0]];
                const bool empty =
                    grid.RuleRow(row).checkTexts[RulesGridModel::kRedundantAnt].empty();
                std::string text = empty ? "wrt " : ", ";
                int last = 0;
                for (int i = 1; i < list.GetSize(); ++i) {
                    last = rowOfRule[list[i]];
                    text += (i > 1 ? ", " : "") + std::to_string(last);
                }
                grid.AppendCheck(RulesGridModel::kRedundantAnt, row, text, last);
            }
        }
    }
}
