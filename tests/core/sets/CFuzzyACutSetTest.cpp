#include "core/sets/CFuzzyACutSet.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

// Nested cuts at 0.25, 0.5, 0.75 and 1 around 0.5; the first is the union of two boxes.
class CFuzzyACutSetNested : public testing::Test {
  protected:
    static CAlphaCut TwoBoxes() {
        CAlphaCut cut = CAlphaCut::EmptyBoxes(2, 1);
        cut.At(0, 0) = {0.1, 0.9};
        cut.At(1, 0) = {0.95, 1.0};
        return cut;
    }

    std::vector<double> levels_{0.25, 0.5, 0.75, 1.0};
    std::vector<CAlphaCut> cuts_{TwoBoxes(), CAlphaCut(0.3, 0.7), CAlphaCut(0.4, 0.6),
                                 CAlphaCut(0.45, 0.55)};
    CFuzzyACutSet set_{4, levels_, cuts_, 0.0, 1.0};
};

TEST_F(CFuzzyACutSetNested, DegreeIsTheLevelOfTheLastCutOfTheUnbrokenRun) {
    EXPECT_EQ(set_.Membership(0.42), 0.75);  // in the first three cuts, not the fourth
    EXPECT_EQ(set_.Membership(0.5), 1.0);
    EXPECT_EQ(set_.Membership(0.9), 0.25);   // box ends belong to the box
    EXPECT_EQ(set_.Membership(0.97), 0.25);  // the second box
    EXPECT_EQ(set_.Membership(0.92), 0.0);
    EXPECT_EQ(CFuzzyACutSet(4, levels_, {}, 0.0, 1.0).Membership(0.5), 0.0);  // boxless cuts
    cuts_[1] = CAlphaCut(0.6, 0.7);  // a later cut holding the point no longer counts
    EXPECT_EQ(CFuzzyACutSet(4, levels_, cuts_, 0.0, 1.0).Membership(0.5), 0.25);
}

TEST_F(CFuzzyACutSetNested, CutsByLevelAndByPosition) {
    EXPECT_EQ(set_.CutAtLevel(0.6), cuts_[1]);
    EXPECT_EQ(set_.CutAtLevel(0.5), cuts_[1]);
    EXPECT_EQ(set_.CutAtLevel(7.0), cuts_[3]);
    EXPECT_EQ(set_.AlphaCut(0.3), cuts_[0]);
    const CAlphaCut below = set_.CutAtLevel(0.1);
    ASSERT_EQ(below.BoxCount(), 1);
    const double x = 0.5;
    EXPECT_FALSE(below.Contains(&x));  // the interval [1, -1]

    EXPECT_EQ(set_.CutAt(4), cuts_[3]);
    EXPECT_THROW(set_.CutAt(0), std::out_of_range);
    EXPECT_THROW(set_.CutAt(5), std::out_of_range);
}

TEST(CFuzzyACutSet, DefaultLevels) {
    const CFuzzyACutSet set(5, {}, {}, 0.0, 2.0);
    EXPECT_EQ(set.GetTypeName(), "alfacut");
    EXPECT_EQ(set.Levels()[1], 0.4);
    const std::vector<double> twoLevels{0.5, 1.0};
    EXPECT_THROW(CFuzzyACutSet(3, twoLevels, {}, 0.0, 1.0), std::invalid_argument);
}

}  // namespace
