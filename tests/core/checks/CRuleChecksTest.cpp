#include "core/checks/CRuleChecks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/io/RuleBaseReader.h"
#include "core/lang/CSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

using Groups = std::vector<std::vector<int>>;
using Row = std::vector<std::string>;  // the inputs, then the output

// Variables over [-1, 1], so that signed terms are valid. Cells are not built: the checks read
// only texts, and some rows hold texts that do not parse.
CRuleBase RuleBaseOf(const std::vector<Row>& rows) {
    rulebase_test::Model model;
    for (std::size_t i = 0; i + 1 < rows.front().size(); ++i)
        model.inputs.push_back({"x" + std::to_string(i), "linguistic", -1.0, 1.0, 21});
    model.outputs.push_back({"y", "linguistic", -1.0, 1.0, 21});
    for (const Row& row : rows)
        model.rules.push_back(rulebase_test::RuleLine({row.begin(), row.end() - 1}, {row.back()}));
    RuleBaseReaderOptions options;
    options.prepares = false;
    return ReadRuleBaseText(rulebase_test::FileText(model), {}, options);
}

Groups GroupsOf(const std::unique_ptr<CIntPtrArray>& result) {
    Groups groups;
    if (result) {
        for (const auto& group : *result)
            groups.emplace_back(group->begin(), group->end());
    }
    return groups;
}

// Every pair of cells compares as the specificity of its terms; outside "small", "medium" and
// "big" only equal texts are equal; a cell that does not convert equals nothing, not even itself.
TEST(CRuleChecks, CellsCompareAsTheirTerms) {
    std::vector<std::string> texts = {"ze",       "zero",      "ro ze", "about 0.3", "undef",
                                      "sm or bi", "sm and bi", "mine",  "very small"};
    for (const char* hedge : {"", "ex ", "si ", "ve ", "ra ", "ml ", "ro ", "qr ", "vr ", "no "}) {
        for (const char* sign : {"", "-", "+"}) {
            for (const char* atom : {"sm", "me", "bi"})
                texts.push_back(std::string(sign) + hedge + atom);
        }
    }
    std::vector<Row> rows;
    for (const std::string& text : texts)
        rows.push_back({text, "sm"});
    const CRuleBase ruleBase = RuleBaseOf(rows);
    const CRuleChecks checks(ruleBase);
    const CSettings& settings = ruleBase.GetSettings(0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = 0; j < texts.size(); ++j) {
            CLingTerm a;
            CLingTerm b;
            int expected = -1;
            if (settings.TextToLingTerm(texts[i], a) && settings.TextToLingTerm(texts[j], b)) {
                if (a.kind != b.kind)
                    expected = 100;
                else if (a.kind >= CLingTerm::kSmall && a.kind <= CLingTerm::kBig)
                    expected = CompareSpecificity(a, b);
                else
                    expected = texts[i] == texts[j] ? 0 : 100;
            }
            EXPECT_EQ(checks.CompareCells(0, static_cast<int>(i), 0, static_cast<int>(j)), expected)
                << "\"" << texts[i] << "\" against \"" << texts[j] << "\"";
        }
    }
    EXPECT_EQ(checks.CompareCells(0, 8, -1, 0), 1);  // "very small" against the output "sm"
    EXPECT_THROW(checks.CompareCells(1, 0, 0, 0), std::out_of_range);
}

TEST(CRuleChecks, RulesCompareSideBySide) {
    const CRuleChecks checks(RuleBaseOf({
        {"sm", "sm", "bi"},        // 0
        {"small", "sm", "bi"},     // 1: identical to 0
        {"sm", "sm", "me"},        // 2: inconsistent with 0
        {"bi", "sm", "bi"},        // 3: same conclusion as 0
        {"bi", "me", "me"},        // 4: different everywhere from 0
        {"mine", "sm", "bi"},      // 5: a condition that does not convert
        {"ve sm", "ro sm", "bi"},  // 6
    }));
    struct Case {
        int a, b, mode, expected;
    };
    for (const Case& c : {Case{0, 1, 0, 0},
                          {0, 1, 1, -1},
                          {0, 2, 1, 0},
                          {0, 2, 0, -1},
                          {0, 3, 2, 0},
                          {0, 3, 1, -1},
                          {0, 4, -1, 0},
                          {0, 4, 2, -1},
                          {0, 4, 7, 0},
                          {5, 5, 0, -1},
                          {5, 0, 2, 0}}) {
        EXPECT_EQ(checks.CompareRules(c.a, c.b, CheckMode{c.mode}), c.expected)
            << "rules " << c.a << ", " << c.b << " in mode " << c.mode;
    }
    EXPECT_EQ(checks.CompareAntecedents(1, 0), 0);
    EXPECT_EQ(checks.CompareAntecedents(0, 6), 100);  // wider in one, narrower in the other
    EXPECT_EQ(checks.CompareAntecedents(5, 5), 100);  // only a failed conversion differs
    EXPECT_EQ(checks.CompareAntecedents(5, 0), 100);
}

TEST(CRuleChecks, GroupsAreDecidedAgainstTheirFirstRule) {
    const CRuleChecks checks(RuleBaseOf({
        {"sm", "bi"},
        {"sm", "me"},
        {"sm", "me"},
        {"sm", "bi"},
        {"bi", "bi"},
    }));
    EXPECT_EQ(GroupsOf(checks.FindRuleGroups(CRuleChecks::kIdentical)), (Groups{{0, 3}, {1, 2}}));
    EXPECT_EQ(GroupsOf(checks.FindRuleGroups(CRuleChecks::kInconsistent)), (Groups{{0, 1, 2}}));
    EXPECT_EQ(GroupsOf(checks.FindRuleGroups(CRuleChecks::kSameConclusion)), (Groups{{0, 4}}));
    EXPECT_EQ(GroupsOf(checks.FindRuleGroups(CheckMode{9})), (Groups{{0, 1, 2, 3, 4}}));

    const CRuleChecks distinct(RuleBaseOf({{"sm", "bi"}, {"me", "me"}, {"mine", "me"}}));
    EXPECT_EQ(distinct.FindRuleGroups(CRuleChecks::kIdentical), nullptr);
    EXPECT_EQ(distinct.FindRuleGroups(CRuleChecks::kInconsistent), nullptr);
    EXPECT_EQ(distinct.FindRedundantSucRules(), nullptr);
    EXPECT_EQ(distinct.FindRedundantAntRules(), nullptr);
}

TEST(CRuleChecks, RedundantRules) {
    const CRuleChecks checks(RuleBaseOf({
        {"ex sm", "me", "bi"},   // 0: covered by 1 and 2
        {"ve sm", "me", "bi"},   // 1: covered by 2
        {"sm", "me", "bi"},      // 2
        {"ex sm", "me", "big"},  // 3: the same conclusion in another text
    }));
    EXPECT_EQ(GroupsOf(checks.FindRedundantAntRules()), (Groups{{0, 1, 2}, {1, 2}}));
    for (int r = 0; r < 4; ++r)
        EXPECT_EQ(checks.IsRedundantRule(r), r < 2) << "rule " << r;

    // The simplest conclusion leads; each group keeps one atomic term and sign.
    const CRuleChecks hedges(RuleBaseOf({{"sm", "bi"}, {"sm", "ro bi"}, {"sm", "ve bi"}}));
    EXPECT_EQ(GroupsOf(hedges.FindRedundantSucRules()), (Groups{{2, 1, 0}}));
    const CRuleChecks mixed(RuleBaseOf({
        {"me", "about 0.5"},
        {"me", "bi"},
        {"me", "sm"},
        {"me", "ve bi"},
        {"me", "ro sm"},
        {"me", "-ro sm"},
    }));
    EXPECT_EQ(GroupsOf(mixed.FindRedundantSucRules()), (Groups{{3, 1}, {2, 4}}));
}

TEST(CRuleChecks, NoRuleIsRedundantWithoutRules) {
    CRuleBase variablesOnly(CRuleBase::kLinguistic);
    variablesOnly.SetRules({}, 0);
    EXPECT_FALSE(CRuleChecks(variablesOnly).IsRedundantRule(0));
    EXPECT_FALSE(CRuleChecks(CRuleBase()).IsRedundantRule(0));
}

std::vector<Row> RandomRows(std::mt19937& random, int inputs, int rules) {
    // Few distinct cells, so that equal and comparable rules are common.
    static const Row kCells = {"sm",    "ve sm", "ex sm", "ro sm", "me",   "ml me",    "bi",
                               "ro bi", "-sm",   "ze",    "small", "mine", "about 0.5"};
    std::vector<Row> rows(rules);
    for (Row& row : rows) {
        for (int i = 0; i < inputs; ++i)
            row.push_back(kCells[random() % 6]);
        row.push_back(kCells[random() % kCells.size()]);
    }
    return rows;
}

TEST(CRuleChecks, GroupsMatchTheScanOfEveryPair) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const CRuleChecks checks(RuleBaseOf(RandomRows(random, 1 + seed % 3, 5 + seed % 40)));
        for (int mode : {0, 1, 2, -1, 3}) {
            const int n = checks.GetNumRules();
            std::vector<bool> taken(n, false);
            Groups expected;
            for (int i = 0; i < n; ++i) {
                if (taken[i])
                    continue;
                std::vector<int> group{i};
                for (int j = i + 1; j < n; ++j) {
                    if (!taken[j] && checks.CompareRules(i, j, CheckMode{mode}) == 0) {
                        group.push_back(j);
                        taken[j] = true;
                    }
                }
                if (group.size() > 1)
                    expected.push_back(group);
            }
            EXPECT_EQ(GroupsOf(checks.FindRuleGroups(CheckMode{mode})), expected)
                << "mode " << mode;
        }
    }
}

TEST(CRuleChecks, ARuleIsNeverRedundantBecauseOfItsOwnCopy) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        std::vector<Row> rows = RandomRows(random, 1 + seed % 3, 3 + seed % 20);
        const CRuleChecks once(RuleBaseOf(rows));
        const int n = once.GetNumRules();
        const std::vector<Row> copy = rows;
        rows.insert(rows.end(), copy.begin(), copy.end());
        const CRuleChecks twice(RuleBaseOf(rows));
        for (int r = 0; r < 2 * n; ++r)
            EXPECT_EQ(twice.IsRedundantRule(r), once.IsRedundantRule(r % n)) << "rule " << r;
    }
}

}  // namespace
