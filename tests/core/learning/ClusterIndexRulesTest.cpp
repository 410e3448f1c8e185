#include "core/learning/ClusterIndexRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "core/rulebase/Rules.h"

namespace {

using Cells = std::vector<std::string>;

Rules RuleSet(const std::vector<Cells>& rows) {
    Rules rules;
    for (const Cells& row : rows)
        rules.AddRule(row);
    return rules;
}

std::string Report(const Rules& rules) {
    ClusterIndexRules learner;
    ApproxLearnRules(learner, rules);
    std::ostringstream out;
    PrintLearnedTerms(out, learner);
    return out.str();
}

TEST(CellNumbers, TermAfterTheLastUnderscoreAndPrefixFromTheSecondCharacter) {
    struct Case {
        const char* cell;
        int term;
        int prefix;
    };
    const Case cases[] = {
        {"p3_5", 5, 3},
        {"p12_-4", -4, 12},
        {"q1_2_7", 7, 1},
        {"p-3_+8", 8, -3},
        {"x", 0, 0},
        {"", 0, 0},
        {"_5", 5, 0},
        {"p_5", 5, 0},
        {"17", 17, 7},
        {"p3_", 0, 3},
        {"p3_5x", 5, 3},
        {"p 3_5", 5, 0},
        {"p9_99999999999", INT_MAX, 9},
        {"p1_-99999999999", INT_MIN, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CellTermNumber(c.cell), c.term) << c.cell;
        EXPECT_EQ(CellPrefixNumber(c.cell), c.prefix) << c.cell;
    }
}

TEST(ApproxLearnRules, NeighboursInOneAntecedentFormOneRangeTerm) {
    const Rules rules =
        RuleSet({{"p1_1", "p1_1", "p2_3"}, {"p1_2", "p1_1", "p2_3"}, {"p1_3", "p1_1", "p2_3"}});
    ClusterIndexRules learner;
    ApproxLearnRules(learner, rules);
    EXPECT_EQ(learner.VariableCount(), 3);
    EXPECT_EQ(learner.Prefixes(), (std::vector<int>{1, 1, 2}));
    ASSERT_EQ(learner.Clusters().size(), 1u);
    EXPECT_EQ(learner.Clusters()[0].members.size(), 3u);
    EXPECT_EQ(Report(rules),
              "\"t_1_3\"\t\"p1_1\"\t\"p2_3\"\t\n\n"
              "new terms:\n"
              "var 0:\tt_1_3\t\n"
              "var 1:\t\n"
              "var 2:\t\n");
}

TEST(ApproxLearnRules, DifferentOutputsOrFarAntecedentsStartNewClusters) {
    EXPECT_EQ(Report(RuleSet({{"p1_1", "p2_1"}, {"p1_1", "p2_2"}, {"p1_2", "p2_2"}})),
              "\"p1_1\"\t\"p2_1\"\t\n\n"
              "\"t_1_2\"\t\"p2_2\"\t\n\n"
              "new terms:\nvar 0:\tt_1_2\t\nvar 1:\t\n");
    // A step of two in one antecedent, or of one in two antecedents, is not adjacent.
    const Rules far = RuleSet({{"a1_1", "b1_1", "c1_1"},
                               {"a1_3", "b1_1", "c1_1"},
                               {"a1_2", "b1_2", "c1_1"},
                               {"a1_1", "b1_1", "c1_1"}});
    ClusterIndexRules learner;
    ApproxLearnRules(learner, far);
    ASSERT_EQ(learner.Clusters().size(), 3u);
    EXPECT_EQ(learner.Clusters()[0].members.size(), 2u);  // identical rows are adjacent
    EXPECT_EQ(learner.Clusters()[1].members.size(), 1u);
    EXPECT_EQ(learner.Clusters()[2].members.size(), 1u);
}

TEST(ApproxLearnRules, ABridgingRuleMergesTheLaterClusterIntoTheEarlierOne) {
    const Rules rules = RuleSet({{"p1_5", "p2_1", "p3_1"},
                                 {"p1_9", "p2_1", "p3_1"},
                                 {"p1_1", "p2_1", "p3_1"},
                                 {"p1_3", "p2_1", "p3_1"},
                                 {"p1_2", "p2_1", "p3_1"},
                                 {"p1_4", "p2_1", "p3_1"}});
    ClusterIndexRules learner;
    ApproxLearnRules(learner, rules);
    const std::vector<IndexRules>& clusters = learner.Clusters();
    ASSERT_EQ(clusters.size(), 4u);
    // p1_2 bridges the clusters of p1_1 and p1_3; p1_4 then bridges that one and p1_5.
    std::vector<int> order;
    for (const IndexRule& member : clusters[0].members)
        order.push_back(member.indices[0]);
    EXPECT_EQ(order, (std::vector<int>{5, 4, 1, 2, 3}));
    EXPECT_EQ(clusters[1].members.size(), 1u);
    EXPECT_TRUE(clusters[2].members.empty());
    EXPECT_TRUE(clusters[3].members.empty());
    EXPECT_EQ(Report(rules),
              "\"t_1_5\"\t\"p2_1\"\t\"p3_1\"\t\n\n"
              "\"p1_9\"\t\"p2_1\"\t\"p3_1\"\t\n\n"
              "new terms:\nvar 0:\tt_1_5\t\nvar 1:\t\nvar 2:\t\n");
}

TEST(ApproxLearnRules, NewTermsAreSortedAsStringsWithoutDuplicates) {
    const Rules rules = RuleSet({{"p1_1", "p1_7", "p2_1"},
                                 {"p1_2", "p1_7", "p2_1"},
                                 {"p1_10", "p1_1", "p2_2"},
                                 {"p1_11", "p1_1", "p2_2"},
                                 {"p1_1", "p1_4", "p2_3"},
                                 {"p1_2", "p1_4", "p2_3"}});
    EXPECT_EQ(Report(rules),
              "\"t_1_2\"\t\"p1_7\"\t\"p2_1\"\t\n\n"
              "\"t_10_11\"\t\"p1_1\"\t\"p2_2\"\t\n\n"
              "\"t_1_2\"\t\"p1_4\"\t\"p2_3\"\t\n\n"
              "new terms:\nvar 0:\tt_10_11\tt_1_2\t\nvar 1:\t\nvar 2:\t\n");
}

TEST(ApproxLearnRules, EmptyAndDegenerateSets) {
    ClusterIndexRules learner;
    ApproxLearnRules(learner, RuleSet({{"p1_1", "p1_2"}, {"p1_2", "p1_2"}}));
    ApproxLearnRules(learner, Rules());
    EXPECT_EQ(learner.VariableCount(), 0);
    EXPECT_TRUE(learner.Clusters().empty());
    EXPECT_TRUE(learner.NewTerms().empty());
    EXPECT_EQ(Report(Rules()), "new terms:\n");

    EXPECT_EQ(Report(RuleSet({{"p4_2"}, {"p4_3"}, {"p4_2"}})),
              "\"p4_2\"\t\n\n\"p4_3\"\t\n\nnew terms:\nvar 0:\t\n");
    EXPECT_EQ(Report(RuleSet({{}, {}})), "\n\nnew terms:\n");
    ApproxLearnRules(learner, RuleSet({{"p1_1"}}));
    EXPECT_THROW(ApproxLearnRules(learner, RuleSet({{"p1_1", "p1_1"}, {"p1_1"}})),
                 std::invalid_argument);
    EXPECT_EQ(learner.Clusters().size(), 1u);  // the failed call left the learner as it was
    EXPECT_EQ(Report(RuleSet({{"p1_2147483647", "p1_0"}, {"p1_-2147483648", "p1_0"}})),
              "\"p1_2147483647\"\t\"p1_0\"\t\n\n\"p1_-2147483648\"\t\"p1_0\"\t\n\nnew terms:\n"
              "var 0:\t\nvar 1:\t\n");
}

// The clustering as written: every member of every cluster is tested.
std::vector<std::vector<std::vector<int>>> ClusterByWalkingEveryMember(const Rules& rules) {
    const auto adjacent = [](const std::vector<int>& a, const std::vector<int>& b) {
        const std::size_t n = b.size();
        if (a[n - 1] != b[n - 1])
            return false;
        int differences = 0;
        for (std::size_t i = 0; i + 1 < n; ++i) {
            const long long step = std::llabs(static_cast<long long>(a[i]) - b[i]);
            if (step >= 2 || (step == 1 && ++differences > 1))
                return false;
        }
        return true;
    };
    std::vector<std::vector<std::vector<int>>> clusters;
    for (const Rule& row : rules) {
        std::vector<int> rule;
        for (const std::string& cell : row.cells)
            rule.push_back(CellTermNumber(cell));
        std::vector<std::vector<int>>* first = nullptr;
        for (auto& cluster : clusters) {
            bool isAdjacent = false;
            for (const auto& member : cluster)
                isAdjacent = isAdjacent || adjacent(member, rule);
            if (!isAdjacent)
                continue;
            if (first == nullptr) {
                first = &cluster;
                first->push_back(rule);
            } else {
                first->insert(first->end(), cluster.begin(), cluster.end());
                cluster.clear();
            }
        }
        if (first == nullptr)
            clusters.push_back({rule});
    }
    return clusters;
}

TEST(ApproxLearnRules, AgreesWithTheMemberByMemberWalkOnRandomSets) {
    const unsigned seed = 7321;
    std::mt19937 random(seed);
    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
        const int variables = 1 + static_cast<int>(random() % 4);
        const int terms = 2 + static_cast<int>(random() % 6);
        const int rows = static_cast<int>(random() % 120);
        Rules rules;
        for (int r = 0; r < rows; ++r) {
            Cells row;
            for (int v = 0; v < variables; ++v) {
                std::string cell = "p";
                cell += std::to_string(v);
                cell += '_';
                cell += std::to_string(random() % terms);
                row.push_back(std::move(cell));
            }
            rules.AddRule(row);
        }

        ClusterIndexRules learner;
        ApproxLearnRules(learner, rules);
        const auto expected = ClusterByWalkingEveryMember(rules);
        ASSERT_EQ(learner.Clusters().size(), expected.size());
        for (std::size_t c = 0; c < expected.size(); ++c) {
            std::vector<std::vector<int>> members;
            for (const IndexRule& member : learner.Clusters()[c].members) {
                members.push_back(member.indices);
            }
            ASSERT_EQ(members, expected[c]) << "cluster " << c;
        }
    }
}

}  // namespace
