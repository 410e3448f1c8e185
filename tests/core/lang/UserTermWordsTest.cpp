#include "core/lang/UserTermWords.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/lang/CLinCSettings.h"
#include "core/lang/CLinguisticSettings.h"
#include "tests/core/lang/ExpressionTestSupport.h"

namespace {

struct RenameCase {
    const char* text;
    std::map<std::string, std::string> renames;
    const char* renamed;
};

class UserTermWordsTest : public ::testing::Test {
  protected:
    UserTermWordsTest() {
        for (auto names : std::vector<std::vector<std::string>>{
                 {"hot", "ho"}, {"comfortable"}, {"a"}, {"b"}, {"sm"}})
            expression_test::AddUserTerm(terms_, names);
    }

    CLinguisticSettings terms_{0, 10};
};

TEST_F(UserTermWordsTest, RenamesReachEveryWordOfTheTermAndNothingElse) {
    const RenameCase cases[] = {
        {"comfortable", {{"comfortable", "cosy"}}, "cosy"},
        {"ho and not comfortable", {{"comfortable", "cosy"}}, "ho and not cosy"},
        // A short form is a name of its own.
        {"ho or (hot)", {{"hot", "warm"}}, "ho or (warm)"},
        {"a or  b", {{"a", "b"}, {"b", "a"}}, "b or  a"},
        // A user term named like a keyword is read as the term.
        {"ve sm", {{"sm", "little"}}, "ve little"},
        {"ve bi and about 5", {{"bi", "x"}, {"about", "x"}}, "ve bi and about 5"},
        // Inside a longer word the name is no word of its own.
        {"hotter or ab", {{"hot", "warm"}, {"a", "c"}}, "hotter or ab"},
        {"", {{"a", "c"}}, ""},
    };
    for (const RenameCase& c : cases)
        EXPECT_EQ(RenameUserTerms(terms_, c.text, c.renames), c.renamed) << c.text;
}

TEST_F(UserTermWordsTest, UsesAreWordsTheLexerReads) {
    EXPECT_TRUE(UsesUserTermName(terms_, "ho and not comfortable", "comfortable"));
    EXPECT_TRUE(UsesUserTermName(terms_, "ho and not comfortable", "ho"));
    EXPECT_FALSE(UsesUserTermName(terms_, "ho and not comfortable", "hot"));
    EXPECT_FALSE(UsesUserTermName(terms_, "comfortable2", "comfortable"));
    // Cells of a linear combination name no terms.
    EXPECT_TRUE(FindUserTermWords(CLinCSettings(0, 1), "a + b").empty());
}

}  // namespace
