#include "core/checks/CRuleChecks.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/io/RuleBaseReader.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

using rulebase_test::Model;
using rulebase_test::RuleLine;
using Groups = std::vector<std::vector<int>>;

struct Row {
    std::vector<std::string> inputs;
    std::string output;
};

// Inputs x0, x1, ... and the output y over [-1, 1], so that signed terms are valid. Cells are
// not built: the checks read only texts, and some rows hold texts that do not parse.
CRuleBase RuleBaseOf(const std::vector<Row>& rows) {
    Model model;
    for (std::size_t i = 0; i < rows.front().inputs.size(); ++i)
        model.inputs.push_back({"x" + std::to_string(i), "linguistic", -1.0, 1.0, 21});
    model.outputs.push_back({"y", "linguistic", -1.0, 1.0, 21});
    for (const Row& row : rows)
        model.rules.push_back(RuleLine(row.inputs, {row.output}));
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

// --- Cells -------------------------------------------------------------------------------------

struct CellCase {
    const char* a;
    const char* b;
    int expected;
};

const CellCase kCellCases[] = {
    {"sm", "sm", 0},
    {"very small", "ve sm", 0},
    {"ve sm", "sm", 1},
    {"ex sm", "ve sm", 1},
    {"ro bi", "bi", 2},
    {"me", "ml me", 1},
    {"-ve sm", "-sm", 1},
    {"sm", "bi", 100},
    {"-sm", "sm", 100},
    {"+bi", "bi", 100},
    // Outside "small", "medium" and "big" only equal texts are equal.
    {"ze", "ze", 0},
    {"ze", "zero", 100},
    {"ze", "ro ze", 100},
    {"about 0.3", "about 0.3", 0},
    {"about 0.3", "about 0.4", 100},
    {"sm or bi", "sm or bi", 0},
    {"sm or bi", "sm and bi", 100},
    {"undef", "undef", 0},
    {"sm", "undef", 100},
    // Texts that do not convert are never equal, not even to themselves.
    {"mine", "sm", -1},
    {"sm", "mine", -1},
    {"mine", "mine", -1},
};

TEST(CRuleChecksCells, CompareAsExpressions) {
    std::vector<Row> rows;
    for (const CellCase& c : kCellCases) {
        rows.push_back({{c.a}, "sm"});
        rows.push_back({{c.b}, "sm"});
    }
    const CRuleBase ruleBase = RuleBaseOf(rows);
    const CRuleChecks checks(ruleBase);
    for (int k = 0; k < static_cast<int>(std::size(kCellCases)); ++k) {
        const CellCase& c = kCellCases[k];
        EXPECT_EQ(checks.CompareCells(0, 2 * k, 0, 2 * k + 1), c.expected)
            << "\"" << c.a << "\" against \"" << c.b << "\"";
    }
}

// Every hedge on every atomic term with every sign, and cells of the other kinds: each pair
// compares as the terms' specificity, or as texts outside "small", "medium" and "big".
TEST(CRuleChecksCells, AgreeWithTheSpecificityOfTheTerms) {
    std::vector<std::string> texts = {"ze", "ro ze", "about 0.3", "undef", "sm or bi", "mine"};
    for (const char* hedge : {"", "ex ", "si ", "ve ", "ra ", "ml ", "ro ", "qr ", "vr ", "no "}) {
        for (const char* sign : {"", "-", "+"}) {
            for (const char* atom : {"sm", "me", "bi"})
                texts.push_back(std::string(sign) + hedge + atom);
        }
    }
    std::vector<Row> rows;
    for (const std::string& text : texts)
        rows.push_back({{text}, "sm"});
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
}

TEST(CRuleChecksCells, CompareAcrossVariablesAndRejectBadIndices) {
    const CRuleBase ruleBase = RuleBaseOf({{{"ve bi"}, "bi"}});
    const CRuleChecks checks(ruleBase);
    EXPECT_EQ(checks.CompareCells(0, 0, -1, 0), 1);
    EXPECT_EQ(checks.CompareCells(-1, 0, 0, 0), 2);
    EXPECT_THROW(checks.CompareCells(1, 0, 0, 0), std::out_of_range);
    EXPECT_THROW(checks.CompareCells(-2, 0, 0, 0), std::out_of_range);
    EXPECT_THROW(checks.CompareCells(0, 1, 0, 0), std::out_of_range);
    EXPECT_THROW(checks.CompareRules(0, -1, 0), std::out_of_range);
    EXPECT_THROW(checks.IsRedundantRule(1), std::out_of_range);
}

// --- Rules -------------------------------------------------------------------------------------

TEST(CRuleChecksRules, CompareRulesByMode) {
    const CRuleBase ruleBase = RuleBaseOf({
        {{"sm", "sm"}, "bi"},     // 0
        {{"small", "sm"}, "bi"},  // 1: identical to 0
        {{"sm", "sm"}, "me"},     // 2: inconsistent with 0
        {{"bi", "sm"}, "bi"},     // 3: same conclusion as 0
        {{"bi", "me"}, "me"},     // 4: different everywhere from 0
        {{"mine", "sm"}, "bi"},   // 5: a condition that does not convert
    });
    const CRuleChecks checks(ruleBase);
    struct Case {
        int a, b, mode, expected;
    };
    const Case cases[] = {
        {0, 1, 0, 0},  {0, 1, 1, -1}, {0, 2, 1, 0}, {0, 2, 0, -1}, {0, 3, 2, 0}, {0, 3, 1, -1},
        {0, 4, -1, 0}, {0, 4, 2, -1}, {0, 4, 7, 0}, {5, 5, 0, -1}, {5, 0, 2, 0}, {0, 5, 2, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checks.CompareRules(c.a, c.b, c.mode), c.expected)
            << "rules " << c.a << ", " << c.b << " in mode " << c.mode;
    }
}

TEST(CRuleChecksRules, CompareAntecedentsTogether) {
    const CRuleBase ruleBase = RuleBaseOf({
        {{"ve sm", "bi"}, "bi"},     // 0
        {{"sm", "bi"}, "bi"},        // 1
        {{"ve sm", "ro bi"}, "bi"},  // 2
        {{"bi", "bi"}, "bi"},        // 3
        {{"mine", "bi"}, "bi"},      // 4
        {{"mine", "ro bi"}, "bi"},   // 5
    });
    const CRuleChecks checks(ruleBase);
    EXPECT_EQ(checks.CompareAntecedents(0, 1), 1);
    EXPECT_EQ(checks.CompareAntecedents(1, 0), 2);
    EXPECT_EQ(checks.CompareAntecedents(1, 1), 0);
    EXPECT_EQ(checks.CompareAntecedents(2, 1), 100);  // narrower in one, wider in the other
    EXPECT_EQ(checks.CompareAntecedents(3, 1), 100);
    EXPECT_EQ(checks.CompareAntecedents(4, 4), 100);  // only a failed conversion differs
    EXPECT_EQ(checks.CompareAntecedents(4, 5), 1);    // failures do not block a narrower one
}

TEST(CRuleChecksGroups, IdenticalAndInconsistentRules) {
    EXPECT_EQ(GroupsOf(CRuleChecks(RuleBaseOf({{{"sm"}, "bi"}, {{"sm"}, "bi"}})).FindRuleGroups(0)),
              (Groups{{0, 1}}));
    EXPECT_EQ(GroupsOf(CRuleChecks(RuleBaseOf({{{"sm"}, "bi"}, {{"sm"}, "me"}})).FindRuleGroups(1)),
              (Groups{{0, 1}}));

    // Membership is decided against the group's first rule alone, and a rule joins one group.
    const CRuleBase ruleBase = RuleBaseOf({
        {{"sm"}, "bi"},
        {{"sm"}, "me"},
        {{"sm"}, "me"},
        {{"sm"}, "bi"},
        {{"bi"}, "bi"},
    });
    const CRuleChecks checks(ruleBase);
    EXPECT_EQ(GroupsOf(checks.FindRuleGroups(0)), (Groups{{0, 3}, {1, 2}}));
    EXPECT_EQ(GroupsOf(checks.FindRuleGroups(1)), (Groups{{0, 1, 2}}));
    EXPECT_EQ(GroupsOf(checks.FindRuleGroups(2)), (Groups{{0, 4}}));
    EXPECT_EQ(GroupsOf(checks.FindRuleGroups(9)), (Groups{{0, 1, 2, 3, 4}}));
}

TEST(CRuleChecksGroups, NothingFoundIsNull) {
    const CRuleBase distinct = RuleBaseOf({{{"sm"}, "bi"}, {{"me"}, "me"}});
    const CRuleChecks checks(distinct);
    EXPECT_EQ(checks.FindRuleGroups(0), nullptr);
    EXPECT_EQ(checks.FindRuleGroups(1), nullptr);
    EXPECT_EQ(checks.FindRedundantSucRules(), nullptr);
    EXPECT_EQ(checks.FindRedundantAntRules(), nullptr);
    // Rules whose cells do not convert differ from everything, their own copies included.
    const CRuleBase broken = RuleBaseOf({{{"mine"}, "bi"}, {{"mine"}, "bi"}});
    EXPECT_EQ(CRuleChecks(broken).FindRuleGroups(0), nullptr);
}

// --- Redundancy ----------------------------------------------------------------------------------

TEST(CRuleChecksRedundancy, NarrowerConditionsWithTheSameConclusion) {
    const CRuleBase ruleBase = RuleBaseOf({{{"ve sm"}, "bi"}, {{"sm"}, "bi"}});
    const CRuleChecks checks(ruleBase);
    EXPECT_TRUE(checks.IsRedundantRule(0));
    EXPECT_FALSE(checks.IsRedundantRule(1));
    EXPECT_EQ(GroupsOf(checks.FindRedundantAntRules()), (Groups{{0, 1}}));

    // The conclusion texts must be equal: "big" is not "bi".
    const CRuleBase otherText = RuleBaseOf({{{"ve sm"}, "bi"}, {{"sm"}, "big"}});
    EXPECT_FALSE(CRuleChecks(otherText).IsRedundantRule(0));
}

TEST(CRuleChecksRedundancy, CoveringRulesListedPerCoveredRule) {
    const CRuleBase ruleBase = RuleBaseOf({
        {{"ex sm", "me"}, "bi"},  // 0: covered by 1 and 2
        {{"ve sm", "me"}, "bi"},  // 1: covered by 2
        {{"sm", "me"}, "bi"},     // 2
        {{"ex sm", "me"}, "sm"},  // 3: another conclusion
    });
    const CRuleChecks checks(ruleBase);
    EXPECT_EQ(GroupsOf(checks.FindRedundantAntRules()), (Groups{{0, 1, 2}, {1, 2}}));
    EXPECT_TRUE(checks.IsRedundantRule(0));
    EXPECT_TRUE(checks.IsRedundantRule(1));
    EXPECT_FALSE(checks.IsRedundantRule(2));
    EXPECT_FALSE(checks.IsRedundantRule(3));
}

TEST(CRuleChecksRedundancy, ConclusionsThatDifferOnlyInTheHedge) {
    // The simplest conclusion ("ve bi") changes places with the group's first rule.
    const CRuleBase hedges = RuleBaseOf({{{"sm"}, "bi"}, {{"sm"}, "ro bi"}, {{"sm"}, "ve bi"}});
    EXPECT_EQ(GroupsOf(CRuleChecks(hedges).FindRedundantSucRules()), (Groups{{2, 1, 0}}));

    // One inconsistency group splits by atomic term and sign.
    const CRuleBase mixed = RuleBaseOf({
        {{"me"}, "bi"},
        {{"me"}, "sm"},
        {{"me"}, "ve bi"},
        {{"me"}, "ro sm"},
        {{"me"}, "-ro sm"},
    });
    EXPECT_EQ(GroupsOf(CRuleChecks(mixed).FindRedundantSucRules()), (Groups{{2, 0}, {1, 3}}));

    // A head that is no atomic term is dropped; the rest still group.
    const CRuleBase number = RuleBaseOf({{{"me"}, "about 0.5"}, {{"me"}, "bi"}, {{"me"}, "ro bi"}});
    EXPECT_EQ(GroupsOf(CRuleChecks(number).FindRedundantSucRules()), (Groups{{1, 2}}));
}

// --- Properties over random rule bases ---------------------------------------------------------

const std::vector<std::string> kCells = {"sm",    "ve sm", "ex sm", "ro sm", "me",
                                         "ml me", "bi",    "ro bi", "ve bi", "-sm",
                                         "ze",    "undef", "small", "mine",  "about 0.5"};

std::vector<Row> RandomRows(std::mt19937& random, int inputs, int rules) {
    // Few distinct cells, so that equal and comparable rules are common.
    std::uniform_int_distribution<std::size_t> cell(0, kCells.size() - 1);
    std::vector<Row> rows(rules);
    for (Row& row : rows) {
        for (int i = 0; i < inputs; ++i)
            row.inputs.push_back(kCells[cell(random) % 6]);
        row.output = kCells[cell(random)];
    }
    return rows;
}

// The grouping as stated: every rule against every later one, through CompareRules.
Groups ReferenceGroups(const CRuleChecks& checks, int mode) {
    const int n = checks.GetNumRules();
    std::vector<bool> taken(n, false);
    Groups groups;
    for (int i = 0; i < n; ++i) {
        if (taken[i])
            continue;
        std::vector<int> group{i};
        for (int j = i + 1; j < n; ++j) {
            if (!taken[j] && checks.CompareRules(i, j, mode) == 0) {
                group.push_back(j);
                taken[j] = true;
            }
        }
        if (group.size() > 1)
            groups.push_back(group);
    }
    return groups;
}

TEST(CRuleChecksProperties, GroupsMatchTheFullScan) {
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const CRuleBase ruleBase = RuleBaseOf(RandomRows(random, 1 + seed % 3, 5 + seed % 40));
        const CRuleChecks checks(ruleBase);
        for (int mode : {0, 1, 2, -1, 3}) {
            SCOPED_TRACE("mode " + std::to_string(mode));
            EXPECT_EQ(GroupsOf(checks.FindRuleGroups(mode)), ReferenceGroups(checks, mode));
        }
    }
}

TEST(CRuleChecksProperties, ARuleIsNeverRedundantBecauseOfItsOwnCopy) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const std::vector<Row> rows = RandomRows(random, 1 + seed % 3, 3 + seed % 20);
        std::vector<Row> doubled = rows;
        doubled.insert(doubled.end(), rows.begin(), rows.end());
        const CRuleChecks once(RuleBaseOf(rows));
        const CRuleChecks twice(RuleBaseOf(doubled));
        const int n = static_cast<int>(rows.size());
        for (int r = 0; r < n; ++r) {
            EXPECT_EQ(twice.IsRedundantRule(r), once.IsRedundantRule(r)) << "rule " << r;
            EXPECT_EQ(twice.IsRedundantRule(r + n), once.IsRedundantRule(r)) << "copy of " << r;
        }
        EXPECT_FALSE(CRuleChecks(RuleBaseOf({rows.front(), rows.front()})).IsRedundantRule(0));
    }
}

}  // namespace
