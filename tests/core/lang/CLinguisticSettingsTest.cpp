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

// The parameters are kept in the rulebase file's single precision, so the shapes meet their
// decimal values to about that precision.
constexpr double kTolerance = 1e-7;
using Shape = std::array<double, 6>;

void ExpectShape(const CFuzzyQuadraticSet& set, const Shape& expected, const std::string& what) {
    Shape actual{};
    set.GetParams(actual);
    for (int i = 0; i < 6; ++i)
        EXPECT_NEAR(actual[i], expected[i], kTolerance) << what << ", parameter " << i;
}

struct TermShape {
    int kind, hedge;
    const char* text;
    Shape shape;
};

// The term table in row order, default parameters, context [0, 10].
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

TEST(CLinguisticSettingsShapes, EveryRowOfTheTermTable) {
    CLinguisticSettings settings(0, 10);
    ASSERT_EQ(settings.TermTable().size(), std::size(kDefaultShapes));
    for (size_t row = 0; row < std::size(kDefaultShapes); ++row) {
        const TermShape& c = kDefaultShapes[row];
        std::string text;
        settings.TermTable()[row].GetText(text);
        EXPECT_EQ(text, c.text);
        const auto set = settings.MakeTermSet(c.kind, c.hedge);
        EXPECT_EQ(set->GetLowerBound(), 0.0);
        EXPECT_EQ(set->GetUpperBound(), 1.0);
        ExpectShape(*set, c.shape, c.text);
    }
    // The factors a = 1.38, b = 43/24, c = 2.875, e = 3.5 at their widest (k = 4) and narrowest.
    const auto table = settings.TermTable();
    EXPECT_NEAR(table[8].d1, 6.52, kTolerance);
    EXPECT_NEAR(table[14].d1, 1 + 43.0 / 24, kTolerance);
    EXPECT_NEAR(table[17].d2, 1 + 4 * 43.0 / 24, kTolerance);
    EXPECT_NEAR(table[19].d1, 3.875, kTolerance);
    EXPECT_NEAR(table[19].d2, 4.5, kTolerance);
    EXPECT_NEAR(table[22].d1, 12.5, kTolerance);
    EXPECT_NEAR(table[22].d2, 15, kTolerance);
}

TEST(CLinguisticSettingsShapes, SignedFormsInASymmetricContext) {
    CLinguisticSettings settings(-10, 10);
    const TermShape cases[] = {
        {3, -1, "ze", {-0.05, -0.025, 0, 0, 0.025, 0.05}},
        {7, -1, "+ze", {0, 0, 0, 0, 0.025, 0.05}},
        {11, -1, "-ze", {-0.05, -0.025, 0, 0, 0, 0}},
        {11, 5, "-ro ze", {-0.1, -0.05, 0, 0, 0, 0}},
        {10, -1, "-bi", {-1, -1, -1, -0.94, -0.6, -0.44}},
        {8, 2, "-ve sm", {-0.216, -0.144, -0.03, 0, 0, 0}},
        {9, 7, "-vr me", {-0.77, -0.645, -0.52, -0.3, -0.2225, -0.145}},
        {4, 0, "+ex sm", {0, 0, 0, 0.01, 0.048, 0.072}},
    };
    for (const TermShape& c : cases) {
        const auto set = settings.MakeTermSet(c.kind, c.hedge);
        EXPECT_EQ(set->GetLowerBound(), -1.0);
        ExpectShape(*set, c.shape, c.text);
    }
    CLinguisticSettings positive(0, 10);  // only the right half of zero exists there
    ExpectShape(*positive.MakeTermSet(11, -1), {0, 0, 0, 0, 0.025, 0.05}, "-ze on [0, 10]");
}

TEST(CLinguisticSettingsShapes, PairsWithoutARowAreRejected) {
    CLinguisticSettings settings(0, 1);
    const std::pair<int, int> pairs[] = {{1, 3}, {1, 0}, {3, 2}, {0, 8}, {12, -1}, {-1, -1}};
    for (auto [kind, hedge] : pairs) {
        EXPECT_THROW(settings.MakeTermSet(kind, hedge), ESyntax) << kind << "/" << hedge;
    }
    try {
        settings.MakeTermSet(1, 3);
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Message(), "hedge not applicable to this atomic term");
        EXPECT_EQ(error.Text(), "ra me");
    }
}

TEST(CLinguisticSettingsParams, FileOrderAndReshaping) {
    CLinguisticSettings settings(0, 1);
    using P = CLinguisticSettings::LingParams;
    EXPECT_EQ(settings.GetLingParams(), (P{0.05f, 0.94f, 0.304f, 0.4f}));
    EXPECT_EQ(CLinguisticSettings::LingParamsToFileOrder(settings.GetLingParams()),
              (P{0.05f, 0.304f, 0.4f, 0.94f}));
    EXPECT_EQ(CLinguisticSettings::LingParamsFromFileOrder({0.05f, 0.304f, 0.4f, 0.94f}),
              settings.GetLingParams());

    const double factor = settings.TermTable()[8].d1;
    settings.SetLingParams({0.06, 0.92, 0.3, 0.42});
    ExpectShape(*settings.MakeTermSet(0, -1),
                {0, 0, 0, 0.06, 0.24117427772600186, 0.35793103448275865}, "sm");
    ExpectShape(*settings.MakeTermSet(1, -1),
                {0.3, 0.346, 0.392, 0.448, 0.5168571428571429, 0.5857142857142857}, "me");
    ExpectShape(*settings.MakeTermSet(2, -1),
                {0.44672811059907835, 0.6005742644452322, 0.92, 1, 1, 1}, "bi");
    Shape veryRoughlySmall{};
    settings.MakeTermSet(0, 7)->GetParams(veryRoughlySmall);
    EXPECT_NEAR(veryRoughlySmall[5], 0.42, kTolerance);  // cut at the new centre
    EXPECT_EQ(settings.TermTable()[8].d1, factor);       // the hedge factors stay

    settings.SetLingParams(CLinguisticSettings::kDefaultLingParams);
    for (const TermShape& c : kDefaultShapes)
        ExpectShape(*settings.MakeTermSet(c.kind, c.hedge), c.shape, c.text);
}

TEST(CLinguisticSettingsNumbers, AboutIsClippedToTheAxis) {
    ExpectShape(*CLinguisticSettings(0, 1).MakeFuzzyNumber(0.1), {0, 0, 0.06, 0.14, 0.22, 0.3},
                "about 0.1");
    ExpectShape(*CLinguisticSettings(10, 20).MakeFuzzyNumber(19), {0.7, 0.78, 0.86, 0.94, 1, 1},
                "about 19");
    ExpectShape(*CLinguisticSettings(-5, 5).MakeFuzzyNumber(-4.5),
                {-1, -1, -0.94, -0.86, -0.78, -0.7}, "about -4.5");
}

TEST(CLinguisticSettingsTypical, ValuesLieInTheirCuts) {
    CLinguisticSettings settings(0, 1);
    const double root = std::sqrt(0.4);  // where a quadratic slope reaches 0.8
    EXPECT_NEAR(double(settings.TypicalValue({0, -1, 0, 0})), 0.7 * (0.05 + 0.19 * root),
                kTolerance);
    EXPECT_NEAR(double(settings.TypicalValue({2, -1, 0, 0})), (0.94 - 0.34 * root + 1) / 2,
                kTolerance);
    EXPECT_NEAR(double(settings.TypicalValue({0, 0, 0, 0})), 0.7 * (0.01 + 0.038 * std::sqrt(0.1)),
                kTolerance);  // the 0.95 cut
    for (const CLingTerm& row : settings.TermTable()) {
        const double value = double(settings.TypicalValue(row));
        EXPECT_GE(settings.MakeTermSet(row.kind, row.hedge)->Membership(value), 0.7 - 1e-9);
    }
    CLinguisticSettings symmetric(-1, 1);
    EXPECT_EQ(symmetric.TypicalValue({8, 2, 0, 0}), -symmetric.TypicalValue({0, 2, 0, 0}));
    EXPECT_THROW(settings.TypicalValue({1, 3, 0, 0}), ESyntax);
}

TEST(CLinguisticSettingsDescribe, EdgesOfTheAxis) {
    CLinguisticSettings unit(0, 1);
    CLinguisticSettings symmetric(-10, 10);
    struct Case {
        const CLinguisticSettings& settings;
        double x;
        int mode, kind, hedge, sign;
    } cases[] = {
        {unit, 0, 2, 3, -1, 0},
        {unit, -3, 2, 3, -1, 0},
        {unit, 0.99, 2, 2, 0, 0},
        {unit, 0.99, 0, 2, -1, 0},
        {unit, 0.5, 0, 1, -1, 0},
        {unit, 0.005, 2, 0, 0, 0},
        {unit, 0.03, 1, 0, 2, 0},
        {symmetric, -5, 0, 1, -1, -1},
        {symmetric, 5, 0, 1, -1, 1},
        {symmetric, -40, 0, 2, -1, -1},
        {unit, std::nan(""), 2, -10, -1, 0},  // nothing fits: kind and hedge stay
    };
    for (const Case& c : cases) {
        CLingTerm term(-10, -1, 0, 0);
        EXPECT_EQ(c.settings.DescribeValue(c.x, term, c.mode), 0);
        EXPECT_EQ(term.kind, c.kind) << c.x << " mode " << c.mode;
        EXPECT_EQ(term.hedge, c.hedge) << c.x << " mode " << c.mode;
        EXPECT_EQ(term.sign, c.sign) << c.x << " mode " << c.mode;
    }
}

// No admitted expression fits better (up to the 0.9 clip), and none that fits as well is simpler.
TEST(CLinguisticSettingsDescribe, ChoosesTheBestAndSimplestAdmittedTerm) {
    const unsigned seed = 20260101;
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> position(0.0, 1.0);
    CLinguisticSettings settings(0, 1);
    auto degree = [&](const CLingTerm& t, double u) {
        return std::min(settings.MakeTermSet(t.kind, t.hedge)->Membership(u), 0.9);
    };
    for (int trial = 0; trial < 300; ++trial) {
        const double u = position(random);
        const int mode = trial % 3;
        SCOPED_TRACE("seed " + std::to_string(seed) + ", trial " + std::to_string(trial));
        CLingTerm chosen;
        settings.DescribeValue(u, chosen, mode);
        for (const CLingTerm& row : settings.TermTable()) {
            const bool admitted =
                row.hedge == -1 || mode == 2 ||
                (mode == 1 && (row.hedge == 4 || (row.hedge == 2 && row.kind != 1)));
            if (!admitted || row.kind == 3 || (row.kind != 1 && row.kind != (u < 0.4 ? 0 : 2)))
                continue;
            EXPECT_LE(degree(row, u), degree(chosen, u));
            if (degree(row, u) == degree(chosen, u)) {
                EXPECT_LE(Complexity(chosen), Complexity(row));
            }
        }
    }
}

TEST(CLinguisticSettingsCompare, TermsByTheAxisOtherCellsByText) {
    CLinguisticSettings settings(0, 1);
    for (const char* name : {"alpha", "beta", "ab", "abc"}) {
        settings.AddTerm(std::make_unique<CNamedTerm>(
            std::vector<std::string>{name},
            std::make_unique<CFuzzyQuadraticSet>(0, 0, 0, 1, 1, 1, 0, 1)));
    }
    struct Case {
        const char *a, *b;
        int result;
    } cases[] = {
        {"ve sm", "sm", 1},     {"sm", "ve sm", 0},   {"bi", "ve bi", 1},   {"ex bi", "ze", 1},
        {"sm and bi", "sm", 0}, {"alpha", "beta", 1}, {"beta", "alpha", 0}, {"about 0.5", "sm", 1},
        {"alpha", "alpha", -1}, {"ab", "abc", -1},    {"sm", "xyz", -1},    {"-sm", "sm", -1},
        {"about 7", "sm", -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(settings.CompareExpressions(c.a, c.b), c.result) << c.a << " vs " << c.b;
}

}  // namespace
