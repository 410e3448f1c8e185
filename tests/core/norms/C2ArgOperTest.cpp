#include "core/norms/C2ArgOper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/norms/CLukasiewiczImplication.h"
#include "core/norms/CLukasiewiczTNorm.h"
#include "core/norms/CMaxTConorm.h"
#include "core/norms/CMinTNorm.h"
#include "core/norms/CNegation.h"
#include "core/norms/CProductTNorm.h"
#include "core/sets/CFuzzyDiscreteSet.h"

namespace {

// The Lukasiewicz forms add and subtract 1, which rounds by up to a unit in the last place.
constexpr double kTolerance = 1e-15;

const auto kMin = std::make_shared<CMinTNorm>();
const auto kMax = std::make_shared<CMaxTConorm>();
const auto kProduct = std::make_shared<CProductTNorm>();
const auto kLukasiewicz = std::make_shared<CLukasiewiczTNorm>();
const auto kImplication = std::make_shared<CLukasiewiczImplication>();

TEST(C2ArgOper, DegreeTable) {
    const struct {
        std::shared_ptr<const C2ArgOper> oper;
        double a, b, expected;
    } cases[] = {
        {kMin, 0.3, 0.6, 0.3},         {kMax, 0.3, 0.6, 0.6},         {kProduct, 0.5, 0.6, 0.3},
        {kLukasiewicz, 0.3, 0.6, 0.0}, {kLukasiewicz, 0.7, 0.6, 0.3}, {kLukasiewicz, 0.5, 0.5, 0.0},
        {kImplication, 0.3, 0.6, 1.0}, {kImplication, 0.9, 0.2, 0.3}, {kImplication, 1.0, 0.0, 0.0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(c.oper->Apply(c.a, c.b), c.expected, kTolerance) << c.a << ' ' << c.b;
    }
}

struct Connective {
    std::string name;
    std::shared_ptr<const C2ArgOper> oper;
    double neutral;  // 1 for the t-norms, 0 for the t-conorm
};

class ConnectiveLaws : public testing::TestWithParam<Connective> {};

TEST_P(ConnectiveLaws, CommutativeAssociativeMonotoneWithNeutralAndAbsorbingElements) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> degree(0.0, 1.0);
    const C2ArgOper& op = *GetParam().oper;
    const double neutral = GetParam().neutral;
    for (int k = 0; k < 2000; ++k) {
        const double a = degree(random);
        const double b = degree(random);
        const double c = degree(random);
        SCOPED_TRACE(std::to_string(a) + ' ' + std::to_string(b) + ' ' + std::to_string(c));
        ASSERT_EQ(op.Apply(a, b), op.Apply(b, a));
        ASSERT_NEAR(op.Apply(op.Apply(a, b), c), op.Apply(a, op.Apply(b, c)), kTolerance);
        ASSERT_LE(op.Apply(std::min(a, c), b), op.Apply(std::max(a, c), b));
        ASSERT_NEAR(op.Apply(a, neutral), a, kTolerance);
        ASSERT_EQ(op.Apply(a, 1 - neutral), 1 - neutral);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Connectives, ConnectiveLaws,
    testing::Values(Connective{"minimum", kMin, 1.0}, Connective{"product", kProduct, 1.0},
                    Connective{"lukasiewicz", kLukasiewicz, 1.0}, Connective{"maximum", kMax, 0.0}),
    [](const testing::TestParamInfo<Connective>& info) { return info.param.name; });

TEST(C2ArgOperSets, SampleBySampleFirstSetFirstOnTheSecondUniverse) {
    const CFuzzyDiscreteSet a({0.9, 0.3, 1.0}, 0.0, 1.0);
    const CFuzzyDiscreteSet b({0.2, 0.6, 0.0}, 5.0, 6.0);
    const auto implied = kImplication->ApplyToSets(a, b);
    EXPECT_TRUE(implied->IsTemporary());
    EXPECT_EQ(implied->Universe(), b.Universe());
    EXPECT_NEAR(implied->Values()[0], 0.3, kTolerance);
    EXPECT_EQ(implied->Values()[1], 1.0);
    EXPECT_EQ(implied->Values()[2], 0.0);

    const auto withUnary = kMin->ApplyWithUnary(CNegation(), a, b);  // min(a, 1 - b)
    EXPECT_NEAR(withUnary->Values()[0], 0.8, kTolerance);
    EXPECT_EQ(withUnary->Values()[2], 1.0);

    EXPECT_THROW(kMin->ApplyToSets(a, CFuzzyDiscreteSet({0.0, 1.0}, 0.0, 1.0)),
                 std::invalid_argument);
}

TEST(C2ArgOperSets, HandedOverSetsAreConsumed) {
    const CFuzzyDiscreteSet b({1.0, 0.25}, 0.0, 1.0);
    auto a = std::make_unique<CFuzzyDiscreteSet>(std::vector<double>{0.5, 1.0}, 0.0, 1.0);
    // Under the address sanitizer a leak or a second free fails this test.
    EXPECT_EQ(kMax->ApplyToSets(std::move(a), b)->Values()[1], 1.0);
    EXPECT_EQ(a, nullptr);
    const auto nested = kMin->ApplyToSets(kMax->ApplyToSets(b, b), CNegation().ApplyToSet(b));
    EXPECT_EQ(nested->Values()[1], 0.25);
}

TEST(C2ArgOperSets, CartesianProductSpansBothUniverses) {
    const CFuzzyDiscreteSet a({0.1, 0.5, 0.9}, 0.0, 1.0);
    const CFuzzyDiscreteSet b({1.0, 0.4, 0.7, 0.2}, 10.0, 20.0);
    const auto relation = kProduct->ApplyCartesian(a, b);
    EXPECT_TRUE(relation->IsTemporary());
    ASSERT_EQ(relation->Count(), 12);
    EXPECT_EQ(relation->Sizes()[1], 4);
    EXPECT_EQ(relation->Universe().At(1), b.Universe().At(0));
    const int index[] = {2, 1};
    EXPECT_EQ(relation->ValueAt(index), 0.9 * 0.4);
    const double point[] = {1.0, 13.0};
    EXPECT_EQ(relation->Membership(point), 0.9 * 0.4);
}

}  // namespace
