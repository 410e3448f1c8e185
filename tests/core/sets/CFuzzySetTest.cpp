#include "core/sets/CFuzzySet.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "core/sets/CFuzzyACutSet.h"
#include "core/sets/CFuzzyDiscreteSet.h"
#include "core/sets/CFuzzyTriangSet.h"

namespace {

// Answers its point as the degree (x + 1000 y in two dimensions), so that a sampled set shows
// its grid; its cut at a level is [level, 1].
class GridProbe : public CFuzzySet {
  public:
    explicit GridProbe(const CUniverse& universe)
        : CFuzzySet(std::make_shared<CUniverse>(universe)) {}
    std::unique_ptr<CFuzzySet> Clone() const override { return std::make_unique<GridProbe>(*this); }
    using CFuzzySet::Membership;
    double Membership(const double* point) const override {
        return Dimensions() == 1 ? point[0] : point[0] + 1000 * point[1];
    }
    CAlphaCut AlphaCut(double level) const override { return CAlphaCut(level, 1.0); }
};

TEST(CFuzzySetToDiscrete, PointIsLoPlusIndexTimesWidthOverIntervals) {
    const auto sampled = GridProbe(CUniverse(0.0, 1.0)).ToDiscrete(301);
    ASSERT_EQ(sampled->Count(), 301);
    EXPECT_FALSE(sampled->IsTemporary());
    for (int i = 0; i < 301; ++i)
        ASSERT_EQ(sampled->Sample(i), 0.0 + i * 1.0 / 300) << i;
    EXPECT_NE(sampled->Sample(9), 9 * (1.0 / 300));  // a once-computed step rounds differently

    // -1 + 1 * 1.3 overshoots 0.3 by one rounding step: the point snaps to 0.3.
    EXPECT_EQ(GridProbe(CUniverse(-1.0, 0.3)).ToDiscrete(2)->Sample(1), 0.3);
    // One sample sits at lo instead of at lo + 0 * (hi - lo) / 0.
    EXPECT_EQ(GridProbe(CUniverse(2.0, 5.0)).ToDiscrete(1)->Sample(0), 2.0);
    EXPECT_THROW(GridProbe(CUniverse(0.0, 1.0)).ToDiscrete(0), std::invalid_argument);
}

TEST(CFuzzySetToDiscrete, SeveralDimensionsFillDimensionZeroFastest) {
    const std::vector<CUniverse::Interval> intervals{{0.0, 2.0}, {0.0, 1.0}};
    const GridProbe probe{CUniverse(intervals)};
    const int sizes[] = {3, 2};
    const auto sampled = probe.ToDiscrete(sizes);
    EXPECT_EQ(sampled->Universe(), probe.Universe());
    const std::vector<double> expected{0, 1, 2, 1000, 1001, 1002};
    ASSERT_EQ(sampled->Count(), 6);
    for (int k = 0; k < 6; ++k)
        EXPECT_EQ(sampled->Sample(k), expected[k]) << k;
    EXPECT_THROW(probe.ToDiscrete(3), std::invalid_argument);
}

TEST(CFuzzySetToAlphaCuts, GivenOrEvenlySteppedLevels) {
    const GridProbe probe(CUniverse(0.0, 1.0));
    const auto even = probe.ToAlphaCuts(4);
    EXPECT_EQ(even->Levels()[0], 0.25);
    EXPECT_EQ(even->CutAt(2), CAlphaCut(0.5, 1.0));
    const double levels[] = {0.1, 0.9};
    EXPECT_EQ(probe.ToAlphaCuts(2, levels)->CutAt(2), CAlphaCut(0.9, 1.0));
    EXPECT_THROW(probe.ToAlphaCuts(3, levels), std::invalid_argument);
}

TEST(CFuzzySetUniverse, SharedUniverseMovesForBothAndOutlivesEither) {
    auto first = std::make_unique<CFuzzyTriangSet>(0.0, 0.5, 1.0, 0.0, 1.0);
    CFuzzyDiscreteSet second(std::vector<double>{0.0, 1.0, 0.0}, -5.0, 5.0);
    second.ShareUniverse(*first);
    EXPECT_EQ(&second.Universe(), &first->Universe());
    second.SetUpperBound(4.0);
    EXPECT_EQ(first->GetUpperBound(), 4.0);
    first->Clear();
    EXPECT_THROW(first->GetLowerBound(), std::logic_error);
    first.reset();
    EXPECT_EQ(second.GetUpperBound(), 4.0);

    EXPECT_NE(&second.Clone()->Universe(), &second.Universe());
    GridProbe plane(CUniverse(0.0, 1.0, 2));
    EXPECT_THROW(plane.ShareUniverse(second), std::invalid_argument);
}

}  // namespace
