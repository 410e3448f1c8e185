#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "core/lang/CBasicSettings.h"
#include "core/lang/CLinCSettings.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "core/lang/WordTables.h"
#include "core/sets/CFuzzyGaussianSet.h"
#include "core/sets/CFuzzyTrapezoidSet.h"
#include "core/sets/CFuzzyTriangSet.h"

namespace {

std::vector<double> Params(const CFuzzySet& set) {
    const auto& shape = dynamic_cast<const CFuzzyParamSet&>(set);
    std::vector<double> params(shape.ParamCount());
    shape.GetParams(params);
    return params;
}

std::vector<std::string> Names(const CBasicSettings& settings) {
    std::vector<std::string> names;
    for (const auto& term : settings.Terms())
        names.push_back(term->Name() + "/" + term->Names()[1]);
    return names;
}

template <class Settings>
int Match(const Settings& settings, int (Settings::*match)(const char*&) const, const char* text,
          std::string* rest = nullptr) {
    const char* cursor = text;
    const int code = (settings.*match)(cursor);
    if (rest)
        *rest = cursor;
    return code;
}

TEST(CSettingsKinds, TypeNamesAndDefaultVocabulary) {
    CBasicSettings basic(0, 1);
    CTriangSettings triang(0, 1);
    CLinguisticSettings linguistic(0, 1);
    CLinCSettings linc(0, 1);
    EXPECT_EQ(basic.GetTypeName(), "basic");
    EXPECT_EQ(triang.GetTypeName(), "triang");
    EXPECT_EQ(linguistic.GetTypeName(), "linguistic");
    EXPECT_EQ(linc.GetTypeName(), "linc");
    EXPECT_FALSE(linguistic.IsLinearCombination());
    EXPECT_TRUE(linc.IsLinearCombination());

    ASSERT_EQ(basic.Modifiers().size(), 1u);
    EXPECT_EQ(basic.Modifiers()[0]->Names(), (std::vector<std::string>{"not", "no"}));
    EXPECT_DOUBLE_EQ(basic.Modifiers()[0]->Element().Apply(0.25), 0.75);
    ASSERT_EQ(basic.Connectives().size(), 2u);
    EXPECT_EQ(basic.Connectives()[0]->Name(), "and");
    EXPECT_DOUBLE_EQ(basic.Connectives()[0]->Element().Apply(0.3, 0.6), 0.3);
    EXPECT_EQ(basic.Connectives()[1]->Name(), "or");
    EXPECT_DOUBLE_EQ(basic.Connectives()[1]->Element().Apply(0.3, 0.6), 0.6);
    EXPECT_TRUE(basic.Terms().empty());

    // "very" widens (square root), "roughly" narrows (square).
    ASSERT_EQ(triang.Modifiers().size(), 3u);
    EXPECT_EQ(triang.Modifiers()[1]->Name(), "very");
    EXPECT_DOUBLE_EQ(triang.Modifiers()[1]->Element().Apply(0.25), 0.5);
    EXPECT_EQ(triang.Modifiers()[2]->Name(), "roughly");
    EXPECT_DOUBLE_EQ(triang.Modifiers()[2]->Element().Apply(0.5), 0.25);
}

TEST(CSettingsKinds, SymmetryFollowsTheContext) {
    CLinguisticSettings settings(-10, 10);
    EXPECT_TRUE(settings.IsSymmetric());
    settings.SetContext(-10, 20);
    EXPECT_EQ(settings.UpdateSymmetry(), 0);
    EXPECT_FALSE(settings.IsSymmetric());
    CBasicSettings basic(-1, 1);
    EXPECT_FALSE(basic.IsSymmetric());  // only UpdateSymmetry sets it
    EXPECT_EQ(basic.UpdateSymmetry(), 1);
}

TEST(CTriangSettings, AtomicTermsSpreadOverTheContext) {
    CTriangSettings positive(0, 10);
    EXPECT_EQ(Names(positive), (std::vector<std::string>{"small/sm", "medium/me", "big/bi"}));
    EXPECT_EQ(Params(positive.Terms()[0]->Element()), (std::vector<double>{0, 0, 5}));
    EXPECT_EQ(Params(positive.Terms()[1]->Element()), (std::vector<double>{2.5, 5, 7.5}));
    EXPECT_EQ(Params(positive.Terms()[2]->Element()), (std::vector<double>{5, 10, 10}));

    CTriangSettings signed_(-3, 6);
    EXPECT_EQ(Names(signed_),
              (std::vector<std::string>{"-big/-bi", "-medium/-me", "-small/-sm", "zero/ze",
                                        "+small/+sm", "+medium/+me", "+big/+bi"}));
    EXPECT_EQ(Params(signed_.Terms()[0]->Element()), (std::vector<double>{-3, -3, -2}));
    EXPECT_EQ(Params(signed_.Terms()[3]->Element()), (std::vector<double>{-1, 0, 2}));
    EXPECT_EQ(Params(signed_.Terms()[6]->Element()), (std::vector<double>{4, 6, 6}));
    EXPECT_EQ(signed_.Terms()[3]->Element().GetLowerBound(), -3);

    for (auto [lo, hi] : std::array<std::pair<double, double>, 2>{{{1, 2}, {-2, -1}}}) {
        CTriangSettings none(lo, hi);
        EXPECT_TRUE(none.Terms().empty());
        EXPECT_EQ(none.Modifiers().size(), 3u);
    }
}

TEST(CSettingsMatch, WholeWordsOnlyAndTheCursorSkipsOneBlank) {
    CTriangSettings settings(0, 1);
    std::string rest;
    EXPECT_EQ(Match<CBasicSettings>(settings, &CBasicSettings::MatchAtomicTerm, "sm and bi", &rest),
              0);
    EXPECT_EQ(rest, "and bi");
    EXPECT_EQ(Match<CBasicSettings>(settings, &CBasicSettings::MatchAtomicTerm, "small", &rest), 0);
    EXPECT_EQ(rest, "");
    EXPECT_EQ(Match<CBasicSettings>(settings, &CBasicSettings::MatchAtomicTerm, "smallish"),
              kNoMatch);
    EXPECT_EQ(Match<CBasicSettings>(settings, &CBasicSettings::MatchAtomicTerm, "s"), kNoMatch);
    EXPECT_EQ(Match<CBasicSettings>(settings, &CBasicSettings::MatchModifier, "veryx"), kNoMatch);
    EXPECT_EQ(Match<CBasicSettings>(settings, &CBasicSettings::MatchModifier, "ro sm"), 2);
    EXPECT_EQ(Match<CBasicSettings>(settings, &CBasicSettings::MatchConnective, "or me"), 1);
    EXPECT_EQ(Match<CBasicSettings>(settings, &CBasicSettings::MatchConnective, "land"), kNoMatch);
}

TEST(CSettingsMatch, LinguisticFixedWordsComeFirstAndTheLongestWins) {
    CLinguisticSettings settings(-1, 1);
    settings.AddTerm(std::make_unique<CNamedTerm>(
        std::vector<std::string>{"ve"}, std::make_unique<CFuzzyTriangSet>(0, 0, 1, -1, 1)));
    settings.AddTerm(std::make_unique<CNamedTerm>(
        std::vector<std::string>{"mine", "mi"}, std::make_unique<CFuzzyTriangSet>(0, 0, 1, -1, 1)));
    using S = CBasicSettings;
    std::string rest;
    EXPECT_EQ(Match<S>(settings, &S::MatchModifier, "very roughly small", &rest), 107);
    EXPECT_EQ(rest, "small");
    EXPECT_EQ(Match<S>(settings, &S::MatchModifier, "very small", &rest), 102);
    EXPECT_EQ(Match<S>(settings, &S::MatchModifier, "more or less big", &rest), 104);
    EXPECT_EQ(rest, "big");
    EXPECT_EQ(Match<S>(settings, &S::MatchModifier, "no sm"), 0);  // own list: "not"/"no"
    // The user term "ve" is reached as an atomic term, where no fixed row matches.
    EXPECT_EQ(Match<S>(settings, &S::MatchAtomicTerm, "ve"), 0);
    EXPECT_EQ(Match<S>(settings, &S::MatchAtomicTerm, "-sm"), 108);
    EXPECT_EQ(Match<S>(settings, &S::MatchAtomicTerm, "+zero"), 107);
    EXPECT_EQ(Match<S>(settings, &S::MatchAtomicTerm, "mi and"), 1);
    EXPECT_EQ(Match<S>(settings, &S::MatchConnective, "land bi"), 100);
    EXPECT_EQ(Match<S>(settings, &S::MatchConnective, "fug ho or az bi"), 101);
    EXPECT_EQ(Match<S>(settings, &S::MatchConnective, "or bi"), 1);
}

TEST(CBasicSettingsTerms, BestTermPrefersTheFirstOfEqualDegrees) {
    CBasicSettings settings(0, 10);
    CLingTerm term(0, 2, 0, 0);
    EXPECT_FALSE(settings.BestTerm(3, term));
    EXPECT_EQ(term.kind, 0);
    settings.AddTerm(std::make_unique<CNamedTerm>(
        std::vector<std::string>{"low"}, std::make_unique<CFuzzyTriangSet>(0, 2, 6, 0, 10)));
    settings.AddTerm(std::make_unique<CNamedTerm>(
        std::vector<std::string>{"mid"}, std::make_unique<CFuzzyTriangSet>(2, 6, 10, 0, 10)));
    ASSERT_TRUE(settings.BestTerm(4, term));  // both 0.5
    EXPECT_EQ(term.kind, CLingTerm::kUserTerm);
    EXPECT_EQ(term.userIndex, 0);
    ASSERT_TRUE(settings.BestTerm(5, term));
    EXPECT_EQ(term.userIndex, 1);

    std::string text;
    EXPECT_EQ(settings.TermToText(term, text), 0);
    EXPECT_EQ(text, "mid");
    term.userIndex = 7;
    EXPECT_EQ(settings.TermToText(term, text), -1);
}

TEST(CBasicSettingsTerms, CopyTermsKeepsNamesAndParametersOnTheNewContext) {
    CBasicSettings source(0, 1);
    source.AddTerm(std::make_unique<CNamedTerm>(
        std::vector<std::string>{"warm", "wa"},
        std::make_unique<CFuzzyTrapezoidSet>(0.2, 0.4, 0.6, 0.8, 0, 1)));
    source.AddTerm(std::make_unique<CNamedTerm>(
        std::vector<std::string>{"hot"},
        std::make_unique<CFuzzyGaussianSet>(0.01, 0.8, 0.9, 0.02, 0, 1)));
    CLinguisticSettings target(0, 10);
    EXPECT_EQ(target.CopyTerms(source), 0);
    ASSERT_EQ(target.Terms().size(), 2u);
    EXPECT_EQ(target.Terms()[0]->Names(), (std::vector<std::string>{"warm", "wa"}));
    EXPECT_EQ(target.Terms()[0]->Element().GetTypeName(), "trapezoid");
    // As the rulebase file holds them.
    EXPECT_EQ(Params(target.Terms()[0]->Element()), (std::vector<double>{0.2f, 0.4f, 0.6f, 0.8f}));
    EXPECT_EQ(target.Terms()[0]->Element().GetUpperBound(), 10);
    EXPECT_EQ(target.Terms()[1]->Element().GetTypeName(), "gaussian");
    EXPECT_EQ(Params(target.Terms()[1]->Element()),
              (std::vector<double>{0.01f, 0.8f, 0.9f, 0.02f}));
}

}  // namespace
