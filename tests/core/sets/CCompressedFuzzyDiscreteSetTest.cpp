#include "core/sets/CCompressedFuzzyDiscreteSet.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

TEST(CCompressedFuzzyDiscreteSet, StoresTheRunFromFirstToLastNonZero) {
    const CCompressedFuzzyDiscreteSet compressed(
        CFuzzyDiscreteSet({0.0, 0.0, 0.5, 1.0, 0.0}, 0.0, 4.0));
    EXPECT_EQ(compressed.GetTypeName(), "ocmpset");
    EXPECT_EQ(compressed.FirstNonZero(), 2);
    EXPECT_EQ(compressed.LastNonZero(), 3);
    EXPECT_EQ(compressed.Values().size(), 2u);
    EXPECT_EQ(compressed.Count(), 5);
    const int four[] = {4};
    EXPECT_EQ(compressed.ValueAt(four), 0.0);

    const CCompressedFuzzyDiscreteSet zero(CFuzzyDiscreteSet(std::vector<double>(7), -1.0, 1.0));
    EXPECT_TRUE(zero.Values().empty());
    EXPECT_EQ(zero.FirstNonZero(), 7);
    EXPECT_EQ(zero.LastNonZero(), -1);
    for (double x = -1.0; x <= 1.0; x += 0.125)
        EXPECT_EQ(zero.Membership(x), 0.0);

    const CFuzzyDiscreteSet plane({2, 2}, {0.0, 1.0, 1.0, 0.0}, CUniverse(0.0, 1.0, 2));
    EXPECT_THROW(CCompressedFuzzyDiscreteSet{plane}, std::invalid_argument);
}

TEST(CCompressedFuzzyDiscreteSet, AnswersExactlyLikeItsSource) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> degree(0.0, 1.0);
    std::uniform_real_distribution<double> anywhere(-0.5, 1.5);
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<double> values(30, 0.0);
        const int first = static_cast<int>(random() % 30);
        const int last = first + static_cast<int>(random() % (30 - first));
        for (int i = first; i <= last; ++i)
            values[i] = degree(random);
        const CFuzzyDiscreteSet source(values, 0.0, 1.0);
        const CCompressedFuzzyDiscreteSet compressed(source);
        EXPECT_EQ(compressed.SumOfValues(), source.SumOfValues());
        for (int k = 0; k < 100; ++k) {
            const double x = anywhere(random);
            ASSERT_EQ(compressed.Membership(x), source.Membership(x)) << x;
        }
    }
}

TEST(CCompressedFuzzyDiscreteSet, CopiesKeepTheFormAssignmentsExpandIt) {
    const CCompressedFuzzyDiscreteSet compressed(
        CFuzzyDiscreteSet({0.0, 0.25, 0.0, 0.75, 0.0, 0.0}, 0.0, 1.0));
    const auto clone = compressed.Clone();
    EXPECT_EQ(dynamic_cast<const CCompressedFuzzyDiscreteSet&>(*clone).Values().size(), 3u);

    CFuzzyDiscreteSet copied;
    copied.Assign(compressed);
    CFuzzyDiscreteSet adopted;
    adopted.Assign(std::make_unique<CCompressedFuzzyDiscreteSet>(compressed));
    for (const CFuzzyDiscreteSet* plain : {&copied, &adopted}) {
        ASSERT_EQ(plain->Values().size(), 6u);
        EXPECT_EQ(plain->Values()[1], 0.25);
        EXPECT_EQ(plain->Values()[3], 0.75);
    }
}

}  // namespace
