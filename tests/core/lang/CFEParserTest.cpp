#include "core/lang/CFEParser.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/lang/CLinCSettings.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "tests/core/lang/ExpressionTestSupport.h"

namespace {

using expression_test::AddUserTerm;
using expression_test::Describe;

struct TreeCase {
    const char* text;
    const char* tree;
};

struct RejectCase {
    const char* text;
    int state;
    int position;
    const char* message;
};

class CFEParserTest : public ::testing::Test {
  protected:
    CLinguisticSettings unit_{0, 1};
    CLinguisticSettings symmetric_{-1, 1};
    CLinCSettings singleton_{0, 1};
};

TEST_F(CFEParserTest, BuildsTheTreeOfEveryFormOfCell) {
    const TreeCase cases[] = {
        {"ve sm and (ml bi or ze)", "and(ve sm, [or(ml bi, ze)])"},
        {"sm or me and bi", "or(sm, and(me, bi))"},
        {"sm and me or bi", "or(and(sm, me), bi)"},
        {"sm or me or bi", "or(or(sm, me), bi)"},
        {"sm and me and bi", "and(and(sm, me), bi)"},
        {"(sm or bi) and ze", "and([or(sm, bi)], ze)"},
        {"((sm or bi))", "[or(sm, bi)]"},
        {"(sm)", "sm"},
        {"sm or(bi)", "or(sm, bi)"},
        {"very roughly big", "vr bi"},
        {"vr bi", "vr bi"},
        {"very  big", "ve bi"},
        {"more or less medium", "ml me"},
        {"quite roughly small", "qr sm"},
        {"extremely small", "ex sm"},
        {"significantly big", "si bi"},
        {"rather small", "ra sm"},
        {"not big", "no bi"},
        {"no me", "no me"},
        {"ro me", "ro me"},
        {"vr me", "vr me"},
        {"zero", "ze"},
        {"roughly zero", "ro ze"},
        {"not ze", "no ze"},
        {"+sm", "+sm"},
        {"+ ve bi", "+ve bi"},
        {"about 3", "about 3"},
        {"about  -2.5", "about -2.5"},
        {"about 1e-3", "about 0.001"},
        {"about .5", "about 0.5"},
        {"undef", "undef"},
        {"ignor", "ignor"},
        {"\tsm \t", "sm"},
    };
    for (const TreeCase& c : cases) {
        EXPECT_EQ(Describe(unit_.Parser().Parse(c.text)), c.tree) << c.text;
        EXPECT_EQ(unit_.Parser().State(), CFEParser::kStateGood) << c.text;
    }
}

TEST_F(CFEParserTest, RejectsWithStateAndThePositionOfTheOffendingToken) {
    const RejectCase cases[] = {
        {"", 0, 0, "parse error"},
        {"   ", 0, 3, "parse error"},
        {"ve", 0, 2, "parse error"},
        {"ve me", 0, 3, "parse error"},
        {"ex ze", 0, 3, "parse error"},
        {"ve ro ze", 0, 3, "parse error"},
        {"ve ve sm", 0, 3, "parse error"},
        {"about sm", 0, 6, "parse error"},
        {"+about 3", 0, 1, "parse error"},
        {"sm bi", 0, 3, "parse error"},
        {"sm or", 0, 5, "parse error"},
        {"(sm", 0, 3, "parse error"},
        {"sm)", 0, 2, "parse error"},
        {"()", 0, 1, "parse error"},
        {"Small", 0, 0, "parse error"},
        {"smx", 0, 0, "parse error"},
        {"sm\xe9", 0, 2, "parse error"},
        {"0.5x", 0, 0, "parse error"},
        {"about 3x", 0, 6, "parse error"},
        {"0.5", 0, 0, "Singleton is allowed only in singleton variable."},
        {"-sm", 2, 0, "Not allowed sign"},
        {"sm and -ve bi", 2, 7, "Not allowed sign"},
        {"- ze", 2, 0, "Not allowed sign"},
    };
    for (const RejectCase& c : cases) {
        EXPECT_EQ(unit_.Parser().Parse(c.text), nullptr) << c.text;
        EXPECT_EQ(unit_.Parser().State(), c.state) << c.text;
        EXPECT_EQ(unit_.Parser().SavedTokenStart(), c.position) << c.text;
        EXPECT_EQ(unit_.Parser().LastError(), c.message) << c.text;
    }
}

TEST_F(CFEParserTest, SignsNeedAContextSymmetricAboutZero) {
    EXPECT_EQ(Describe(symmetric_.Parser().Parse("-sm")), "-sm");
    EXPECT_EQ(Describe(symmetric_.Parser().Parse("-ve sm or +ro ze")), "or(-ve sm, +ro ze)");
    EXPECT_EQ(Describe(symmetric_.Parser().Parse("- ze")), "-ze");
    EXPECT_EQ(Describe(unit_.Parser().Parse("+sm")), "+sm");

    CLinguisticSettings skewed(-1, 2);
    EXPECT_EQ(skewed.Parser().Parse("-sm"), nullptr);
    EXPECT_EQ(skewed.Parser().State(), CFEParser::kStateForbiddenSign);
    // A leading minus before digits belongs to the number, not to a sign.
    EXPECT_EQ(Describe(skewed.Parser().Parse("about -0.5")), "about -0.5");
}

TEST_F(CFEParserTest, CrispNumbersOnlyForOwnersWithoutUserTerms) {
    const TreeCase numbers[] = {
        {"0.5", "#0.5"}, {"-0.5", "#-0.5"}, {" 1e3 ", "#1000"},
        {".5", "#0.5"},  {"+2", "#2"},      {"0x10", "#16"},
    };
    for (const TreeCase& c : numbers)
        EXPECT_EQ(Describe(singleton_.Parser().Parse(c.text)), c.tree) << c.text;

    for (const char* text : {"about 0.5", "sm", "undef", "(sm or bi)"}) {
        EXPECT_EQ(singleton_.Parser().Parse(text), nullptr) << text;
        EXPECT_EQ(singleton_.Parser().LastError(),
                  "Linguistic expression is allowed only in linguistic variable.")
            << text;
        EXPECT_EQ(singleton_.Parser().State(), CFEParser::kStateFailed) << text;
    }
    EXPECT_EQ(singleton_.Parser().Parse("0.5x"), nullptr);
    EXPECT_EQ(singleton_.Parser().Parse("1 2"), nullptr);
}

TEST_F(CFEParserTest, WithoutAnOwnerEveryKindOfCellIsAccepted) {
    CFEParser parser(nullptr);
    EXPECT_EQ(Describe(parser.Parse("ve sm")), "ve sm");
    EXPECT_EQ(Describe(parser.Parse("0.5")), "#0.5");
    EXPECT_EQ(Describe(parser.Parse("-sm")), "-sm");
    EXPECT_EQ(Describe(parser.Parse("about 70")), "about 70");
    EXPECT_EQ(parser.Parse("mine"), nullptr);
    EXPECT_EQ(parser.Parse(static_cast<const char*>(nullptr)), nullptr);
}

TEST_F(CFEParserTest, UserTermsComeBeforeKeywords) {
    CLinguisticSettings settings(0, 10);
    AddUserTerm(settings, {"sm"});
    AddUserTerm(settings, {"mine", "mi"});
    AddUserTerm(settings, {"very"});
    AddUserTerm(settings, {""});  // an empty name must not match everywhere
    const TreeCase cases[] = {
        {"sm", "user:0"},
        {"small", "sm"},
        {"mine and bi", "and(user:1, bi)"},
        {"(mi or ve sm)", nullptr},
        {"(mi or ex bi)", "[or(user:1, ex bi)]"},
        {"very", "user:2"},
        {"very roughly big", nullptr},
        {"mines", nullptr},
        {"+mine", nullptr},
        {"not mine", nullptr},
    };
    for (const TreeCase& c : cases) {
        const auto tree = settings.Parser().Parse(c.text);
        EXPECT_EQ(Describe(tree), c.tree ? c.tree : "null") << c.text;
    }
    ASSERT_NE(settings.Parser().Parse("mine"), nullptr);
    EXPECT_EQ(settings.Parser().LastItem(), CFEParser::kLastUserTerm);

    // "triang" settings carry their atomic terms as user terms.
    CTriangSettings triang(0, 10);
    EXPECT_EQ(Describe(triang.Parser().Parse("small or big")), "or(user:0, user:2)");
}

struct TokenCase {
    const char* text;
    std::vector<int> tokens;
};

TEST_F(CFEParserTest, LexerTakesTheLongestWordAndNumbersNotFollowedByLetters) {
    using P = CFEParser;
    const TokenCase cases[] = {
        {"very roughly big", {P::kVr, P::kBi}},
        {"very  roughly", {P::kVe, P::kRo}},
        {"more or less", {P::kMl}},
        {"more or lesser", {'m', 'o', 'r', 'e', P::kOr, 'l', 'e', 's', 's', 'e', 'r'}},
        {"quite roughly", {P::kQr}},
        {"not no", {P::kNot, P::kNot}},
        {"andor", {'a', 'n', 'd', P::kOr}},
        {"sm,", {P::kSm, ','}},
        {"sm(bi)", {P::kSm, '(', P::kBi, ')'}},
        {"-0.5", {P::kNumber}},
        {"- 5", {'-', P::kNumber}},
        {"-sm", {'-', P::kSm}},
        {"5x", {'5', 'x'}},
        {"5)", {P::kNumber, ')'}},
        {"1ez", {'1', 'e', 'z'}},
        {"2.5e+3)", {P::kNumber, ')'}},
        {"about 3", {P::kAbout, P::kNumber}},
        {"about3", {'a', 'b', 'o', 'u', 't', P::kNumber}},
        {"\xff\x80", {0xff, 0x80}},
        {"ignor undef ze zero", {P::kIgnor, P::kUndef, P::kZe, P::kZe}},
    };
    for (const TokenCase& c : cases) {
        CFEParser parser(&unit_);
        parser.SetInput(c.text);
        std::vector<int> tokens;
        for (int token = parser.NextToken(); token != P::kEndOfText; token = parser.NextToken())
            tokens.push_back(token);
        EXPECT_EQ(tokens, c.tokens) << c.text;
    }
}

TEST_F(CFEParserTest, TokenValuesAndStarts) {
    CFEParser parser(&unit_);
    parser.SetInput("  vr  -2.5e1 about");
    EXPECT_EQ(parser.NextToken(), CFEParser::kVr);
    EXPECT_EQ(parser.TokenCode(), 7);
    EXPECT_EQ(parser.TokenStart(), 2);
    EXPECT_EQ(parser.NextToken(), CFEParser::kNumber);
    EXPECT_EQ(parser.TokenNumber(), -25.0);
    EXPECT_EQ(parser.TokenStart(), 6);
    EXPECT_EQ(parser.NextToken(), CFEParser::kAbout);
    EXPECT_EQ(parser.TokenCode(), EModifTerm::kAbout);
    EXPECT_EQ(parser.NextToken(), CFEParser::kEndOfText);
    EXPECT_EQ(parser.NextToken(), CFEParser::kEndOfText);

    parser.SetInput("nan inf");
    EXPECT_EQ(parser.NextToken(), CFEParser::kNumber);
    EXPECT_TRUE(std::isnan(parser.TokenNumber()));
    EXPECT_EQ(parser.NextToken(), CFEParser::kNumber);
    EXPECT_TRUE(std::isinf(parser.TokenNumber()));
}

TEST_F(CFEParserTest, LastItemRemembersTheHedgeOfAnUnfinishedText) {
    struct HedgeCase {
        const char* text;
        int lastItem;
        int savedValue;
    };
    const HedgeCase cases[] = {
        {"ve", CFEParser::kLastHedge, 2},    {"ro", CFEParser::kLastHedge, 5},
        {"ml", CFEParser::kLastHedge, 4},    {"no", CFEParser::kLastHedge, 8},
        {"ra", CFEParser::kLastHedge, 3},    {"sm and vr", CFEParser::kLastHedge, 7},
        {"ve sm", CFEParser::kLastAtom, -1}, {"ve sm and", CFEParser::kLastAtom, -1},
        {"", CFEParser::kLastNone, -1},      {"about 3", CFEParser::kLastNone, -1},
    };
    for (const HedgeCase& c : cases) {
        unit_.Parser().Parse(c.text);
        EXPECT_EQ(unit_.Parser().LastItem(), c.lastItem) << c.text;
        if (c.savedValue >= 0) {
            EXPECT_EQ(unit_.Parser().SavedValue(), c.savedValue) << c.text;
        }
    }
}

TEST_F(CFEParserTest, OneParserServesParseAfterParse) {
    CFEParser& parser = unit_.Parser();
    EXPECT_EQ(&parser, &unit_.Parser());
    EXPECT_EQ(parser.Owner(), &unit_);
    auto first = parser.Parse("ve sm and bi");
    EXPECT_EQ(parser.Parse("ve sm and"), nullptr);
    auto third = parser.Parse("ze");
    // Earlier trees belong to the caller and survive later parses, good or bad.
    EXPECT_EQ(Describe(first), "and(ve sm, bi)");
    EXPECT_EQ(Describe(third), "ze");
    EXPECT_EQ(parser.State(), CFEParser::kStateGood);
    EXPECT_EQ(parser.LastError(), "");

    // RunParser keeps the tree until it is taken or the next parse starts.
    parser.SetInput("ro ze");
    EXPECT_EQ(parser.RunParser(), CFEParser::kAccepted);
    EXPECT_EQ(Describe(parser.TakeResult()), "ro ze");
    EXPECT_EQ(parser.TakeResult(), nullptr);
}

TEST_F(CFEParserTest, StackOverflowBeyondTenThousandEntries) {
    const auto nested = [](int depth) {
        return std::string(depth, '(') + "sm or bi" + std::string(depth, ')');
    };
    CFEParser& parser = unit_.Parser();
    const std::string fits = nested(9000);
    parser.SetInput(fits.c_str());
    EXPECT_EQ(parser.RunParser(), CFEParser::kAccepted);
    EXPECT_EQ(Describe(parser.TakeResult()), "[or(sm, bi)]");

    const std::string deep = nested(10000);
    parser.SetInput(deep.c_str());
    EXPECT_EQ(parser.RunParser(), CFEParser::kStackOverflow);
    EXPECT_EQ(parser.LastError(), "parser stack overflow");
    EXPECT_EQ(parser.State(), CFEParser::kStateFailed);
    EXPECT_EQ(parser.TakeResult(), nullptr);

    // Nodes built before the overflow are freed (the sanitized build checks it).
    std::string loaded;
    for (int i = 0; i < 6000; ++i)
        loaded += "sm or (";
    loaded += "sm" + std::string(6000, ')');
    EXPECT_EQ(parser.Parse(loaded), nullptr);
    EXPECT_EQ(parser.LastError(), "parser stack overflow");
}

TEST_F(CFEParserTest, LongTextsParseWithoutDeepRecursion) {
    std::string chain = "sm";
    while (chain.size() < 100000)
        chain += " or ve bi and ze";
    const auto tree = unit_.Parser().Parse(chain);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->Kind(), ELingExpr::kBinary);
    std::string text;
    tree->ToText(text);
    EXPECT_EQ(text.rfind("small or very big and zero or very big and zero", 0), 0u);
    EXPECT_EQ(unit_.Parser().Parse(text)->ToText(), text);

    std::string numbers;
    for (int i = 0; numbers.size() < 100000; ++i)
        numbers += "(about-" + std::to_string(i % 10) + ")or";
    numbers += " ze";
    CLinguisticSettings wide(-10, 10);
    ASSERT_NE(wide.Parser().Parse(numbers), nullptr);
}

// Random well-formed cells in any spelling: short or full words, extra blanks and tabs,
// redundant parentheses.
class CellWriter {
  public:
    explicit CellWriter(unsigned seed) : random_(seed) {}

    std::string Expression(int depth) {
        if (depth == 0 || Pick(3) == 0)
            return Term();
        std::string text = Expression(depth - 1) + Blank() + (Pick(2) ? "and" : "or") + Blank();
        const std::string right = Expression(depth - 1);
        text += Pick(3) == 0 ? "(" + right + ")" : right;
        return Pick(4) == 0 ? "(" + Blank() + text + Blank() + ")" : text;
    }

  private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    std::string Blank() {
        static const char* const kBlanks[] = {" ", "  ", "\t", " \t "};
        return kBlanks[Pick(4)];
    }

    std::string Word(const FixedWord& word) {
        return std::string(Pick(2) ? word.full : word.shortForm);
    }

    std::string Term() {
        static const int kAnyHedge[] = {0, 1, 2, 3, 4, 5, 6, 7, 8};
        static const int kMediumHedge[] = {4, 5, 6, 7, 8};
        static const int kZeroHedge[] = {5, 8};
        const std::string sign = Pick(3) == 0 ? (Pick(2) ? "-" : "+") : "";
        const auto hedge = [&](const int* hedges, int count) -> std::string {
            if (Pick(2) == 0)
                return "";
            const int h = hedges[Pick(count)];
            return (h == 8 ? std::string(Pick(2) ? "not" : "no") : Word(kHedges[h])) + Blank();
        };
        switch (Pick(6)) {
            case 0:
                return sign + hedge(kAnyHedge, 9) + Word(kAtomicTerms[0]);
            case 1:
                return sign + hedge(kAnyHedge, 9) + Word(kAtomicTerms[2]);
            case 2:
                return sign + hedge(kMediumHedge, 5) + Word(kAtomicTerms[1]);
            case 3:
                return sign + hedge(kZeroHedge, 2) + Word(kAtomicTerms[3]);
            case 4:
                return "about" + Blank() + std::to_string(Pick(21) - 10) + (Pick(2) ? ".25" : "");
            default:
                return Pick(2) ? "undef" : "ignor";
        }
    }

    std::mt19937 random_;
};

TEST_F(CFEParserTest, PrintedTreesParseToTheSameTree) {
    for (const unsigned seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        CellWriter writer(seed);
        CLinguisticSettings settings(-10, 10);
        for (int i = 0; i < 1000; ++i) {
            std::string text = writer.Expression(4);
            auto tree = settings.Parser().Parse(text);
            // "undef" and "ignor" stand only alone.
            const bool special =
                text.find("undef") != std::string::npos || text.find("ignor") != std::string::npos;
            if (special && tree == nullptr)
                continue;
            ASSERT_NE(tree, nullptr) << text << " / " << settings.Parser().SavedTokenStart();
            const std::string printed = tree->ToText();
            const auto reparsed = settings.Parser().Parse(printed);
            ASSERT_NE(reparsed, nullptr) << printed;
            EXPECT_EQ(Describe(reparsed), Describe(tree)) << text << " -> " << printed;
            EXPECT_EQ(reparsed->ToText(), printed);
        }
    }
}

}  // namespace
