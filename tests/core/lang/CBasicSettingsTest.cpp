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

std::vector<double> Samples(const CFuzzyDiscreteSet& set) {
    std::vector<double> samples;
    for (int k = 0; k < set.Count(); ++k)
        samples.push_back(set.Sample(k));
    return samples;
}

std::vector<double> Parse(const CBasicSettings& settings, const std::string& text, int n) {
    return Samples(*settings.ParseValue(text, n));
}

void AddTerm(CBasicSettings& settings, std::vector<std::string> names,
             std::unique_ptr<CFuzzySet> set) {
    settings.AddTerm(std::make_unique<CNamedTerm>(std::move(names), std::move(set)));
}

// Every term in every kind of context, short and long, gives the very samples of its meaning
// on the grid of ToDiscrete, and the set lies on the context.
TEST(CBasicSettingsParseValue, TermsAreTheirMeaningsSampledOnTheGrid) {
    for (auto [lo, hi] : {std::pair{0.0, 1.0}, std::pair{-3.0, 3.0}, std::pair{2.0, 7.5}}) {
        CLinguisticSettings settings(lo, hi);
        for (const CLingTerm& row : settings.TermTable()) {
            for (int sign : settings.IsSymmetric() ? std::vector{1, -1} : std::vector{0}) {
                CLingTerm term = row;
                term.sign = sign;
                std::string text;
                term.GetText(text);
                const int kind = row.kind + (sign == 1 ? 4 : sign == -1 ? 8 : 0);
                for (int n : {1, 2, 301}) {
                    SCOPED_TRACE(text + " on [" + std::to_string(lo) + ", " + std::to_string(hi) +
                                 "], n " + std::to_string(n));
                    const auto value = settings.ParseValue(sign == 1 ? "+" + text : text, n);
                    EXPECT_EQ(Samples(*value),
                              Samples(*settings.MakeTermSet(kind, row.hedge)->ToDiscrete(n)));
                    EXPECT_EQ(value->GetLowerBound(), lo);
                    EXPECT_EQ(value->GetUpperBound(), hi);
                    EXPECT_FALSE(value->IsTemporary());
                }
            }
        }
    }
    CLinguisticSettings settings(-1, 1);
    EXPECT_EQ(Parse(settings, "very roughly big", 31), Parse(settings, "vr bi", 31));
    EXPECT_EQ(Parse(settings, "- very small", 31), Parse(settings, "-ve sm", 31));
}

TEST(CBasicSettingsParseValue, NegationKeepsOneHalfOfASymmetricContext) {
    CTriangSettings triang(0, 10);
    const auto small = triang.Terms()[0]->Element().ToDiscrete(11);
    const std::vector<double> negated = Parse(triang, "not sm", 11);
    for (int k = 0; k < 11; ++k)
        EXPECT_EQ(negated[k], 1 - small->Sample(k));

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
    EXPECT_EQ(Parse(symmetric, "not sm or ze", n)[0], 1.0);  // only a last "not" halves

    CTriangSettings triangSymmetric(-3, 3);
    triangSymmetric.UpdateSymmetry();
    EXPECT_EQ(Parse(triangSymmetric, "not ze", 7), (std::vector<double>{0, 0, 0, 0, 1, 1, 1}));
}

TEST(CBasicSettingsParseValue, ConnectivesActLeftToRightWithinParentheses) {
    CLinguisticSettings settings(0, 1);
    const int n = 101;
    const auto sm = Parse(settings, "sm", n), me = Parse(settings, "me", n),
               bi = Parse(settings, "bi", n), ze = Parse(settings, "ze", n);
    const auto leftToRight = Parse(settings, "sm or me and bi", n);
    const auto grouped = Parse(settings, "sm or (me and bi)", n);
    const auto nested = Parse(settings, "ze or (sm and (me or (bi and ze)))", n);
    for (int k = 0; k < n; ++k) {
        EXPECT_EQ(leftToRight[k], std::min(std::max(sm[k], me[k]), bi[k]));
        EXPECT_EQ(grouped[k], std::max(sm[k], std::min(me[k], bi[k])));
        EXPECT_EQ(nested[k],
                  std::max(ze[k], std::min(sm[k], std::max(me[k], std::min(bi[k], ze[k])))));
    }
    EXPECT_EQ(Parse(settings, "  ((sm or(me))and bi)  ", n), leftToRight);
}

TEST(CBasicSettingsParseValue, NumbersSpecialWordsAndUserTerms) {
    CLinguisticSettings settings(0, 10);
    EXPECT_EQ(Parse(settings, "about 1", 11),
              Samples(*settings.MakeFuzzyNumber(1)->ToDiscrete(11)));
    EXPECT_EQ(Parse(settings, "undef", 5), std::vector<double>(5, 1.0));
    EXPECT_EQ(Parse(settings, "ignor and sm", 3), Parse(settings, "sm", 3));
    // A user term made for another context is sampled on its own axis. (AddTerm would put it
    // on the context, as the rulebase file does.)
    settings.MutableTerms().push_back(
        std::make_unique<CNamedTerm>(std::vector<std::string>{"mine", "mi"},
                                     std::make_unique<CFuzzyTriangSet>(0, 2.5, 5, 0, 5)));
    const std::vector<double> mine = Parse(settings, "mi", 11);
    for (int k = 0; k <= 10; ++k)
        EXPECT_NEAR(mine[k], k <= 5 ? k / 5.0 : (10 - k) / 5.0, 1e-12) << k;
    EXPECT_NEAR(Parse(settings, "not mine", 11)[2], 0.6, 1e-12);
}

TEST(CBasicSettingsParseValue, Errors) {
    CLinguisticSettings settings(0, 10);
    CBasicSettings basic(0, 10);
    AddTerm(basic, {"sm"}, std::make_unique<CFuzzyTriangSet>(0, 0, 5, 0, 10));
    struct Case {
        const CBasicSettings& settings;
        const char* text;
        int n;
        const char* error;  // message @position [spaced-out text]
    } cases[] = {
        {settings, "sm)", 11, "too much right parentheses @3 [sm )]"},
        {settings, "(sm", 11, "missing right parenthesis @4 [( sm]"},
        {settings, "sm bi", 11, "connective expected @3 [sm bi]"},
        {settings, "sm land bi", 11, "no linguistic connective expected @10 [sm land bi]"},
        // Found when the next connective has been read: the cursor stands behind it.
        {settings, "sm land bi and me", 11,
         "no linguistic connective expected @15 [sm land bi and me]"},
        {settings, "(sm lor bi)", 11, "no linguistic connective expected @12 [( sm lor bi )]"},
        {settings, "about 11", 11, "fuzzy number out of context @6 [about 11]"},
        {settings, "about nan", 11, "fuzzy number out of context @6 [about nan]"},
        {settings, "about x", 11, "Number expected @6 [about x]"},
        {settings, "+-sm", 11, "bad sign @1 [+-sm]"},
        {settings, "-ve +sm", 11, "bad sign @4 [-ve +sm]"},
        {settings, "   ", 11, "atomic term expected @0 []"},
        {settings, "sm and", 11, "atomic term expected @6 [sm and]"},
        {settings, "()", 11, "atomic term expected @2 [( )]"},
        {settings, "smx", 11, "atomic term expected @0 [smx]"},
        {settings, "ra me", 11, "hedge not applicable to this atomic term @0 [ra me]"},
        {settings, "sm", 0, "bad value of discretization @0 [sm]"},
        {basic, "sm land sm", 11, "connective expected @3 [sm land sm]"},
    };
    for (const Case& c : cases) {
        try {
            c.settings.ParseValue(c.text, c.n);
            ADD_FAILURE() << c.text << " parsed";
        } catch (const ESyntax& error) {
            EXPECT_EQ(error.Message() + " @" + std::to_string(error.Position()) + " [" +
                          error.Text() + "]",
                      c.error);
        }
    }
}

TEST(CBasicSettingsParseLingTerm, LastFixedTermBeforeTheFirstOtherWord) {
    CLinguisticSettings settings(-1, 1);
    AddTerm(settings, {"mine"}, std::make_unique<CFuzzyTriangSet>(0, 0, 1, -1, 1));
    struct Case {
        const char* text;
        int result, kind, hedge, sign;
    } cases[] = {
        {"-ve sm", 0, 0, 2, -1},      {"+bi", 0, 2, -1, 0},   {"-ze", 0, 3, -1, -1},
        {"ve sm and bi", 0, 0, 2, 0}, {"sm bi", 0, 2, -1, 0}, {"sm mine", 0, 0, -1, 0},
        {"not sm", 0, 0, -1, 0},      {"mine", -1, 7, 7, 0},  {"about 0.5", -1, 7, 7, 0},
    };
    for (const Case& c : cases) {
        CLingTerm term(7, 7, 0, 0);
        EXPECT_EQ(settings.ParseLingTerm(c.text, term), c.result) << c.text;
        EXPECT_EQ(std::vector({term.kind, term.hedge, term.sign}),
                  std::vector({c.kind, c.hedge, c.sign}))
            << c.text;
    }
    CLingTerm term;
    EXPECT_THROW(settings.ParseLingTerm("sm +-bi", term), ESyntax);
}

TEST(CBasicSettingsCombine, AClickedWordReplacesItsPartOfTheCell) {
    CLinguisticSettings settings(0, 1);
    AddTerm(settings, {"mine"}, std::make_unique<CFuzzyTriangSet>(0, 0, 1, 0, 1));
    CLinguisticSettings symmetric(-1, 1);
    struct Case {
        const CBasicSettings& settings;
        const char *cell, *word, *result;
    } cases[] = {
        {settings, "ve sm", "big", "ve bi"},
        {settings, "ve sm", "ro", "ro sm"},
        {settings, "very small", "and", "ve sm"},
        {settings, "", "bi", "bi"},
        {settings, "ve sm", "mine", "mine"},
        {symmetric, "ve sm", "-bi", "-ve bi"},
        // Nothing to print: the cell stays as it is rather than become "N/A".
        {settings, "", "ro", ""},
        {settings, "sm and bi", "and", "sm and bi"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.settings.CombineExpressions(c.cell, c.word), c.result)
            << c.cell << "+" << c.word;
}

TEST(CBasicSettingsNormalizeText, LongFormsAndErrors) {
    CLinguisticSettings settings(-10, 10);
    AddTerm(settings, {"warm", "wa"}, std::make_unique<CFuzzyTriangSet>(0, 5, 10, -10, 10));
    CLinguisticSettings positive(0, 1);
    CTriangSettings triang(0, 10);
    const std::string deep = std::string(200, '(') + "sm" + std::string(200, ')');
    const std::string tooDeep = std::string(1001, '(') + "sm" + std::string(1001, ')');
    struct Case {
        CBasicSettings& settings;
        std::string text;
        std::string expected;  // the long form, or "message @position"
    } cases[] = {
        {settings, "ve sm and (ml bi or ze)", "very small and (more or less big or zero)"},
        {settings, "  ( -ex sm ) lor wa", "(-extremely small) fug ho or az warm"},
        {settings, "about  -2.5e0 land no me", "about -2.5e0 shem ham and az not medium"},
        {triang, "ve sm and no bi", "very small and not big"},
        {settings, "(sm)and bi", "connective expected @4"},
        {settings, "about3", "Space required @5"},
        {settings, "about x", "Number expected @6"},
        {settings, "about 12", "fuzzy number out of context @6"},
        {settings, "(sm", "missing right parenthesis @3"},
        {settings, "sm)", "too much right parentheses @2"},
        {settings, "ve ve sm", "atomic term expected @3"},
        {positive, "sm or -sm", "negative term is not allowed in this context @6"},
        {positive, deep, deep.substr(0, 200) + "small" + deep.substr(202)},
        {positive, tooDeep, "parser stack overflow @1000"},
    };
    for (Case& c : cases) {
        std::string result;
        try {
            result = c.settings.NormalizeText(c.text);
        } catch (const ESyntax& error) {
            EXPECT_EQ(error.Text(), c.text);
            result = error.Message() + " @" + std::to_string(error.Position());
        }
        EXPECT_EQ(result, c.expected) << c.text.substr(0, 40);
    }

    CLingTerm term;
    triang.NormalizeText("ro me", &term);
    EXPECT_EQ(std::vector({term.kind, term.userIndex, term.hedge}), std::vector({-3, 1, 2}));
    settings.NormalizeText("-ve sm", &term);
    EXPECT_EQ(std::vector({term.kind, term.hedge, term.sign}), std::vector({0, 2, -1}));
    settings.NormalizeText("not bi", &term);
    EXPECT_EQ(term.hedge, CLingTerm::kNegation);
    settings.NormalizeText("about 4 or sm", &term);
    EXPECT_EQ(term.kind, CLingTerm::kCompound);
}

}  // namespace
