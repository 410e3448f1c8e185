#include "core/rulebase/Rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/text/ESyntax.h"

namespace {

using Cells = std::vector<std::string>;

TEST(Rules, DuplicateCheckCountsEqualRows) {
    Rules rules(true);
    EXPECT_TRUE(rules.HasDuplicateCheck());
    EXPECT_TRUE(rules.AddRule({"small", "big"}));
    EXPECT_FALSE(rules.AddRule({"small", "big"}));
    EXPECT_FALSE(rules.AddRule({"small", "big"}));
    ASSERT_EQ(rules.Size(), 1u);
    EXPECT_EQ(rules[0], (Rule{{"small", "big"}, 3}));
}

TEST(Rules, WithoutDuplicateCheckEveryRowIsStored) {
    Rules rules;
    EXPECT_FALSE(rules.HasDuplicateCheck());
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(rules.AddRule({"small", "big"}));
    ASSERT_EQ(rules.Size(), 3u);
    for (const Rule& row : rules)
        EXPECT_EQ(row.count, 1);
}

TEST(Rules, RowsOfDifferentLengthOrTextDiffer) {
    Rules rules(true);
    EXPECT_TRUE(rules.AddRule({"sm"}));
    EXPECT_TRUE(rules.AddRule({"sm", "bi"}));
    EXPECT_TRUE(rules.AddRule({"sm", "bi", ""}));
    EXPECT_TRUE(rules.AddRule({"smbi"}));
    EXPECT_TRUE(rules.AddRule({"sm", "Bi"}));
    EXPECT_TRUE(rules.AddRule({}));
    EXPECT_FALSE(rules.AddRule({}));
    EXPECT_EQ(rules.Size(), 6u);
}

TEST(Rules, ManyRowsKeepInsertionOrderAndCounts) {
    Rules rules(true);
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 500; ++i) {
            if (i % 2 == 0 || round == 0) {
                EXPECT_EQ(rules.AddRule({"p1_" + std::to_string(i), "p2_" + std::to_string(i % 7)}),
                          round == 0);
            }
        }
    }
    ASSERT_EQ(rules.Size(), 500u);
    for (int i = 0; i < 500; ++i) {
        EXPECT_EQ(rules[i].cells[0], "p1_" + std::to_string(i));
        EXPECT_EQ(rules[i].count, i % 2 == 0 ? 3 : 1);
    }
}

class RuleSetFile : public ::testing::Test {
  protected:
    void SetUp() override {
        directory_ = std::filesystem::path(::testing::TempDir()) /
                     ("rules_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                      "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    std::string PathOf(const std::string& name) const { return (directory_ / name).string(); }
    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    std::filesystem::path directory_;
};

TEST_F(RuleSetFile, OneLineOfTabEndedCellsAndTheCountPerRow) {
    Rules rules(true);
    rules.AddRule({"small", "big"});
    rules.AddRule({"ve sm", "ml me", "-bi"});
    rules.AddRule({"small", "big"});
    const std::string path = PathOf("learned.rules");
    WriteRuleSetFile(rules, path);
    EXPECT_EQ(Contents(path), "small\tbig\t2\nve sm\tml me\t-bi\t1\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(RuleSetFile, AnEmptySetReplacesTheFileByAnEmptyOne) {
    const std::string path = PathOf("old.rules");
    std::ofstream(path) << "old\t1\n";
    WriteRuleSetFile(Rules(), path);
    EXPECT_EQ(Contents(path), "");
}

TEST_F(RuleSetFile, AFailedWriteLeavesTheOldFileAndNoTemporary) {
    // A name that just fits the file system leaves no room for a longer temporary name beside it.
    const std::string path = PathOf(std::string(245, 'k') + ".rules");
    std::ofstream(path) << "old\t1\n";
    Rules rules;
    rules.AddRule({"new"});
    WriteRuleSetFile(rules, path);
    EXPECT_EQ(Contents(path), "new\t1\n");

    // The target is a directory: refused, and nothing is left beside it.
    const std::string directoryPath = PathOf("folder");
    std::filesystem::create_directories(directoryPath + "/inside");
    EXPECT_THROW(WriteRuleSetFile(rules, directoryPath), ESyntax);
    EXPECT_TRUE(std::filesystem::is_directory(directoryPath + "/inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(directory_),
                            std::filesystem::directory_iterator()),
              2);

    EXPECT_THROW(WriteRuleSetFile(rules, PathOf("missing/x.rules")), ESyntax);
}

}  // namespace
