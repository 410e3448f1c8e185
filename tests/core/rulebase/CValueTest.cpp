#include "core/rulebase/CValue.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "core/lang/CLinCSettings.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzValue.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CLinCValue.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyDiscreteSet.h"
#include "core/text/ESyntax.h"

namespace {

class CValueTest : public ::testing::Test {
  protected:
    void SetUp() override {
        settings_ = std::make_shared<CLinguisticSettings>(0.0, 10.0);
        ruleBase_.AppendVariable(std::make_unique<CFuzzyVariable>("x", settings_, 11), false);
        ruleBase_.AppendVariable(std::make_unique<CFuzzyVariable>("y", settings_, 11), false);
        ruleBase_.AppendVariable(
            std::make_unique<CFuzzyVariable>("z", std::make_shared<CLinCSettings>(0.0, 1.0), 11),
            true);
    }

    std::shared_ptr<CLinguisticSettings> settings_;
    CRuleBase ruleBase_;
};

TEST_F(CValueTest, BuiltSetIsKeptCompressedAndNotTemporary) {
    CFuzValue value("bi", 0);
    EXPECT_EQ(value.GetSet(), nullptr);
    value.Build(ruleBase_);
    const CFuzzyDiscreteSet* set = value.GetSet();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->GetTypeName(), "ocmpset");
    EXPECT_FALSE(set->IsTemporary());
    EXPECT_EQ(set->Count(), 11);
    EXPECT_EQ(set->Sample(0), 0.0);
    EXPECT_EQ(set->Sample(10), 1.0);
    EXPECT_EQ(set->GetLowerBound(), 0.0);
    EXPECT_EQ(set->GetUpperBound(), 10.0);
}

TEST_F(CValueTest, SetThatIsZeroEverywhereStaysUncompressed) {
    CFuzValue value("not undef", 1);
    value.Build(ruleBase_);
    ASSERT_NE(value.GetSet(), nullptr);
    EXPECT_EQ(value.GetSet()->GetTypeName(), "discrete");
    EXPECT_EQ(value.GetSet()->LastNonZero(), -1);
}

TEST_F(CValueTest, BuildingAgainReplacesTheSet) {
    CFuzValue value("about 8", 0);
    value.Build(ruleBase_);
    const double before = value.GetSet()->Sample(8);
    EXPECT_EQ(before, 1.0);
    settings_->SetContext(0.0, 20.0);
    value.Build(ruleBase_);
    EXPECT_LT(value.GetSet()->Sample(8), before);  // 8 now lies near sample 4
    EXPECT_EQ(value.GetSet()->GetUpperBound(), 20.0);
}

TEST_F(CValueTest, FailedBuildLeavesNoSet) {
    CFuzValue value("about 8", 0);
    value.Build(ruleBase_);
    settings_->SetContext(0.0, 1.0);
    EXPECT_THROW(value.Build(ruleBase_), ESyntax);
    EXPECT_EQ(value.GetSet(), nullptr);
}

TEST_F(CValueTest, GridOfFewerThanTwoSamplesDoesNotBuild) {
    ruleBase_.GetVariable(0).SetDiscretization(1);
    CFuzValue value("sm", 0);
    EXPECT_THROW(value.Build(ruleBase_), ESyntax);
}

TEST_F(CValueTest, LinearCombinationHasOneCoefficientPerAntecedent) {
    CLinCValue value("0.5 + 2*x1 - x2", -1, 2);
    EXPECT_EQ(value.GetCoefficients().size(), 3u);
    value.Build(ruleBase_);
    const auto c = value.GetCoefficients();
    EXPECT_EQ(std::vector<double>(c.begin(), c.end()), (std::vector<double>{0.5, 2.0, -1.0}));
}

TEST_F(CValueTest, LinearCombinationGrowsWithTheAntecedents) {
    CLinCValue value("x3", -1, 2);
    EXPECT_THROW(value.Build(ruleBase_), ESyntax);  // only two inputs yet
    CRuleBase bigger;
    for (const char* name : {"a", "b", "c"}) {
        bigger.AppendVariable(std::make_unique<CFuzzyVariable>(name, settings_, 11), false);
    }
    bigger.AppendVariable(
        std::make_unique<CFuzzyVariable>("z", std::make_shared<CLinCSettings>(0.0, 1.0), 11), true);
    value.Build(bigger);
    EXPECT_EQ(value.GetCoefficients().size(), 4u);
    EXPECT_EQ(value.GetCoefficients()[3], 1.0);
}

}  // namespace
