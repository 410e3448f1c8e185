#include "core/lang/CLinguisticSettings.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/sets/CFuzzyQuadraticSet.h"
#include "core/text/ESyntax.h"

namespace {

constexpr double kTolerance = 1e-12;
using Shape = std::array<double, 6>;

Shape Params(const CFuzzyQuadraticSet& set) {
    Shape params{};
    set.GetParams(params);
    return params;
}

void ExpectShape(const CFuzzyQuadraticSet& set, const Shape& expected, const std::string& what) {
    const Shape actual = Params(set);
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(actual[i], expected[i], kTolerance) << what << ", parameter " << i;
}

struct TermShape {
    int kind;
    int hedge;
    const char* text;
    Shape shape;
};

// Every row of the term table with the default parameters on [0, 1].
const TermShape kDefaultShapes[] = {
    {0, -1, "sm", {0, 0, 0, 0.05, 0.24, 0.36}},
    {0, 0, "ex sm", {0, 0, 0, 0.01, 0.048, 0.072}},
    {0, 1, "si sm", {0, 0, 0, 0.02, 0.096, 0.144}},
    {0, 2, "ve sm", {0, 0, 0, 0.03, 0.144, 0.216}},
    {0, 3, "ra sm", {0, 0, 0, 0.125, 0.3 - 0.175 * 12 / 31, 0.3}},
    {0, 4, "ml sm", {0, 0, 0, 0.119, 0.4 - 0.281 * 12 / 31, 0.4}},
    {0, 5, "ro sm", {0, 0, 0, 0.188, 0.4 - 0.212 * 12 / 31, 0.4}},
    {0, 6, "qr sm", {0, 0, 0, 0.257, 0.4 - 0.143 * 12 / 31, 0.4}},
    {0, 7, "vr sm", {0, 0, 0, 0.326, 0.4 - 0.074 * 12 / 31, 0.4}},
    {2, -1, "bi", {0.44, 0.6, 0.94, 1, 1, 1}},
    {2, 0, "ex bi", {0.888, 0.92, 0.988, 1, 1, 1}},
    {2, 1, "si bi", {0.776, 0.84, 0.976, 1, 1, 1}},
    {2, 2, "ve bi", {0.664, 0.76, 0.964, 1, 1, 1}},
    {2, 3, "ra bi", {1.6 / 3, 0.85 - (0.85 - 1.6 / 3) * 0.68, 0.85, 1, 1, 1}},
    {2, 4, "ml bi", {0.4, 0.5384, 0.8325, 1, 1, 1}},
    {2, 5, "ro bi", {0.4, 0.504, 0.725, 1, 1, 1}},
    {2, 6, "qr bi", {0.4, 0.4696, 0.6175, 1, 1, 1}},
    {2, 7, "vr bi", {0.4, 0.4352, 0.51, 1, 1, 1}},
    {1, -1, "me", {0.304, 0.348, 0.392, 0.408, 0.476, 0.544}},
    {1, 4, "ml me", {0.145, 0.257, 0.369, 0.436, 0.603, 0.77}},
    {1, 5, "ro me", {0.145, 0.2455, 0.346, 0.464, 0.617, 0.77}},
    {1, 6, "qr me", {0.145, 0.234, 0.323, 0.492, 0.631, 0.77}},
    {1, 7, "vr me", {0.145, 0.2225, 0.3, 0.52, 0.645, 0.77}},
    {3, -1, "ze", {0, 0, 0, 0, 0.025, 0.05}},
    {3, 5, "ro ze", {0, 0, 0, 0, 0.05, 0.1}},
};

TEST(CLinguisticSettingsShapes, EveryTermOfTheTableWithTheDefaultParameters) {
    CLinguisticSettings settings(0, 10);
    ASSERT_EQ(settings.TermTable().size(), std::size(kDefaultShapes));
    for (size_t row = 0; row < std::size(kDefaultShapes); ++row) {
        const TermShape& c = kDefaultShapes[row];
        const CLingTerm& term = settings.TermTable()[row];
        std::string text;
        term.GetText(text);
        EXPECT_EQ(text, c.text) << "row " << row;
        const auto set = settings.MakeTermSet(c.kind, c.hedge);
        ASSERT_NE(set, nullptr);
        EXPECT_EQ(set->GetLowerBound(), 0.0);
        EXPECT_EQ(set->GetUpperBound(), 1.0);
        ExpectShape(*set, c.shape, c.text);
    }
}

TEST(CLinguisticSettingsShapes, HedgeFactors) {
    CLinguisticSettings settings(0, 1);
    const auto table = settings.TermTable();
    const double a = 1.38, b = 43.0 / 24, c = 2.875, e = 3.5;
    const double expected[][2] = {
        {0, 0},
        {0.2, 0.2},
        {0.4, 0.4},
        {0.6, 0.6},
        {2.5, 2.5},
        {1 + a, 1 + a},
        {1 + 2 * a, 1 + 2 * a},
        {1 + 3 * a, 1 + 3 * a},
        {1 + 4 * a, 1 + 4 * a},
        {0, 0},
        {0.2, 0.2},
        {0.4, 0.4},
        {0.6, 0.6},
        {2.5, 2.5},
        {1 + b, 1 + b},
        {1 + 2 * b, 1 + 2 * b},
        {1 + 3 * b, 1 + 3 * b},
        {1 + 4 * b, 1 + 4 * b},
        {0, 0},
        {1 + c, 1 + e},
        {1 + 2 * c, 1 + 2 * e},
        {1 + 3 * c, 1 + 3 * e},
        {1 + 4 * c, 1 + 4 * e},
        {0, 0},
        {0, 0},
    };
    ASSERT_EQ(table.size(), std::size(expected));
    for (size_t row = 0; row < table.size(); ++row) {
        EXPECT_NEAR(table[row].d1, expected[row][0], kTolerance) << "row " << row;
        EXPECT_NEAR(table[row].d2, expected[row][1], kTolerance) << "row " << row;
    }
    EXPECT_NEAR(table[8].d1, 6.52, kTolerance);
    EXPECT_NEAR(table[17].d1, 8.1666666666666667, kTolerance);
    EXPECT_NEAR(table[22].d1, 12.5, kTolerance);
    EXPECT_NEAR(table[22].d2, 15, kTolerance);
}

TEST(CLinguisticSettingsShapes, SymmetricContextUsesBothHalvesOfTheAxis) {
    CLinguisticSettings settings(-10, 10);
    ASSERT_TRUE(settings.IsSymmetric());
    struct Case {
        int kind, hedge;
        Shape shape;
    } cases[] = {
        {3, -1, {-0.05, -0.025, 0, 0, 0.025, 0.05}},            // ze
        {7, -1, {0, 0, 0, 0, 0.025, 0.05}},                     // +ze
        {11, -1, {-0.05, -0.025, 0, 0, 0, 0}},                  // -ze
        {3, 5, {-0.1, -0.05, 0, 0, 0.05, 0.1}},                 // ro ze
        {11, 5, {-0.1, -0.05, 0, 0, 0, 0}},                     // -ro ze
        {10, -1, {-1, -1, -1, -0.94, -0.6, -0.44}},             // -bi
        {6, -1, {0.44, 0.6, 0.94, 1, 1, 1}},                    // +bi
        {8, 2, {-0.216, -0.144, -0.03, 0, 0, 0}},               // -ve sm
        {9, 7, {-0.77, -0.645, -0.52, -0.3, -0.2225, -0.145}},  // -vr me
        {4, 0, {0, 0, 0, 0.01, 0.048, 0.072}},                  // +ex sm
    };
    for (const Case& c : cases) {
        const auto set = settings.MakeTermSet(c.kind, c.hedge);
        EXPECT_EQ(set->GetLowerBound(), -1.0);
        EXPECT_EQ(set->GetUpperBound(), 1.0);
        ExpectShape(*set, c.shape, "kind " + std::to_string(c.kind));
    }
    // Off the symmetric context every form of zero is its right half.
    CLinguisticSettings positive(0, 10);
    for (int kind : {3, 7, 11})
        ExpectShape(*positive.MakeTermSet(kind, -1), {0, 0, 0, 0, 0.025, 0.05}, "zero");
}

TEST(CLinguisticSettingsShapes, PairsWithoutARowAreRejected) {
    CLinguisticSettings settings(0, 1);
    struct Case {
        int kind, hedge;
        const char* text;
    } cases[] = {{1, 3, "ra me"}, {1, 0, "ex me"}, {3, 2, "ve ze"}, {0, 8, "no sm"},
                 {7, 4, "ml ze"}, {12, -1, "N/A"}, {-1, -1, "N/A"}, {0, 9, "N/A sm"}};
    for (const Case& c : cases) {
        try {
            settings.MakeTermSet(c.kind, c.hedge);
            ADD_FAILURE() << c.text << " made a set";
        } catch (const ESyntax& error) {
            EXPECT_EQ(error.Message(), "hedge not applicable to this atomic term");
            EXPECT_EQ(error.Text(), c.text);
        }
    }
}

TEST(CLinguisticSettingsParams, DefaultsAndTheFileOrder) {
    CLinguisticSettings settings(0, 1);
    using P = CLinguisticSettings::LingParams;
    EXPECT_EQ(settings.GetLingParams(), (P{0.05, 0.94, 0.304, 0.4}));
    EXPECT_EQ(CLinguisticSettings::LingParamsToFileOrder(settings.GetLingParams()),
              (P{0.05, 0.304, 0.4, 0.94}));
    const P read = CLinguisticSettings::LingParamsFromFileOrder({0.05, 0.304, 0.4, 0.94});
    EXPECT_EQ(read, settings.GetLingParams());
    const P file{0.06, 0.3, 0.42, 0.92};
    EXPECT_EQ(CLinguisticSettings::LingParamsToFileOrder(
                  CLinguisticSettings::LingParamsFromFileOrder(file)),
              file);
}

TEST(CLinguisticSettingsParams, NewParametersBendTheShapesButNotTheFactors) {
    CLinguisticSettings settings(0, 1);
    const std::vector<double> factorsBefore = [&] {
        std::vector<double> factors;
        for (const CLingTerm& term : settings.TermTable())
            factors.push_back(term.d1 + 1000 * term.d2);
        return factors;
    }();
    settings.SetLingParams({0.06, 0.92, 0.3, 0.42});
    EXPECT_EQ(settings.GetLingParams(), (CLinguisticSettings::LingParams{0.06, 0.92, 0.3, 0.42}));
    ExpectShape(*settings.MakeTermSet(0, -1),
                {0, 0, 0, 0.06, 0.24117427772600186, 0.35793103448275865}, "sm");
    ExpectShape(*settings.MakeTermSet(1, -1),
                {0.3, 0.346, 0.392, 0.448, 0.5168571428571429, 0.5857142857142857}, "me");
    ExpectShape(*settings.MakeTermSet(2, -1),
                {0.44672811059907835, 0.6005742644452322, 0.92, 1, 1, 1}, "bi");
    // "very roughly small" is still cut at the new centre.
    EXPECT_NEAR(Params(*settings.MakeTermSet(0, 7))[5], 0.42, kTolerance);
    for (size_t row = 0; row < settings.TermTable().size(); ++row) {
        const CLingTerm& term = settings.TermTable()[row];
        EXPECT_EQ(term.d1 + 1000 * term.d2, factorsBefore[row]) << "row " << row;
    }

    settings.SetLingParams(CLinguisticSettings::kDefaultLingParams);
    for (const TermShape& c : kDefaultShapes)
        ExpectShape(*settings.MakeTermSet(c.kind, c.hedge), c.shape, c.text);
}

TEST(CLinguisticSettingsNumbers, AboutIsAQuadraticSetClippedToTheAxis) {
    CLinguisticSettings unit(0, 1);
    ExpectShape(*unit.MakeFuzzyNumber(0.1), {0, 0, 0.06, 0.14, 0.22, 0.3}, "about 0.1");
    CLinguisticSettings scaled(10, 20);
    ExpectShape(*scaled.MakeFuzzyNumber(19), {0.7, 0.78, 0.86, 0.94, 1, 1}, "about 19");
    CLinguisticSettings symmetric(-5, 5);
    const auto set = symmetric.MakeFuzzyNumber(-4.5);
    EXPECT_EQ(set->GetLowerBound(), -1.0);
    ExpectShape(*set, {-1, -1, -0.94, -0.86, -0.78, -0.7}, "about -4.5");
}

TEST(CLinguisticSettingsTypical, ValuesOfPlainTerms) {
    CLinguisticSettings settings(0, 1);
    const double root = std::sqrt(0.4);  // the 0.8 cut of a quadratic slope
    struct Case {
        int kind, hedge;
        double value;
    } cases[] = {
        {0, -1, 0.7 * (0.05 + 0.19 * root)},
        {2, -1, ((0.94 - 0.34 * root) + 1) / 2},
        {1, -1, ((0.392 - 0.044 * root) + (0.408 + 0.068 * root)) / 2},
        {3, -1, (0.0 + (0.025 * root)) / 2},
        // "extremely": the 0.95 cut; "roughly": the fraction 0.9 of "small".
        {0, 0, 0.7 * (0.01 + 0.038 * std::sqrt(0.1))},
        {0, 5, 0.9 * (0.188 + (0.4 - 0.212 * 12 / 31 - 0.188) * root)},
    };
    for (const Case& c : cases) {
        const CLingTerm term(c.kind, c.hedge, 0, 0);
        EXPECT_NEAR(static_cast<double>(settings.TypicalValue(term)), c.value, kTolerance)
            << c.kind << "/" << c.hedge;
    }
    CLinguisticSettings symmetric(-1, 1);
    const long double positive = symmetric.TypicalValue(CLingTerm(0, 2, 0, 0));
    EXPECT_EQ(symmetric.TypicalValue(CLingTerm(8, 2, 0, 0)), -positive);
    EXPECT_THROW(settings.TypicalValue(CLingTerm(1, 3, 0, 0)), ESyntax);
}

TEST(CLinguisticSettingsTypical, EveryTermHoldsItsTypicalValueToItsCutLevel) {
    CLinguisticSettings settings(0, 1);
    for (const CLingTerm& row : settings.TermTable()) {
        const auto set = settings.MakeTermSet(row.kind, row.hedge);
        const double value = static_cast<double>(settings.TypicalValue(row));
        EXPECT_GE(set->Membership(value), 0.7 - 1e-9) << row.kind << "/" << row.hedge;
    }
}

struct Described {
    int kind, hedge, sign;
};

Described Describe(const CLinguisticSettings& settings, double x, int mode) {
    CLingTerm term(-10, -1, 0, 0);
    EXPECT_EQ(settings.DescribeValue(x, term, mode), 0);
    return {term.kind, term.hedge, term.sign};
}

TEST(CLinguisticSettingsDescribe, EdgesOfTheAxis) {
    CLinguisticSettings unit(0, 1);
    auto d = Describe(unit, 0, 2);
    EXPECT_EQ(d.kind, 3);
    EXPECT_EQ(d.hedge, -1);
    d = Describe(unit, -3, 2);  // clipped to the left end
    EXPECT_EQ(d.kind, 3);
    d = Describe(unit, 0.99, 2);
    EXPECT_EQ(d.kind, 2);
    EXPECT_EQ(d.hedge, 0);  // extremely big wins over the equally fitting "big"
    d = Describe(unit, 0.99, 0);
    EXPECT_EQ(d.kind, 2);
    EXPECT_EQ(d.hedge, -1);
    d = Describe(unit, 0.5, 0);
    EXPECT_EQ(d.kind, 1);
    d = Describe(unit, 0.005, 2);
    EXPECT_EQ(d.kind, 0);
    EXPECT_EQ(d.hedge, 0);
    d = Describe(unit, 0.03, 1);
    EXPECT_EQ(d.kind, 0);
    EXPECT_EQ(d.hedge, 2);  // "very" is the narrowest hedge of mode 1

    CLinguisticSettings symmetric(-10, 10);
    d = Describe(symmetric, -5, 2);
    EXPECT_EQ(d.sign, -1);
    d = Describe(symmetric, 5, 2);
    EXPECT_EQ(d.sign, 1);
    d = Describe(symmetric, -40, 0);
    EXPECT_EQ(d.kind, 2);
    EXPECT_EQ(d.sign, -1);
    EXPECT_EQ(Describe(unit, std::nan(""), 2).kind, -10);  // nothing fits: kind stays
}

// The chosen term fits as well as any admitted one (up to the 0.9 clip) and is the simplest of
// those that fit as well.
TEST(CLinguisticSettingsDescribe, ChoosesTheBestAndSimplestAdmittedTerm) {
    const unsigned seed = 20260101;
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    CLinguisticSettings settings(0, 1);
    for (int trial = 0; trial < 300; ++trial) {
        const double u = unit(random);
        const int mode = trial % 3;
        SCOPED_TRACE("seed " + std::to_string(seed) + ", u " + std::to_string(u) + ", mode " +
                     std::to_string(mode));
        const Described d = Describe(settings, u, mode);
        if (u == 0)
            continue;
        const double chosen = std::min(settings.MakeTermSet(d.kind, d.hedge)->Membership(u), 0.9);
        const CLingTerm chosenTerm(d.kind, d.hedge, 0, 0);
        for (const CLingTerm& row : settings.TermTable()) {
            if (row.kind == 3)
                continue;
            const bool admitted =
                row.hedge == -1 || mode == 2 ||
                (mode == 1 && (row.hedge == 4 || (row.hedge == 2 && row.kind != 1)));
            const bool sideOk = row.kind == 1 || row.kind == (u < 0.4 ? 0 : 2);
            if (!admitted || !sideOk)
                continue;
            const double degree =
                std::min(settings.MakeTermSet(row.kind, row.hedge)->Membership(u), 0.9);
            EXPECT_LE(degree, chosen);
            if (degree == chosen) {
                EXPECT_LE(Complexity(chosenTerm), Complexity(row));
            }
        }
    }
}

}  // namespace
