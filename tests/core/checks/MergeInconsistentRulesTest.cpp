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

using rulebase_test::Model;
using rulebase_test::RuleLine;
using Cells = std::vector<std::string>;

struct Row {
    Cells inputs;
    Cells outputs;
    bool active = true;
};

Model ModelOf(const std::vector<Row>& rows, double lo = 0.0, double hi = 10.0) {
    Model model;
    for (std::size_t i = 0; i < rows.front().inputs.size(); ++i)
        model.inputs.push_back({"x" + std::to_string(i), "linguistic", 0.0, 1.0, 21});
    for (std::size_t i = 0; i < rows.front().outputs.size(); ++i)
        model.outputs.push_back({"y" + std::to_string(i), "linguistic", lo, hi, 21});
    for (const Row& row : rows)
        model.rules.push_back(RuleLine(row.inputs, row.outputs, row.active));
    return model;
}

// Each rule as its cells, inputs first, and whether it is active.
std::vector<std::pair<Cells, bool>> Contents(const CRuleBase& ruleBase) {
    std::vector<std::pair<Cells, bool>> rules;
    for (int r = 0; r < ruleBase.GetNumRules(); ++r) {
        Cells cells;
        for (int a = 0; a < ruleBase.GetNumAntVariables(); ++a)
            cells.push_back(ruleBase.GetAntExpression(a, r));
        for (int s = 0; s < ruleBase.GetNumSucVariables(); ++s)
            cells.push_back(ruleBase.GetSucExpression(s, r));
        rules.emplace_back(cells, ruleBase.IsRuleActive(r));
    }
    return rules;
}

struct AverageCase {
    double lo;
    double hi;
    const char* first;
    const char* second;
    const char* expected;
};

// Typical values on the normalised axis: "sm" 0.1191166, "bi" 0.8624826.
const AverageCase kAverageCases[] = {
    {0, 10, "about 2", "about 6", "about 4.000000"},
    {0, 10, "sm", "bi", "about 4.907996"},
    {10, 20, "sm", "bi", "about 14.907996"},
    {-10, 10, "-bi", "bi", "about 0.000000"},
    {-10, 10, "-sm", "-bi", "about -4.907996"},
    {-10, 10, "about -2", "about 6", "about 2.000000"},
};

TEST(MergeInconsistentRules, ConclusionIsAboutTheAverageTypicalValue) {
    for (const AverageCase& c : kAverageCases) {
        SCOPED_TRACE(std::string(c.first) + " and " + c.second);
        CRuleBase ruleBase =
            rulebase_test::Build(ModelOf({{{"sm"}, {c.first}}, {{"sm"}, {c.second}}}, c.lo, c.hi));
        ASSERT_EQ(MergeInconsistentRules(ruleBase), 1);
        ASSERT_EQ(ruleBase.GetNumRules(), 1);
        EXPECT_EQ(ruleBase.GetSucExpression(0, 0), c.expected);
    }
}

TEST(MergeInconsistentRules, MergedRulesFirstWithTheLastMembersConditions) {
    CRuleBase ruleBase = rulebase_test::Build(ModelOf({
        {{"ve sm", "me"}, {"bi", "sm"}},
        {{"me", "me"}, {"me", "me"}, false},
        {{"very small", "me"}, {"sm", "ro bi"}},
        {{"bi", "me"}, {"bi", "bi"}},
    }));
    ASSERT_EQ(MergeInconsistentRules(ruleBase), 1);
    const std::vector<std::pair<Cells, bool>> expected = {
        {{"very small", "me", "about 4.907996", "ro bi"}, true},
        {{"me", "me", "me", "me"}, true},
        {{"bi", "me", "bi", "bi"}, true},
    };
    EXPECT_EQ(Contents(ruleBase), expected);
}

TEST(MergeInconsistentRules, NothingToMergeChangesNothing) {
    CRuleBase ruleBase = rulebase_test::Build(ModelOf({
        {{"sm"}, {"bi"}},
        {{"sm"}, {"bi"}, false},
        {{"me"}, {"sm"}},
    }));
    const auto before = Contents(ruleBase);
    EXPECT_EQ(MergeInconsistentRules(ruleBase), 0);
    EXPECT_EQ(Contents(ruleBase), before);
}

TEST(MergeInconsistentRules, ConclusionsItCannotAverageLeaveTheRulesAlone) {
    const std::string userTerm =
        " UserTerm\n  name=high, hi\n  type=trapezoid\n  parameters= 5 8 10 10\n End_UserTerm\n"
        " UserTerm\n  name=low, lo\n  type=trapezoid\n  parameters= 0 0 2 5\n End_UserTerm\n";
    Model userTerms = ModelOf({{{"sm"}, {"bi"}}, {{"sm"}, {"high"}}});
    userTerms.outputs.front().extraLines = userTerm;
    Model triangles = ModelOf({{{"sm"}, {"low"}}, {{"sm"}, {"high"}}});
    triangles.outputs.front().settings = "triang";
    triangles.outputs.front().extraLines = userTerm;

    for (const Model& model : {userTerms, triangles}) {
        CRuleBase ruleBase = rulebase_test::Build(model);
        const auto before = Contents(ruleBase);
        EXPECT_THROW(MergeInconsistentRules(ruleBase), ESyntax);
        EXPECT_EQ(Contents(ruleBase), before);
    }
}

// Any number of inconsistency groups: one merged rule each, then every other rule unchanged.
TEST(MergeInconsistentRules, KeepsEveryConsistentRule) {
    const Cells inputCells = {"sm", "ve sm", "me", "bi", "ro bi"};
    const Cells outputCells = {"sm", "ve sm", "me", "ro me", "bi", "ex bi", "ro ze", "about 7"};
    for (unsigned seed = 1; seed <= 30; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const int inputs = 1 + seed % 2;
        std::vector<Row> rows(3 + seed % 15);
        for (Row& row : rows) {
            for (int i = 0; i < inputs; ++i)
                row.inputs.push_back(inputCells[random() % inputCells.size()]);
            row.outputs = {outputCells[random() % outputCells.size()]};
            row.active = random() % 4 != 0;
        }
        CRuleBase ruleBase = rulebase_test::Build(ModelOf(rows));
        const auto before = Contents(ruleBase);
        const auto groups = CRuleChecks(ruleBase).FindRuleGroups(CRuleChecks::kInconsistent);
        std::set<int> merged;
        if (groups) {
            for (const auto& group : *groups)
                merged.insert(group->begin(), group->end());
        }
        std::vector<std::pair<Cells, bool>> kept;
        for (int r = 0; r < static_cast<int>(before.size()); ++r) {
            if (!merged.contains(r))
                kept.emplace_back(before[r].first, true);
        }

        ASSERT_EQ(MergeInconsistentRules(ruleBase), groups ? 1 : 0);
        const auto after = Contents(ruleBase);
        if (!groups) {
            EXPECT_EQ(after, before);
            continue;
        }
        const std::size_t groupCount = groups->GetSize();
        ASSERT_EQ(after.size(), groupCount + kept.size());
        for (std::size_t g = 0; g < groupCount; ++g)
            EXPECT_EQ(after[g].first.back().rfind("about ", 0), 0u) << after[g].first.back();
        EXPECT_TRUE(std::equal(kept.begin(), kept.end(), after.begin() + groupCount));
    }
}

}  // namespace
