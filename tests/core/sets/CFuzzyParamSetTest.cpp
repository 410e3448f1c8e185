#include "core/sets/CFuzzyParamSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/sets/CFuzzyGaussianSet.h"
#include "core/sets/CFuzzyQuadraticSet.h"
#include "core/sets/CFuzzyTrapezoidSet.h"
#include "core/sets/CFuzzyTriangSet.h"

namespace {

constexpr double kTolerance = 1e-12;

std::vector<double> ParamsOf(const CFuzzySet& set) {
    const auto& shape = dynamic_cast<const CFuzzyParamSet&>(set);
    std::vector<double> params(shape.ParamCount());
    shape.GetParams(params);
    return params;
}

template <class T>
std::unique_ptr<CFuzzyParamSet> Make(double lo, double hi) {
    return std::make_unique<T>(lo, hi);
}

struct Shape {
    std::string typeName;
    int paramCount;
    std::unique_ptr<CFuzzyParamSet> (*make)(double lo, double hi);
};

class EveryShape : public testing::TestWithParam<Shape> {
  protected:
    void SetUp() override { random_.seed(seed_); }
    // Increasing positions on [0, 1]; for the Gaussian, spreads around an increasing kernel.
    std::unique_ptr<CFuzzyParamSet> MakeRandom() {
        std::vector<double> params(GetParam().paramCount);
        for (double& p : params)
            p = unit_(random_);
        if (GetParam().typeName != "gaussian")
            std::sort(params.begin(), params.end());
        if (params[1] > params[2])
            std::swap(params[1], params[2]);
        auto set = GetParam().make(0.0, 1.0);
        set->SetParams(params);
        return set;
    }

    const unsigned seed_ = std::random_device{}();
    std::mt19937 random_;
    std::uniform_real_distribution<double> unit_{0.0, 1.0};
};

TEST_P(EveryShape, ParametersTravelWithCloneAndBounds) {
    SCOPED_TRACE("seed " + std::to_string(seed_));
    const auto original = MakeRandom();
    EXPECT_EQ(original->GetTypeName(), GetParam().typeName);
    ASSERT_EQ(original->ParamCount(), GetParam().paramCount);
    std::vector<double> tooFew(GetParam().paramCount - 1);
    EXPECT_THROW(original->SetParams(tooFew), std::invalid_argument);

    const auto moved = original->Clone();
    EXPECT_EQ(ParamsOf(*moved), ParamsOf(*original));
    EXPECT_EQ(moved->SetUpperBound(3.0), 3.0);
    EXPECT_EQ(moved->SetLowerBound(-3.0), -3.0);
    EXPECT_EQ(original->GetUpperBound(), 1.0);
    // [0, 1] -> [0, 3] -> [-3, 3] maps x to 6x - 3. A Gaussian's spreads scale with the width
    // once, not squared, so its flanks change shape: check its parameters instead.
    if (GetParam().typeName == "gaussian") {
        const std::vector<double> p = ParamsOf(*original);
        const std::vector<double> expected{p[0] * 6, p[1] * 6 - 3, p[2] * 6 - 3, p[3] * 6};
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(ParamsOf(*moved)[i], expected[i], kTolerance);
        return;
    }
    for (double x = 0.0; x <= 1.0; x += 0.0625) {
        EXPECT_NEAR(moved->Membership(6 * x - 3), original->Membership(x), 1e-9) << x;
    }
}

TEST_P(EveryShape, MembershipStaysWithinZeroAndOne) {
    SCOPED_TRACE("seed " + std::to_string(seed_));
    for (int trial = 0; trial < 100; ++trial) {
        const auto set = MakeRandom();
        for (int k = 0; k < 100; ++k) {
            const double x = 3 * unit_(random_) - 1;
            const double degree = set->Membership(x);
            ASSERT_TRUE(degree >= 0.0 && degree <= 1.0) << x << ' ' << degree;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Shapes, EveryShape,
                         testing::Values(Shape{"triang", 3, Make<CFuzzyTriangSet>},
                                         Shape{"trapezoid", 4, Make<CFuzzyTrapezoidSet>},
                                         Shape{"quadratic", 6, Make<CFuzzyQuadraticSet>},
                                         Shape{"gaussian", 4, Make<CFuzzyGaussianSet>}),
                         [](const testing::TestParamInfo<Shape>& info) {
                             return info.param.typeName;
                         });

// Degrees {x, degree} of one set, and its alpha cut [lo, hi] at a level.
struct ShapeCase {
    std::string label;
    std::shared_ptr<const CFuzzyParamSet> set;
    std::vector<std::pair<double, double>> degrees;
    double level, lo, hi;
};

class ShapeTable : public testing::TestWithParam<ShapeCase> {};

TEST_P(ShapeTable, DegreesAndCut) {
    const ShapeCase& c = GetParam();
    for (const auto& [x, degree] : c.degrees) {
        EXPECT_NEAR(c.set->Membership(x), degree, kTolerance) << "at " << x;
    }
    const CAlphaCut cut = c.set->AlphaCut(c.level);
    EXPECT_NEAR(cut.At(0, 0).lo, c.lo, kTolerance);
    EXPECT_NEAR(cut.At(0, 0).hi, c.hi, kTolerance);
}

const auto kQuadratic = std::make_shared<CFuzzyQuadraticSet>(0, 0.1, 0.2, 0.4, 0.5, 0.6, 0, 1);

INSTANTIATE_TEST_SUITE_P(
    Edges, ShapeTable,
    testing::Values(
        ShapeCase{"triangleCollapsedLeft",
                  std::make_shared<CFuzzyTriangSet>(0, 0, 0.5, 0, 1),
                  {{0.0, 1.0}, {0.25, 0.5}, {0.6, 0.0}},
                  0.5,
                  0.0,
                  0.25},
        ShapeCase{"triangleCollapsedRight",
                  std::make_shared<CFuzzyTriangSet>(0.5, 1, 1, 0, 1),
                  {{1.0, 1.0}, {0.75, 0.5}, {0.5, 0.0}},
                  1.0,
                  1.0,
                  1.0},
        ShapeCase{"trapezoid",
                  std::make_shared<CFuzzyTrapezoidSet>(0.2, 0.4, 0.6, 0.8, 0, 1),
                  {{0.2, 0.0}, {0.3, 0.5}, {0.4, 1.0}, {0.6, 1.0}, {0.7, 0.5}, {0.8, 0.0}},
                  0.5,
                  0.3,
                  0.7},
        ShapeCase{"quadratic",
                  kQuadratic,
                  {{0.05, 0.125},
                   {0.1, 0.5},
                   {0.15, 0.875},
                   {0.3, 1.0},
                   {0.45, 0.875},
                   {0.5, 0.5},
                   {0.55, 0.125},
                   {0.65, 0.0}},
                  0.5,
                  0.1,
                  0.5},
        ShapeCase{"quadraticUpperCut", kQuadratic, {}, 0.875, 0.15, 0.45},
        ShapeCase{"quadraticSteepRight",
                  std::make_shared<CFuzzyQuadraticSet>(0, 0.1, 0.2, 0.4, 0.5, 0.5, 0, 1),
                  {{0.5, 0.5}},
                  1.0,
                  0.2,
                  0.4},
        ShapeCase{"gaussian",
                  std::make_shared<CFuzzyGaussianSet>(0.01, 0.4, 0.6, 0.02, 0, 1),
                  {{0.5, 1.0}, {0.3, std::exp(-1.0)}, {0.7, std::exp(-0.5)}},
                  0.9,
                  0.4,
                  0.6}),
    [](const testing::TestParamInfo<ShapeCase>& info) { return info.param.label; });

}  // namespace
