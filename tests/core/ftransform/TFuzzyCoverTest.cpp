#include "core/ftransform/TFuzzyCover.h"

#include "core/ftransform/FTDimensionSettings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr double kTolerance = 1e-12;

struct ShapeCase {
    int shape;
    const char* typeName;
};

class FuzzyCoverShapes : public testing::TestWithParam<ShapeCase> {};

TEST_P(FuzzyCoverShapes, SymmetricPeakThatNeighboursCompleteToOne) {
    const auto cover = CreateFuzzyCover(GetParam().shape, 2.0, 6.0);
    ASSERT_NE(cover, nullptr);
    EXPECT_STREQ(cover->GetTypeName(), GetParam().typeName);
    EXPECT_NEAR(cover->Value(4.0), 1.0, kTolerance);
    for (const double outside : {-100.0, 1.999, 2.0, 6.0, 6.001}) {
        EXPECT_NEAR(cover->Value(outside), 0.0, kTolerance) << outside;
    }
    // A copy shifted by the half-width 2 completes it to 1: an F-transform's partition of unity.
    for (double x = 2.0; x <= 6.0; x += 0.01) {
        const double value = cover->Value(x);
        EXPECT_TRUE(value >= 0.0 && value <= 1.0) << x;
        EXPECT_NEAR(value, cover->Value(8.0 - x), kTolerance) << x;
        if (x >= 4.0) {
            EXPECT_NEAR(value + cover->Value(x - 2.0), 1.0, kTolerance) << x;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllShapes, FuzzyCoverShapes,
                         testing::Values(ShapeCase{ftTriangular, "triangular"},
                                         ShapeCase{ftQuadratic, "quadratic"},
                                         ShapeCase{ftSinusoidal, "sinusoidal"},
                                         ShapeCase{ftFuzzyNumber, "fuzzynumber"}),
                         [](const auto& info) { return std::string(info.param.typeName); });

TEST(FuzzyNumberCover, LevelsAtTheBreakPoints) {
    const auto cover = CreateFuzzyCover(ftFuzzyNumber, -2.0, 6.0);  // centre 2, half-width 4
    for (const double side : {-4.0, 4.0}) {
        EXPECT_EQ(cover->Value(2.0 + 0.2 * side), 1.0);
        EXPECT_NEAR(cover->Value(2.0 + 0.5 * side), 0.5, kTolerance);
        EXPECT_EQ(cover->Value(2.0 + 0.8 * side), 0.0);
    }
    EXPECT_EQ(CreateFuzzyCover(4, 0.0, 1.0), nullptr);
}

}  // namespace
