#include "core/norms/C1ArgOper.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/norms/CModifier.h"
#include "core/norms/CNegation.h"
#include "core/sets/CFuzzyDiscreteSet.h"

namespace {

TEST(C1ArgOper, DegreeTable) {
    EXPECT_EQ(CNegation().Apply(0.0), 1.0);
    EXPECT_NEAR(CNegation().Apply(0.3), 0.7, 1e-15);
    EXPECT_EQ(CModifier(2.0).Apply(0.5), 0.25);
    EXPECT_EQ(CModifier(0.5).Apply(0.25), 0.5);
    EXPECT_EQ(CModifier(0.5).Exponent(), 0.5);
}

// Reports its destruction, to show who ends the life of a set.
class WatchedSet : public CFuzzyDiscreteSet {
  public:
    WatchedSet(std::vector<double> values, bool& destroyed)
        : CFuzzyDiscreteSet(std::move(values), -2.0, 2.0), destroyed_(destroyed) {}
    ~WatchedSet() override { destroyed_ = true; }

  private:
    bool& destroyed_;
};

TEST(C1ArgOperApplyToSet, TemporaryResultOnACopyOfTheUniverse) {
    bool lentDestroyed = false;
    const WatchedSet lent({0.0, 0.25, 1.0}, lentDestroyed);
    const auto result = CNegation().ApplyToSet(lent);
    EXPECT_FALSE(lentDestroyed);
    EXPECT_TRUE(result->IsTemporary());
    EXPECT_EQ(result->Universe(), lent.Universe());
    EXPECT_NE(&result->Universe(), &lent.Universe());
    EXPECT_EQ(std::vector<double>(result->Values().begin(), result->Values().end()),
              (std::vector<double>{1.0, 0.75, 0.0}));

    bool handedOverDestroyed = false;
    auto handedOver = std::make_unique<WatchedSet>(std::vector<double>{0.5}, handedOverDestroyed);
    EXPECT_EQ(CModifier(2.0).ApplyToSet(std::move(handedOver))->Values()[0], 0.25);
    EXPECT_TRUE(handedOverDestroyed);
    // Chained results: under the address sanitizer a leak or double free fails here.
    EXPECT_EQ(CNegation().ApplyToSet(CNegation().ApplyToSet(lent))->Values()[1], 0.25);
}

}  // namespace
