#include "core/checks/MergeInconsistentRules.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "core/checks/CRuleChecks.h"
#include "core/rulebase/CRuleBase.h"
#include "core/text/ESyntax.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

using Cells = std::vector<std::string>;
// A rule's cells, inputs first, and its active flag.
using Rule = std::pair<Cells, bool>;

// One input over [0, 1]; outputs y0, y1, ... over [lo, hi].
rulebase_test::Model ModelOf(const std::vector<Rule>& rules, int outputs = 1, double lo = 0.0,
                             double hi = 10.0) {
    rulebase_test::Model model;
    model.inputs.push_back({"x", "linguistic", 0.0, 1.0, 21});
    for (int i = 0; i < outputs; ++i)
        model.outputs.push_back({"y" + std::to_string(i), "linguistic", lo, hi, 21});
    for (const auto& [cells, active] : rules) {
        model.rules.push_back(
            rulebase_test::RuleLine({cells.front()}, {cells.begin() + 1, cells.end()}, active));
    }
    return model;
}

std::vector<Rule> Contents(const CRuleBase& ruleBase) {
    std::vector<Rule> rules;
    for (int r = 0; r < ruleBase.GetNumRules(); ++r) {
        Cells cells{ruleBase.GetAntExpression(0, r)};
        for (int s = 0; s < ruleBase.GetNumSucVariables(); ++s)
            cells.push_back(ruleBase.GetSucExpression(s, r));
        rules.emplace_back(cells, ruleBase.IsRuleActive(r));
    }
    return rules;
}

// Typical values on the normalised axis: "sm" 0.1191166, "bi" 0.8624826; a merged rule's own
// "about" counts with its number.
TEST(MergeInconsistentRules, ConclusionIsAboutTheAverageTypicalValue) {
    struct Case {
        double lo, hi;
        const char *first, *second, *expected;
    };
    for (const Case& c : {Case{0, 10, "about 2", "about 6", "about 4.000000"},
                          {10, 20, "sm", "bi", "about 14.907996"},
                          {-10, 10, "-bi", "bi", "about 0.000000"},
                          {-10, 10, "-sm", "-bi", "about -4.907996"}}) {
        CRuleBase ruleBase = rulebase_test::Build(
            ModelOf({{{"sm", c.first}, true}, {{"sm", c.second}, true}}, 1, c.lo, c.hi));
        ASSERT_EQ(MergeInconsistentRules(ruleBase), 1);
        EXPECT_EQ(Contents(ruleBase), (std::vector<Rule>{{{"sm", c.expected}, true}}));
    }
}

TEST(MergeInconsistentRules, MergedRulesComeFirstWithTheLastMembersConditions) {
    CRuleBase ruleBase = rulebase_test::Build(ModelOf(
        {
            {{"ve sm", "bi", "sm"}, true},
            {{"me", "me", "me"}, false},
            {{"very small", "sm", "ro bi"}, true},
        },
        2));
    ASSERT_EQ(MergeInconsistentRules(ruleBase), 1);
    EXPECT_EQ(Contents(ruleBase),
              (std::vector<Rule>{{{"very small", "about 4.907996", "ro bi"}, true},
                                 {{"me", "me", "me"}, true}}));

    CRuleBase consistent =
        rulebase_test::Build(ModelOf({{{"sm", "bi"}, true}, {{"sm", "bi"}, false}}));
    EXPECT_EQ(MergeInconsistentRules(consistent), 0);
    EXPECT_EQ(Contents(consistent),
              (std::vector<Rule>{{{"sm", "bi"}, true}, {{"sm", "bi"}, false}}));
}

TEST(MergeInconsistentRules, ConclusionsItCannotAverageLeaveTheRulesAlone) {
    const std::string terms =
        " UserTerm\n  name=high, hi\n  type=trapezoid\n  parameters= 5 8 10 10\n End_UserTerm\n"
        " UserTerm\n  name=low, lo\n  type=trapezoid\n  parameters= 0 0 2 5\n End_UserTerm\n";
    for (const char* settings : {"linguistic", "triang"}) {
        auto model = ModelOf({{{"sm", "low"}, true}, {{"sm", "high"}, true}});
        model.outputs.front().settings = settings;
        model.outputs.front().extraLines = terms;
        CRuleBase ruleBase = rulebase_test::Build(model);
        EXPECT_THROW(MergeInconsistentRules(ruleBase), ESyntax) << settings;
        EXPECT_EQ(ruleBase.GetNumRules(), 2);
    }
}

TEST(MergeInconsistentRules, KeepsEveryConsistentRule) {
    const Cells inputs = {"sm", "ve sm", "me", "bi", "ro bi"};
    const Cells outputs = {"sm", "ve sm", "me", "ro me", "bi", "ex bi", "ro ze", "about 7"};
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        std::vector<Rule> rules(3 + seed % 15);
        for (auto& [cells, active] : rules) {
            cells = {inputs[random() % inputs.size()], outputs[random() % outputs.size()]};
            active = random() % 4 != 0;
        }
        CRuleBase ruleBase = rulebase_test::Build(ModelOf(rules));
        const auto groups = CRuleChecks(ruleBase).FindRuleGroups(CRuleChecks::kInconsistent);
        std::set<int> merged;
        for (int g = 0; groups && g < groups->GetSize(); ++g)
            merged.insert((*groups)[g]->begin(), (*groups)[g]->end());
        std::vector<Rule> expected;
        for (int r = 0; r < static_cast<int>(rules.size()); ++r) {
            if (!merged.contains(r))
                expected.emplace_back(rules[r].first, groups != nullptr || rules[r].second);
        }

        ASSERT_EQ(MergeInconsistentRules(ruleBase), groups ? 1 : 0);
        std::vector<Rule> after = Contents(ruleBase);
        const int groupCount = groups ? groups->GetSize() : 0;
        ASSERT_GE(static_cast<int>(after.size()), groupCount);
        for (int g = 0; g < groupCount; ++g)
            EXPECT_EQ(after[g].first[1].rfind("about ", 0), 0u) << after[g].first[1];
        after.erase(after.begin(), after.begin() + groupCount);
        EXPECT_EQ(after, expected);
    }
}

}  // namespace
