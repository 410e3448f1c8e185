#include "core/lang/CBasicSettings.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "core/sets/CFuzzyDiscreteSet.h"
#include "core/sets/CFuzzyQuadraticSet.h"
#include "core/sets/CFuzzyTriangSet.h"
#include "core/text/ESyntax.h"

namespace {

constexpr double kTolerance = 1e-12;

std::vector<double> Samples(const CFuzzyDiscreteSet& set) {
    std::vector<double> samples;
    for (int k = 0; k < set.Count(); ++k)
        samples.push_back(set.Sample(k));
    return samples;
}

std::vector<double> Parse(const CBasicSettings& settings, const std::string& text, int n) {
    return Samples(*settings.ParseValue(text, n));
}

// The message, position and text of the ESyntax that text raises, or "no error".
std::string ErrorOf(const CBasicSettings& settings, const std::string& text, int n = 11) {
    try {
        settings.ParseValue(text, n);
    } catch (const ESyntax& error) {
        return error.Message() + " @" + std::to_string(error.Position()) + " [" + error.Text() +
               "]";
    }
    return "no error";
}

void AddTerm(CBasicSettings& settings, std::vector<std::string> names,
             std::unique_ptr<CFuzzySet> set) {
    settings.AddTerm(std::make_unique<CNamedTerm>(std::move(names), std::move(set)));
}

TEST(CBasicSettingsParseValue, FixedTermsAreSampledOnTheNormalisedAxis) {
    CLinguisticSettings settings(0, 10);
    const auto value = settings.ParseValue("ve sm", 11);
    EXPECT_EQ(value->Count(), 11);
    EXPECT_EQ(value->GetLowerBound(), 0);
    EXPECT_EQ(value->GetUpperBound(), 10);
    EXPECT_FALSE(value->IsTemporary());
    const auto meaning = settings.MakeTermSet(0, 2);
    for (int k = 0; k <= 10; ++k)
        EXPECT_EQ(value->Sample(k), meaning->Membership(k / 10.0)) << "sample " << k;
    EXPECT_EQ(value->Sample(0), 1.0);
    EXPECT_NEAR(value->Sample(1), 1 - 0.5 * (0.07 / 0.114) * (0.07 / 0.114), kTolerance);
}

// ParseValue samples onto the grid of ToDiscrete: every term of every context, in short and in
// long form, gives the very samples of its meaning.
TEST(CBasicSettingsParseValue, EveryTermEqualsItsMeaningSampledOnTheGrid) {
    for (auto [lo, hi] : {std::pair{0.0, 1.0}, std::pair{-3.0, 3.0}, std::pair{2.0, 7.5}}) {
        CLinguisticSettings settings(lo, hi);
        const bool symmetric = settings.IsSymmetric();
        for (const CLingTerm& row : settings.TermTable()) {
            for (int sign : symmetric ? std::vector<int>{1, -1} : std::vector<int>{0}) {
                CLingTerm term = row;
                term.sign = sign;
                std::string text;
                ASSERT_EQ(term.GetText(text), 0);
                if (sign == 1)
                    text = "+" + text;
                const int kind = row.kind + (sign == 1 ? 4 : sign == -1 ? 8 : 0);
                for (int n : {1, 2, 11, 301}) {
                    SCOPED_TRACE(text + " on [" + std::to_string(lo) + ", " + std::to_string(hi) +
                                 "], n " + std::to_string(n));
                    const auto expected = settings.MakeTermSet(kind, row.hedge)->ToDiscrete(n);
                    EXPECT_EQ(Parse(settings, text, n), Samples(*expected));
                }
            }
        }
    }
    CLinguisticSettings settings(0, 1);
    EXPECT_EQ(Parse(settings, "very roughly big", 31), Parse(settings, "vr bi", 31));
    EXPECT_EQ(Parse(settings, "more or less medium", 31), Parse(settings, "ml me", 31));
    EXPECT_EQ(Parse(settings, "-ve sm", 31), Parse(settings, "-very small", 31));
    EXPECT_EQ(Parse(settings, "- ve sm", 31), Parse(settings, "-ve sm", 31));
}

TEST(CBasicSettingsParseValue, NegationAndItsHalvesInASymmetricContext) {
    CTriangSettings triang(0, 10);
    const auto small = triang.Terms()[0]->Element().ToDiscrete(11);
    const std::vector<double> negated = Parse(triang, "not sm", 11);
    for (int k = 0; k < 11; ++k)
        EXPECT_EQ(negated[k], 1 - small->Sample(k));
    EXPECT_EQ(Parse(triang, "no small", 11), negated);

    CLinguisticSettings symmetric(-10, 10);
    const int n = 21;
    const std::vector<double> upper = Parse(symmetric, "not sm", n);
    const std::vector<double> lower = Parse(symmetric, "-not sm", n);
    const auto sm = symmetric.MakeTermSet(0, -1)->ToDiscrete(n);
    const auto minusSm = symmetric.MakeTermSet(8, -1)->ToDiscrete(n);
    for (int k = 0; k < n; ++k) {
        EXPECT_EQ(upper[k], k < n / 2 ? 0.0 : 1 - sm->Sample(k)) << k;
        EXPECT_EQ(lower[k], k >= n / 2 ? 0.0 : 1 - minusSm->Sample(k)) << k;
    }
    // Only the last operand's "not" halves the result.
    const std::vector<double> notFirst = Parse(symmetric, "not sm or ze", n);
    EXPECT_EQ(notFirst[0], 1.0);

    CTriangSettings basicSymmetric(-3, 3);
    basicSymmetric.UpdateSymmetry();
    const std::vector<double> notZero = Parse(basicSymmetric, "not ze", 7);
    EXPECT_EQ(notZero, (std::vector<double>{0, 0, 0, 0, 1, 1, 1}));
}

TEST(CBasicSettingsParseValue, ConnectivesActLeftToRightWithinParentheses) {
    CLinguisticSettings settings(0, 1);
    const int n = 101;
    const auto sm = Parse(settings, "sm", n), me = Parse(settings, "me", n),
               bi = Parse(settings, "bi", n);
    const auto leftToRight = Parse(settings, "sm or me and bi", n);
    const auto grouped = Parse(settings, "sm or (me and bi)", n);
    for (int k = 0; k < n; ++k) {
        EXPECT_EQ(leftToRight[k], std::min(std::max(sm[k], me[k]), bi[k]));
        EXPECT_EQ(grouped[k], std::max(sm[k], std::min(me[k], bi[k])));
    }
    EXPECT_EQ(Parse(settings, "(sm or me) and bi", n), leftToRight);
    EXPECT_EQ(Parse(settings, "((sm))", n), sm);
    EXPECT_EQ(Parse(settings, "(sm or(me))and bi", n), leftToRight);
    EXPECT_EQ(Parse(settings, "  sm   or  me and   bi  ", n), leftToRight);
    const auto ze = Parse(settings, "ze", n);
    const auto nested = Parse(settings, "ze or (sm and (me or (bi and ze)))", n);
    for (int k = 0; k < n; ++k)
        EXPECT_EQ(nested[k],
                  std::max(ze[k], std::min(sm[k], std::max(me[k], std::min(bi[k], ze[k])))));
}

TEST(CBasicSettingsParseValue, NumbersSpecialWordsAndUserTerms) {
    CLinguisticSettings settings(0, 10);
    const auto about = settings.MakeFuzzyNumber(1)->ToDiscrete(11);
    EXPECT_EQ(Parse(settings, "about 1", 11), Samples(*about));
    EXPECT_EQ(Parse(settings, "about 1 or about 1", 11), Samples(*about));
    EXPECT_EQ(Parse(settings, "about 10", 11)[10], 1.0);
    EXPECT_EQ(Parse(settings, "undef", 5), std::vector<double>(5, 1.0));
    EXPECT_EQ(Parse(settings, "ignor and sm", 3), Parse(settings, "sm", 3));

    // A user term made for another context is sampled on its own axis.
    AddTerm(settings, {"mine", "mi"}, std::make_unique<CFuzzyTriangSet>(0, 2.5, 5, 0, 5));
    const std::vector<double> mine = Parse(settings, "mine", 11);
    for (int k = 0; k <= 10; ++k)
        EXPECT_NEAR(mine[k], k <= 5 ? k / 5.0 : (10 - k) / 5.0, kTolerance) << k;
    EXPECT_EQ(Parse(settings, "mi", 11), mine);
    const std::vector<double> notMine = Parse(settings, "not mine", 11);
    EXPECT_NEAR(notMine[2], 0.6, kTolerance);
    // A fixed hedge before a user term has no set to act on.
    EXPECT_EQ(Parse(settings, "ve mine", 11), mine);
}

TEST(CBasicSettingsParseValue, Errors) {
    CLinguisticSettings settings(0, 10);
    struct Case {
        const char* text;
        const char* error;
    } cases[] = {
        {"sm)", "too much right parentheses @3 [sm )]"},
        {"(sm", "missing right parenthesis @4 [( sm]"},
        {"sm bi", "connective expected @3 [sm bi]"},
        {"sm land bi", "no linguistic connective expected @10 [sm land bi]"},
        {"(sm lor bi) and me", "no linguistic connective expected @12 [( sm lor bi ) and me]"},
        {"about 11", "fuzzy number out of context @6 [about 11]"},
        {"about -0.5", "fuzzy number out of context @6 [about -0.5]"},
        {"about nan", "fuzzy number out of context @6 [about nan]"},
        {"about", "Number expected @5 [about]"},
        {"about x", "Number expected @6 [about x]"},
        {"+-sm", "bad sign @1 [+-sm]"},
        {"-ve +sm", "bad sign @4 [-ve +sm]"},
        {"", "atomic term expected @0 []"},
        {"   ", "atomic term expected @0 []"},
        {"xyz", "atomic term expected @0 [xyz]"},
        {"sm and", "atomic term expected @6 [sm and]"},
        {"()", "atomic term expected @2 [( )]"},
        {"ra me", "hedge not applicable to this atomic term @0 [ra me]"},
        {"ve ze", "hedge not applicable to this atomic term @0 [ve ze]"},
        {"Sm", "atomic term expected @0 [Sm]"},
        {"smx", "atomic term expected @0 [smx]"},
        {"undefx", "atomic term expected @0 [undefx]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf(settings, c.text), c.error) << c.text;
    EXPECT_EQ(ErrorOf(settings, "sm", 0), "bad value of discretization @0 [sm]");
    EXPECT_EQ(ErrorOf(settings, "sm", -301), "bad value of discretization @0 [sm]");

    CBasicSettings basic(0, 10);
    EXPECT_EQ(ErrorOf(basic, "sm"), "atomic term expected @0 [sm]");
    AddTerm(basic, {"sm"}, std::make_unique<CFuzzyTriangSet>(0, 0, 5, 0, 10));
    EXPECT_EQ(ErrorOf(basic, "sm land sm"), "connective expected @3 [sm land sm]");
    EXPECT_EQ(ErrorOf(basic, "sm and sm"), "no error");
}

TEST(CBasicSettingsParseLingTerm, LastFixedTermBeforeTheFirstOtherWord) {
    CLinguisticSettings settings(-1, 1);
    AddTerm(settings, {"mine"}, std::make_unique<CFuzzyTriangSet>(0, 0, 1, -1, 1));
    struct Case {
        const char* text;
        int result, kind, hedge, sign;
    } cases[] = {
        {"-ve sm", 0, 0, 2, -1},
        {"+bi", 0, 2, -1, 0},
        {"-ze", 0, 3, -1, -1},
        {"very roughly big", 0, 2, 7, 0},
        {"ve sm and bi", 0, 0, 2, 0},
        {"sm bi", 0, 2, -1, 0},
        {"sm mine", 0, 0, -1, 0},
        {"not sm", 0, 0, -1, 0},
        {"-not me", 0, 1, -1, -1},
        {"mine", -1, 7, 7, 0},
        {"about 0.5", -1, 7, 7, 0},
        {"(sm)", -1, 7, 7, 0},
        {"", -1, 7, 7, 0},
        {"-ve", -1, 7, 7, 0},
    };
    for (const Case& c : cases) {
        CLingTerm term(7, 7, 0, 0);
        term.sign = 5;
        EXPECT_EQ(settings.ParseLingTerm(c.text, term), c.result) << c.text;
        EXPECT_EQ(term.kind, c.kind) << c.text;
        EXPECT_EQ(term.hedge, c.hedge) << c.text;
        EXPECT_EQ(term.sign, c.sign) << c.text;
    }
    CLingTerm term;
    try {
        settings.ParseLingTerm("sm +-bi", term);
        ADD_FAILURE() << "no error";
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Message(), "bad sign");
        EXPECT_EQ(error.Position(), 4);
        EXPECT_EQ(error.Text(), "sm +-bi");
    }
    CTriangSettings triang(0, 1);
    EXPECT_EQ(triang.ParseLingTerm("sm", term), -1);  // user terms only
}

struct NormalizeCase {
    const char* text;
    const char* expected;  // the long form, or the error as "message @position"
};

std::string NormalizeOrError(CBasicSettings& settings, const std::string& text) {
    try {
        return settings.NormalizeText(text);
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Text(), text);
        return error.Message() + " @" + std::to_string(error.Position());
    }
}

TEST(CBasicSettingsNormalizeText, LinguisticTexts) {
    CLinguisticSettings settings(-10, 10);
    AddTerm(settings, {"warm", "wa"}, std::make_unique<CFuzzyTriangSet>(0, 5, 10, -10, 10));
    const NormalizeCase cases[] = {
        {"ve sm and bi", "very small and big"},
        {"(sm or bi) and ze", "(small or big) and zero"},
        {"ve sm and (ml bi or ze)", "very small and (more or less big or zero)"},
        {"vr bi", "very roughly big"},
        {"very roughly big", "very roughly big"},
        {"-ve sm", "-very small"},
        {"- sm", "-small"},
        {"+ex bi", "+extremely big"},
        {"about  3", "about 3"},
        {"about -2.5e0 or wa", "about -2.5e0 or warm"},
        {"no me", "not medium"},
        {"sm land bi lor ze", "small shem ham and az big fug ho or az zero"},
        {"  ( ( sm ) )  ", "((small))"},
        {"(sm)and bi", "connective expected @4"},
        {"sm and(bi)", "connective expected @3"},
        {"sm and (bi)", "small and (big)"},
        {"about3", "Space required @5"},
        {"about", "Space required @5"},
        {"about x", "Number expected @6"},
        {"about 12", "fuzzy number out of context @6"},
        {"sm bi", "connective expected @3"},
        {"(sm", "missing right parenthesis @3"},
        {"sm)", "too much right parentheses @2"},
        {"", "atomic term expected @0"},
        {"ve", "atomic term expected @2"},
        {"ve ve sm", "atomic term expected @3"},
        {"smx", "atomic term expected @0"},
    };
    for (const NormalizeCase& c : cases)
        EXPECT_EQ(NormalizeOrError(settings, c.text), c.expected) << c.text;

    CLinguisticSettings positive(0, 1);
    EXPECT_EQ(NormalizeOrError(positive, "sm or -sm"),
              "negative term is not allowed in this context @6");
    EXPECT_EQ(NormalizeOrError(positive, "about 1"), "about 1");
}

TEST(CBasicSettingsNormalizeText, BasicTextsAndTheTermRead) {
    CTriangSettings settings(0, 10);
    EXPECT_EQ(settings.NormalizeText("ve sm and no bi"), "very small and not big");
    EXPECT_EQ(settings.NormalizeText("ro me or big"), "roughly medium or big");

    CLingTerm term;
    settings.NormalizeText("ro me", &term);
    EXPECT_EQ(term.kind, CLingTerm::kUserTerm);
    EXPECT_EQ(term.userIndex, 1);
    EXPECT_EQ(term.hedge, 2);  // the row of "roughly" in the settings' own list
    settings.NormalizeText("sm and bi", &term);
    EXPECT_EQ(term.kind, CLingTerm::kCompound);
    settings.NormalizeText("about 4", &term);
    EXPECT_EQ(term.kind, CLingTerm::kFuzzyNumber);

    CLinguisticSettings linguistic(-1, 1);
    linguistic.NormalizeText("-ve sm", &term);
    EXPECT_EQ(term.kind, 0);
    EXPECT_EQ(term.hedge, 2);
    EXPECT_EQ(term.sign, -1);
    linguistic.NormalizeText("not bi", &term);
    EXPECT_EQ(term.kind, 2);
    EXPECT_EQ(term.hedge, CLingTerm::kNegation);
    EXPECT_THROW(linguistic.NormalizeText("sm or", &term), ESyntax);
    EXPECT_EQ(term.kind, CLingTerm::kCompound);
}

TEST(CBasicSettingsNormalizeText, NestingIsBounded) {
    CLinguisticSettings settings(0, 1);
    const std::string deep = std::string(200, '(') + "sm" + std::string(200, ')');
    EXPECT_EQ(settings.NormalizeText(deep), deep.substr(0, 200) + "small" + deep.substr(202));
    const std::string tooDeep = std::string(1001, '(') + "sm" + std::string(1001, ')');
    EXPECT_EQ(NormalizeOrError(settings, tooDeep), "parser stack overflow @1000");
}

}  // namespace
