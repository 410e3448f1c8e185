#include "core/lang/CFEParser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/lang/CLinCSettings.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "core/lang/WordTables.h"
#include "tests/core/lang/ExpressionTestSupport.h"

namespace {

using expression_test::Describe;

enum Owner { kUnit, kSymmetric, kSkewed, kCrisp, kNone, kUser };

struct ParseCase {
    Owner owner;
    const char* text;
    const char* outcome;  // the tree, or "<state> at <position>: <message>"
};

class CFEParserTest : public ::testing::Test {
  protected:
    CFEParserTest() {
        for (auto names :
             std::vector<std::vector<std::string>>{{"sm"}, {"mine", "mi"}, {"very"}, {""}})
            expression_test::AddUserTerm(user_, names);
    }

    CFEParser& Parser(Owner owner) {
        CSettings* owners[] = {&unit_, &symmetric_, &skewed_, &crisp_, nullptr, &user_};
        return owners[owner] ? owners[owner]->Parser() : none_;
    }

    std::string Outcome(Owner owner, const char* text) {
        CFEParser& parser = Parser(owner);
        const auto tree = parser.Parse(text);
        if (tree)
            return Describe(*tree);
        return std::to_string(static_cast<int>(parser.State())) + " at " +
               std::to_string(parser.SavedTokenStart()) + ": " + parser.LastError();
    }

    CLinguisticSettings unit_{0, 1}, symmetric_{-1, 1}, skewed_{-1, 2}, user_{0, 10};
    CLinCSettings crisp_{0, 1};
    CFEParser none_{nullptr};
};

TEST_F(CFEParserTest, TreesAndRejections) {
    const ParseCase cases[] = {
        {kUnit, "ve sm and (ml bi or ze)", "and(very small, [or(more or less big, zero)])"},
        {kUnit, "sm or me and bi", "or(small, and(medium, big))"},
        {kUnit, "sm and me or bi", "or(and(small, medium), big)"},
        {kUnit, "sm or me or bi", "or(or(small, medium), big)"},
        {kUnit, "(sm or bi) and ze", "and([or(small, big)], zero)"},
        {kUnit, "((sm or(bi)))", "[or(small, big)]"},
        {kUnit, "very roughly big", "very roughly big"},
        {kUnit, "vr bi", "very roughly big"},
        {kUnit, "very  big", "very big"},
        {kUnit, "\tnot me and qr sm ", "and(no medium, quite roughly small)"},
        {kUnit, "ex sm or si bi or ra sm",
         "or(or(extremely small, significantly big), rather small)"},
        {kUnit, "ro ze or no ze or ro me", "or(or(roughly zero, no zero), roughly medium)"},
        {kUnit, "+ ve bi", "+very big"},
        {kUnit, "about  -2.5e0", "about -2.5"},
        {kUnit, "undef", "undef"},
        {kUnit, "ignor", "ignor"},
        {kUnit, "", "0 at 0: parse error"},
        {kUnit, "   ", "0 at 3: parse error"},
        {kUnit, "ve", "0 at 2: parse error"},
        {kUnit, "ve me", "0 at 3: parse error"},
        {kUnit, "ex ze", "0 at 3: parse error"},
        {kUnit, "ve ve sm", "0 at 3: parse error"},
        {kUnit, "about sm", "0 at 6: parse error"},
        {kUnit, "+about 3", "0 at 1: parse error"},
        {kUnit, "sm bi", "0 at 3: parse error"},
        {kUnit, "(sm", "0 at 3: parse error"},
        {kUnit, "sm)", "0 at 2: parse error"},
        {kUnit, "undef or sm", "0 at 6: parse error"},
        {kUnit, "Small", "0 at 0: parse error"},
        {kUnit, "sm\xe9", "0 at 2: parse error"},
        {kUnit, "about 3x", "0 at 6: parse error"},
        {kUnit, "0.5", "0 at 0: Singleton is allowed only in singleton variable."},
        {kUnit, "-sm", "2 at 0: Not allowed sign"},
        {kUnit, "sm and -ve bi", "2 at 7: Not allowed sign"},
        {kSkewed, "-sm", "2 at 0: Not allowed sign"},
        {kSkewed, "about -0.5", "about -0.5"},
        {kSymmetric, "-sm", "-small"},
        {kSymmetric, "-ve sm or +ro ze", "or(-very small, +roughly zero)"},
        {kCrisp, "0.5", "0.5"},
        {kCrisp, " -1e3 ", "-1000"},
        {kCrisp, "0x10", "16"},
        {kCrisp, "0.5x", "0 at 0: parse error"},
        {kCrisp, "1 2", "0 at 2: parse error"},
        {kCrisp, "about 0.5",
         "0 at 9: Linguistic expression is allowed only in linguistic variable."},
        {kCrisp, "undef", "0 at 0: Linguistic expression is allowed only in linguistic variable."},
        {kNone, "ve sm", "very small"},
        {kNone, "0.5", "0.5"},
        {kNone, "-sm or about 70", "or(-small, about 70)"},
        {kNone, "mine", "0 at 0: parse error"},
        {kUser, "sm", "sm"},
        {kUser, "small", "small"},
        {kUser, "(mi or ex bi)", "[or(mine, extremely big)]"},
        {kUser, "ve sm", "0 at 3: parse error"},
        {kUser, "very roughly big", "0 at 5: parse error"},
        {kUser, "mines", "0 at 0: parse error"},
        {kUser, "not mine", "0 at 4: parse error"},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(Outcome(c.owner, c.text), c.outcome) << c.text;

    CTriangSettings triang(0, 10);  // its atomic terms are user terms
    EXPECT_EQ(Describe(*triang.Parser().Parse("sm or big")), "or(small, big)");
    EXPECT_EQ(triang.Parser().Parse("ve sm"), nullptr);
}

TEST_F(CFEParserTest, LexerTakesTheLongestWordAndNumbersNotFollowedByALetter) {
    using P = CFEParser;
    const std::pair<const char*, std::vector<int>> cases[] = {
        {"very roughly big", {P::kVr, P::kBi}},
        {"very  roughly", {P::kVe, P::kRo}},
        {"more or lesser", {'m', 'o', 'r', 'e', P::kOr, 'l', 'e', 's', 's', 'e', 'r'}},
        {"not no andor", {P::kNot, P::kNot, 'a', 'n', 'd', P::kOr}},
        {"-0.5 - 5 -sm", {P::kNumber, '-', P::kNumber, '-', P::kSm}},
        {"5x 5) 1ez", {'5', 'x', P::kNumber, ')', '1', 'e', 'z'}},
        {"about3 nan", {'a', 'b', 'o', 'u', 't', P::kNumber, P::kNumber}},
        {"\xff\x80,", {0xff, 0x80, ','}},
    };
    for (const auto& [text, expected] : cases) {
        CFEParser& parser = Parser(kUnit);
        parser.SetInput(text);
        std::vector<int> tokens;
        for (int token = parser.NextToken(); token != P::kEndOfText; token = parser.NextToken())
            tokens.push_back(token);
        EXPECT_EQ(tokens, expected) << text;
    }
    CFEParser& parser = Parser(kUnit);
    parser.SetInput("  vr  -2.5e1");
    EXPECT_EQ(parser.NextToken(), P::kVr);
    EXPECT_EQ(parser.TokenCode(), 7);
    EXPECT_EQ(parser.NextToken(), P::kNumber);
    EXPECT_EQ(parser.TokenNumber(), -25.0);
    EXPECT_EQ(parser.TokenStart(), 6);
}

TEST_F(CFEParserTest, ReusedParserHandsOutIndependentTrees) {
    CFEParser& parser = Parser(kUnit);
    auto first = parser.Parse("ve sm and bi");
    EXPECT_EQ(parser.Parse("ve sm and"), nullptr);
    auto third = parser.Parse("ze");
    EXPECT_EQ(Describe(*first), "and(very small, big)");
    EXPECT_EQ(Describe(*third), "zero");
    EXPECT_EQ(parser.State(), ParserState::kGood);
    EXPECT_EQ(parser.Owner(), &unit_);
}

TEST_F(CFEParserTest, StacksGrowToTenThousandEntries) {
    CFEParser& parser = Parser(kUnit);
    const std::string fits = std::string(9000, '(') + "sm or bi" + std::string(9000, ')');
    parser.SetInput(fits.c_str());
    EXPECT_EQ(parser.RunParser(), CFEParser::kAccepted);
    EXPECT_EQ(Describe(*parser.TakeResult()), "[or(small, big)]");

    // Three entries per level; the nodes built on the way are freed.
    std::string deep;
    for (int i = 0; i < 4000; ++i)
        deep += "sm or (";
    parser.SetInput(deep.c_str());
    EXPECT_EQ(parser.RunParser(), CFEParser::kStackOverflow);
    EXPECT_EQ(parser.LastError(), "parser stack overflow");
    EXPECT_EQ(parser.TakeResult(), nullptr);
}

// Random well-formed cells in any spelling: short or full words, blanks, tabs, parentheses.
std::string RandomCell(std::mt19937& random, int depth) {
    const auto pick = [&](int n) { return static_cast<int>(random() % n); };
    const auto word = [&](const FixedWord& w) {
        return std::string(pick(2) ? w.full : w.shortForm);
    };
    const auto blank = [&] { return std::string(pick(4) ? " " : " \t "); };
    if (depth > 0 && pick(3)) {
        std::string text = RandomCell(random, depth - 1) + blank() + (pick(2) ? "and" : "or") +
                           blank() + RandomCell(random, depth - 1);
        return pick(4) ? text : "(" + text + ")";
    }
    static const std::vector<std::vector<int>> kHedgesOf = {
        {0, 1, 2, 3, 4, 5, 6, 7, 8}, {4, 5, 6, 7, 8}, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {5, 8}};
    const int atom = pick(5);
    if (atom == 4)
        return "about" + blank() + std::to_string(pick(21) - 10) + (pick(2) ? ".25" : "");
    std::string text = pick(3) ? "" : pick(2) ? "-" : "+";
    if (pick(2)) {
        const int hedge = kHedgesOf[atom][pick(static_cast<int>(kHedgesOf[atom].size()))];
        text += (hedge == 8 ? std::string(pick(2) ? "not" : "no") : word(kHedges[hedge])) + blank();
    }
    return text + word(kAtomicTerms[atom]);
}

TEST_F(CFEParserTest, PrintedTreesParseToTheSameTree) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        CLinguisticSettings settings(-10, 10);
        for (int i = 0; i < 1000; ++i) {
            const std::string text = RandomCell(random, 4);
            const auto tree = settings.Parser().Parse(text);
            ASSERT_NE(tree, nullptr) << text;
            const auto reparsed = settings.Parser().Parse(tree->ToText());
            ASSERT_NE(reparsed, nullptr) << tree->ToText();
            EXPECT_EQ(Describe(*reparsed), Describe(*tree)) << text;
        }
    }
}

}  // namespace
