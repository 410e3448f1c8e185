#include "core/sets/CFuzzyDiscreteSet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// 4 x 3 samples over [0, 3] x [0, 2]; sample (i, j) is (10 j + i) / 100.
CFuzzyDiscreteSet Grid() {
    std::vector<double> values;
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 4; ++i)
            values.push_back((10 * j + i) / 100.0);
    }
    const std::vector<CUniverse::Interval> intervals{{0.0, 3.0}, {0.0, 2.0}};
    return CFuzzyDiscreteSet({4, 3}, values, CUniverse(intervals));
}

TEST(CFuzzyDiscreteSetMembership, InterpolatesInOneDimensionAndClampsOutside) {
    const CFuzzyDiscreteSet set({0.0, 0.2, 0.4, 0.5, 0.9, 1.0}, 0.0, 5.0);
    EXPECT_EQ(set.Membership(5.0), 1.0);
    // A quarter of the way from sample 3 to sample 4, in the order of the formula.
    const double f = 0.25;
    EXPECT_EQ(set.Membership(3.25), 0.9 * f + (1 - f) * 0.5);
    EXPECT_EQ(set.Membership(-3.0), 0.0);
    EXPECT_EQ(set.Membership(42.0), 1.0);
    EXPECT_EQ(set.Membership(std::nan("")), 0.0);
}

TEST(CFuzzyDiscreteSetMembership, ReadsTheNearestSampleInSeveralDimensions) {
    const CFuzzyDiscreteSet grid = Grid();
    // 0.6 of a step past sample 2 reads sample 3; 0.4 of a step past sample 1 stays at 1.
    const double point[] = {2.6, 1.4};
    const int index[] = {3, 1};
    EXPECT_EQ(grid.Membership(point), 0.13);
    EXPECT_EQ(grid.ValueAt(index), 0.13);
    const double farOff[] = {-5.0, 9.0};
    EXPECT_EQ(grid.Membership(farOff), 0.20);
}

TEST(CFuzzyDiscreteSetMembership, StaysWithinZeroAndOneOnRandomSets) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> degree(0.0, 1.0);
    std::uniform_real_distribution<double> anywhere(-2.0, 3.0);
    for (int trial = 0; trial < 50; ++trial) {
        std::vector<double> values(2 + trial);
        for (double& value : values)
            value = degree(random);
        const CFuzzyDiscreteSet set(values, 0.0, 1.0);
        for (int k = 0; k < 200; ++k) {
            const double m = set.Membership(anywhere(random));
            ASSERT_TRUE(m >= 0.0 && m <= 1.0) << m;
        }
    }
}

TEST(CFuzzyDiscreteSet, IndexingRangesAndSums) {
    const CFuzzyDiscreteSet grid = Grid();
    int index[] = {0, 0};
    int flat = 0;
    do {
        ASSERT_EQ(grid.ValueAt(index), grid.Sample(flat++));
    } while (grid.NextIndex(index));
    EXPECT_EQ(flat, 12);
    EXPECT_EQ(index[0] + index[1], 0);  // wrapped

    const CFuzzyDiscreteSet set({0.0, 0.0, 0.5, 1.0, 0.0}, 0.0, 1.0);
    EXPECT_EQ(set.FirstNonZero(), 2);
    EXPECT_EQ(set.LastNonZero(), 3);
    EXPECT_EQ(set.SumOfValues(), 1.5);
    EXPECT_EQ(set.SumOfSquares(), 1.25);
    const CFuzzyDiscreteSet zero({0.0, 0.0, 0.0}, 0.0, 1.0);
    EXPECT_EQ(zero.FirstNonZero(), 3);
    EXPECT_EQ(zero.LastNonZero(), -1);
}

TEST(CFuzzyDiscreteSet, SetValuesTakesAllSamplesOrNone) {
    CFuzzyDiscreteSet set = Grid();
    set.SetValues({});
    EXPECT_EQ(set.Count(), 12);
    EXPECT_EQ(set.Sample(3), 0.0);
    EXPECT_THROW(set.SetValues(std::vector<double>(3, 0.0)), std::invalid_argument);
}

TEST(CFuzzyDiscreteSetAssign, HandedOverSetGivesUpItsVeryBuffers) {
    CFuzzyDiscreteSet target({0.1, 0.2}, 0.0, 1.0);
    auto source = std::make_unique<CFuzzyDiscreteSet>(Grid());
    source->MarkTemporary();
    const double* buffer = source->Values().data();
    const CUniverse* universe = &source->Universe();
    target.Assign(std::move(source));
    EXPECT_EQ(target.Values().data(), buffer);
    EXPECT_EQ(&target.Universe(), universe);
    EXPECT_EQ(target.Sizes()[1], 3);
    EXPECT_EQ(target.Sample(11), 0.23);

    CFuzzyDiscreteSet emptied = Grid();
    target.AdoptData(std::move(emptied));
    EXPECT_EQ(emptied.Count(), 0);
    EXPECT_FALSE(emptied.HasUniverse());
    EXPECT_EQ(emptied.Membership(0.5), 0.0);
}

TEST(CFuzzyDiscreteSetAssign, LentSetIsCopiedAndCopiesAreNotTemporary) {
    CFuzzyDiscreteSet source = Grid();
    source.MarkTemporary();
    CFuzzyDiscreteSet target({0.3, 0.6}, 5.0, 6.0);
    target.Assign(source);
    EXPECT_NE(target.Values().data(), source.Values().data());
    EXPECT_NE(&target.Universe(), &source.Universe());
    EXPECT_EQ(source.Count(), 12);
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(target.Sample(k), source.Sample(k));
    }
    EXPECT_FALSE(CFuzzyDiscreteSet(source).IsTemporary());

    // A source that shares the target's universe survives the target's Clear.
    CFuzzyDiscreteSet line({0.1, 0.2, 0.3}, 0.0, 3.0);
    CFuzzyDiscreteSet sharing({0.3, 0.6}, 5.0, 6.0);
    sharing.ShareUniverse(line);
    line.Assign(sharing);
    EXPECT_EQ(line.GetUpperBound(), 3.0);
    EXPECT_EQ(line.Sample(1), 0.6);
}

}  // namespace
