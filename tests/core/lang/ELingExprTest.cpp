#include "core/lang/ELingExpr.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/lang/CFEParser.h"
#include "core/lang/CLinCSettings.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/text/ESyntax.h"
#include "tests/core/lang/ExpressionTestSupport.h"

namespace {

class ELingExprTest : public ::testing::Test {
  protected:
    ELingExprTest() { expression_test::AddUserTerm(symmetric_, {"mine", "mi"}); }

    std::unique_ptr<ELingExpr> Parse(const CSettings& settings, const char* text) {
        auto tree = settings.Parser().Parse(text);
        EXPECT_NE(tree, nullptr) << text;
        return tree ? std::move(tree) : std::make_unique<EUndefExpr>();
    }

    static std::string Error(const ELingExpr& node) {
        try {
            node.Validate();
            return "valid";
        } catch (const ESyntax& error) {
            return error.Message() + " at " + std::to_string(error.Position()) + error.Text();
        }
    }

    CLinguisticSettings unit_{0, 10}, symmetric_{-10, 10};
    CLinCSettings crisp_{0, 10};
};

TEST_F(ELingExprTest, ToTextGivesTheNormalisedLongForm) {
    const std::pair<const char*, const char*> cases[] = {
        {"ve sm", "very small"},
        {"(sm or bi) and ze", "(small or big) and zero"},
        {"sm or ((bi and ze))", "small or (big and zero)"},
        {"(sm)", "small"},
        {"about  3", "about 3"},
        {"about 2.50", "about 2.5"},
        {"-ze or +ro ze", "-zero or +roughly zero"},
        {"not me and no ze", "no medium and no zero"},
        {"-vr bi or ml me", "-very roughly big or more or less medium"},
        {"mi", "mine"},
        {"undef", "undef"},
        {"about 1234567", "about 1.23457e+06"},
        {"about 0.00001", "about 1e-05"},
        {"about -0", "about -0"},
    };
    for (const auto& [text, printed] : cases)
        EXPECT_EQ(Parse(symmetric_, text)->ToText(), printed) << text;
    EXPECT_EQ(Parse(crisp_, "1e20")->ToText(), "1e+20");
    EXPECT_EQ(ESingletonExpr(0.1 + 0.2).ToText(), "0.3");
    EXPECT_EQ(EUserTerm(&symmetric_, 1).ToText(), "");  // the row no longer exists
    EXPECT_EQ(EUserTerm(nullptr, 0).ToText(), "");
}

TEST_F(ELingExprTest, ToLingTermSetsOnlyItsOwnFields) {
    struct Case {
        const char* text;
        int kind, hedge, sign, userIndex;
    };
    // The record starts as kind 99, hedge 77, sign 55, user index 33.
    const Case cases[] = {
        {"-ve sm", 0, 2, -1, 33},
        {"+me", 1, -1, 1, 33},
        {"no bi", 2, 8, 0, 33},
        {"ro ze", 3, 5, 0, 33},
        {"mine", CLingTerm::kUserTerm, 77, 55, 0},
        {"about 3", CLingTerm::kFuzzyNumber, 77, 55, 33},
        {"(sm or bi)", CLingTerm::kCompound, 77, 55, 33},
        {"undef", CLingTerm::kUndef, 77, 55, 33},
        {"ignor", CLingTerm::kIgnor, 77, 55, 33},
    };
    for (const Case& c : cases) {
        CLingTerm term(99, 77, 0, 0);
        term.sign = 55;
        term.userIndex = 33;
        Parse(symmetric_, c.text)->ToLingTerm(term);
        EXPECT_EQ((std::vector<int>{term.kind, term.hedge, term.sign, term.userIndex}),
                  (std::vector<int>{c.kind, c.hedge, c.sign, c.userIndex}))
            << c.text;
    }
}

TEST_F(ELingExprTest, ValidateChecksNumbersAndSignsAgainstTheContext) {
    EXPECT_EQ(Error(*Parse(unit_, "about 10")), "valid");
    EXPECT_EQ(Error(*Parse(unit_, "about 0")), "valid");
    EXPECT_EQ(Error(*Parse(unit_, "about 12")), "fuzzy number out of context at -2");
    EXPECT_EQ(Error(*Parse(unit_, "about nan")), "fuzzy number out of context at -2");
    // The parser refuses "-" in such a context already; a tree built by hand is still checked.
    EFuzzyTerm negative(&unit_, -1, 0);
    negative.SetSign(-1);
    EXPECT_EQ(Error(negative), "negative term is not allowed in this context at -2");
    EXPECT_EQ(Error(EFuzzyNumber(nullptr, 1e9)), "valid");

    // A compound is valid when its operands are; the leftmost failure is reported.
    EXPECT_EQ(Error(*Parse(unit_, "sm and (about 3 or about 11)")),
              "fuzzy number out of context at -2");
    auto left = std::make_unique<EFuzzyTerm>(&unit_, 2, 0);
    left->SetSign(-1);
    const EBinaryExpr both(std::move(left), EBinaryExpr::kOr,
                           std::make_unique<EFuzzyNumber>(&unit_, 12));
    EXPECT_EQ(Error(both), "negative term is not allowed in this context at -2");
}

TEST_F(ELingExprTest, RescaleClampAndRangeActOnNumbersOnly) {
    auto about = Parse(unit_, "about 2.5");
    about->Rescale(0, 100, 0, 10);
    EXPECT_EQ(about->ToText(), "about 25");
    auto crisp = Parse(crisp_, "0.5");
    crisp->Rescale(0, 100, 0, 10);
    EXPECT_EQ(crisp->ToText(), "5");

    auto far = Parse(unit_, "about 12");
    EXPECT_FALSE(far->IsInRange(0, 10));
    EXPECT_TRUE(far->IsInRange(0, 12));
    far->Clamp(0, 10);
    EXPECT_EQ(far->ToText(), "about 10");
    auto below = Parse(crisp_, "-3");
    below->Clamp(0, 10);
    EXPECT_EQ(below->ToText(), "0");

    // A compound is in range and unchanged whatever its operands hold.
    auto compound = Parse(unit_, "about 12 or sm");
    EXPECT_TRUE(compound->IsInRange(0, 10));
    compound->Rescale(0, 100, 0, 10);
    compound->Clamp(0, 1);
    EXPECT_EQ(compound->ToText(), "about 12 or small");
    EXPECT_TRUE(compound->IsSameNode(*compound));
    EXPECT_FALSE(compound->IsSameNode(*far));
}

TEST_F(ELingExprTest, HugeTreesPrintAndFreeWithoutRecursing) {
    // Far deeper than a stack would take by recursion, leaning left, right and both ways.
    constexpr int kDepth = 300000;
    std::unique_ptr<ELingExpr> left = std::make_unique<EZeroTerm>(&unit_, -1);
    std::unique_ptr<ELingExpr> right = std::make_unique<EZeroTerm>(&unit_, -1);
    std::unique_ptr<ELingExpr> zigzag = std::make_unique<EZeroTerm>(&unit_, -1);
    for (int i = 0; i < kDepth; ++i) {
        left = std::make_unique<EBinaryExpr>(std::move(left), i % 2,
                                             std::make_unique<EFuzzyTerm>(&unit_, -1, 2));
        right = std::make_unique<EBinaryExpr>(std::make_unique<EZeroTerm>(&unit_, -1), 0,
                                              std::move(right));
        auto leaf = std::make_unique<EZeroTerm>(&unit_, 5);
        zigzag = i % 2 ? std::make_unique<EBinaryExpr>(std::move(zigzag), 1, std::move(leaf))
                       : std::make_unique<EBinaryExpr>(std::move(leaf), 1, std::move(zigzag));
    }
    const std::string text = left->ToText();
    EXPECT_EQ(text.size(), 4 + kDepth / 2 * (std::string(" and big or big").size()));
    EXPECT_EQ(text.substr(0, 20), "zero and big or big ");
    EXPECT_EQ(Error(*left), "valid");
}

}  // namespace
