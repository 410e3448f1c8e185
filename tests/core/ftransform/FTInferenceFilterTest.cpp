#include "core/ftransform/FTInferenceFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/defuzz/DefuzzificationMethods.h"
#include "core/ftransform/TFTransform.h"
#include "core/io/RuleBaseReader.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

using rulebase_test::RuleLine;

// The inputs the recording method was asked for; it answers with function(inputs). An
// inference method is a plain function, so this state cannot travel with it.
std::vector<std::vector<double>> asked;
double (*function)(std::span<const double>) = nullptr;

InferenceResult RecordingInference(CRuleBase&, const InferenceInput& input) {
    asked.emplace_back(input.crisp.begin(), input.crisp.end());
    return {nullptr, function(input.crisp)};
}

// Answers as RecordingInference until the call numbered failAt, which throws.
int failAt = -1;
InferenceResult FailingInference(CRuleBase& ruleBase, const InferenceInput& input) {
    if (static_cast<int>(asked.size()) == failAt)
        throw std::runtime_error("inference failed");
    return RecordingInference(ruleBase, input);
}

double Constant(std::span<const double>) {
    return 3.0;
}

double Line(std::span<const double> x) {
    return 1.0 + 0.25 * x[0];
}

// A singleton rule base with inputs over [0, 10] and one output over [0, 4].
rulebase_test::Model SingletonModel(int inputs, const std::string& conclusion = "1") {
    rulebase_test::Model model;
    model.kind = "singleton";
    model.inference = "Takagi-Sugeno Inference";
    for (int i = 0; i < inputs; ++i)
        model.inputs.push_back({"x" + std::to_string(i), "linguistic", 0.0, 10.0, 21});
    model.outputs = {{"y", "linc", 0.0, 4.0}};
    model.rules = {RuleLine(std::vector<std::string>(inputs, "undef"), {conclusion})};
    return model;
}

class FTInferenceFilterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        asked.clear();
        function = Constant;
        failAt = -1;
    }

    static CRuleBase Recorded(int inputs) {
        CRuleBase ruleBase = rulebase_test::Build(SingletonModel(inputs));
        ruleBase.SetInferenceMethod(RecordingInference);
        return ruleBase;
    }
};

TEST_F(FTInferenceFilterTest, SamplesA201PointGridWithTheFirstInputFastest) {
    CRuleBase one = Recorded(1);
    const FTInferenceFilter filter(one);
    ASSERT_EQ(asked.size(), 201u);
    for (std::size_t k = 0; k < 201; ++k)
        EXPECT_NEAR(asked[k][0], 0.04995 * k, 1e-12) << "sample " << k;
    const TPartition& partition = filter.Transform().Covering(0).Partition();
    for (int k = 0; k < 20; ++k)
        EXPECT_NEAR(partition.Node(k), 10.0 * k / 19, 1e-12);
    EXPECT_EQ(filter.Transform().GetDefaultValue(), 2.0);

    asked.clear();
    CRuleBase two = Recorded(2);
    const FTInferenceFilter filter2(two);
    ASSERT_EQ(asked.size(), 201u * 201u);
    EXPECT_NEAR(asked[1][0], 0.04995, 1e-12);
    EXPECT_EQ(asked[201][0], 0.0);
    EXPECT_NEAR(asked[201][1], 0.04995, 1e-12);
    EXPECT_NEAR(asked.back()[1], 9.99, 1e-12);
}

TEST_F(FTInferenceFilterTest, ReproducesWhatItSamples) {
    CRuleBase ruleBase = Recorded(2);
    const FTInferenceFilter filter(ruleBase);
    for (double x : {0.0, 0.3, 5.0, 9.7, 10.0}) {
        for (double y : {0.0, 2.2, 10.0})
            EXPECT_NEAR(filter.Value(std::vector{x, y}), 3.0, 1e-12) << x << ", " << y;
    }
}

TEST_F(FTInferenceFilterTest, LinguisticAndTakagiSugenoRuleBasesGiveTheirCrispOutput) {
    rulebase_test::Model linguistic;
    linguistic.inputs = {{"a", "linguistic", 0.0, 10.0, 51}};
    linguistic.outputs = {{"y", "linguistic", 0.0, 10.0, 51}};
    linguistic.rules = {RuleLine({"undef"}, {"ro me"})};
    CRuleBase lingBase = rulebase_test::Build(linguistic);
    const double crisp = lingBase.CrispOutput(std::vector{4.0});
    ASSERT_NE(crisp, 5.0);  // not the default value
    EXPECT_NEAR(lingBase.FilteredInference(std::vector{6.5}), crisp, 1e-9);

    rulebase_test::Model takagiSugeno = SingletonModel(1, "0.7");
    takagiSugeno.kind = "takagi_sugeno";
    CRuleBase tsBase = rulebase_test::Build(takagiSugeno);
    EXPECT_NEAR(tsBase.FilteredInference(std::vector{6.5}), 0.7, 1e-9);
}

TEST_F(FTInferenceFilterTest, ComputedWhenSwitchedOnOrFirstAskedNotWhenRead) {
    std::string text = rulebase_test::FileText(SingletonModel(1));
    text.replace(text.find("UseFuzzyFilter=false"), 20, "UseFuzzyFilter=true");
    CRuleBase ruleBase = ReadRuleBaseText(text);
    ruleBase.SetInferenceMethod(RecordingInference);
    ruleBase.SetUseFuzzyFilter(true);  // already on
    EXPECT_TRUE(ruleBase.GetUseFuzzyFilter());
    EXPECT_EQ(ruleBase.GetFuzzyFilter(), nullptr);

    EXPECT_DOUBLE_EQ(ruleBase.FilteredInference(std::vector{5.0}), 3.0);
    EXPECT_DOUBLE_EQ(ruleBase.FilteredInference(std::vector{7.0}), 3.0);
    EXPECT_EQ(asked.size(), 201u);
    ruleBase.SetUseFuzzyFilter(false);
    function = Line;
    ruleBase.SetUseFuzzyFilter(true);
    ruleBase.UpdateFuzzyFilter();
    EXPECT_EQ(asked.size(), 603u);

    // The filter keeps no pointer to the rule base, so it survives a move.
    CRuleBase moved(std::move(ruleBase));
    EXPECT_NEAR(moved.FilteredInference(std::vector{5.0}), Line(std::vector{5.0}), 0.01);
    EXPECT_EQ(asked.size(), 603u);
}

TEST_F(FTInferenceFilterTest, LeavesTheLastInferenceAsItWas) {
    rulebase_test::Model model = SingletonModel(1);
    model.rules = {RuleLine({"sm"}, {"1"}), RuleLine({"bi"}, {"3"})};
    CRuleBase ruleBase = rulebase_test::Build(model);
    ruleBase.CrispOutput(std::vector{1.0});
    const std::vector<std::uint8_t> fired(ruleBase.GetFiredFlags().begin(),
                                          ruleBase.GetFiredFlags().end());
    ruleBase.UpdateFuzzyFilter();
    EXPECT_EQ(ruleBase.GetInputs()[0], 1.0);
    EXPECT_EQ(ruleBase.GetFiredCount(), 1);
    EXPECT_TRUE(std::equal(fired.begin(), fired.end(), ruleBase.GetFiredFlags().begin()));
}

TEST_F(FTInferenceFilterTest, RemadeForAnotherNumberOfInputsAndRefusedWithoutVariables) {
    CRuleBase ruleBase = Recorded(1);
    ruleBase.UpdateFuzzyFilter();
    EXPECT_THROW(ruleBase.FilteredInference(std::vector<double>{}), std::invalid_argument);
    ruleBase.AddAntVariable(std::make_unique<CFuzzyVariable>(
                                "x1", std::make_shared<CLinguisticSettings>(0.0, 10.0), 21),
                            0);
    EXPECT_DOUBLE_EQ(ruleBase.FilteredInference(std::vector{5.0, 5.0}), 3.0);
    EXPECT_EQ(asked.size(), 201u + 201u * 201u);
    EXPECT_EQ(ruleBase.GetFuzzyFilter()->InputCount(), 2);

    CRuleBase empty;
    EXPECT_THROW(empty.SetUseFuzzyFilter(true), std::logic_error);
    EXPECT_EQ(empty.GetFuzzyFilter(), nullptr);
}

// A context far from zero, as narrow as single precision holds it there: 201 samples.
TEST_F(FTInferenceFilterTest, EndsOnAHugeMagnitudeContext) {
    CRuleBase ruleBase = Recorded(1);
    const double lo = 1e16f;
    ruleBase.GetSettings(0).SetContext(lo, std::nextafter(1e16f, 2e16f));
    try {
        ruleBase.UpdateFuzzyFilter();
    } catch (const std::invalid_argument&) {
        // A partition of nodes that collapse in the rounding may be refused after sampling.
    }
    ASSERT_EQ(asked.size(), 201u);
    EXPECT_EQ(asked.front()[0], lo);
}

// The sweeps run inferences of their own; one that fails part-way leaves the inputs, fired
// flags and count of the user's last inference as they were.
TEST_F(FTInferenceFilterTest, SweepsThatThrowKeepTheLastInference) {
    rulebase_test::Model model = SingletonModel(2);
    model.rules = {RuleLine({"sm", "sm"}, {"1"}), RuleLine({"bi", "bi"}, {"3"})};
    CRuleBase ruleBase = rulebase_test::Build(model);
    ruleBase.CrispOutput(std::vector{1.0, 2.0});
    const CRuleBase::InferenceState before = ruleBase.SaveInferenceState();
    ASSERT_EQ(before.firedCount, 1);
    ruleBase.SetInferenceMethod(FailingInference);
    failAt = 250;
    const auto expectUnchanged = [&] {
        EXPECT_EQ(std::vector<double>(ruleBase.GetInputs().begin(), ruleBase.GetInputs().end()),
                  before.inputs);
        EXPECT_EQ(std::vector<std::uint8_t>(ruleBase.GetFiredFlags().begin(),
                                            ruleBase.GetFiredFlags().end()),
                  before.firedFlags);
        EXPECT_EQ(ruleBase.GetFiredCount(), before.firedCount);
    };
    EXPECT_THROW(ruleBase.UpdateFuzzyFilter(), std::runtime_error);
    EXPECT_EQ(asked.size(), 250u);
    expectUnchanged();
    asked.clear();
    EXPECT_THROW(SmoothLinguisticValue(ruleBase, 80.0), std::runtime_error);
    expectUnchanged();
}

}  // namespace
