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

#include "core/ftransform/TFTransform.h"
#include "core/io/RuleBaseReader.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

using rulebase_test::Model;
using rulebase_test::RuleLine;

// What the recording inference method was asked, and the function it answers with.
struct Recording {
    std::vector<std::vector<double>> inputs;
    double (*function)(std::span<const double>) = nullptr;
};
Recording recording;

InferenceResult RecordingInference(CRuleBase&, const InferenceInput& input) {
    recording.inputs.emplace_back(input.crisp.begin(), input.crisp.end());
    return {nullptr, recording.function(input.crisp)};
}

double Constant(std::span<const double>) {
    return 3.0;
}

double Linear(std::span<const double> x) {
    return 1.0 + 0.25 * x[0];
}

// Inputs over [0, 10], one output over [0, 4], answered by the recording method.
Model SingletonModel(int inputs) {
    Model model;
    model.kind = "singleton";
    model.inference = "Takagi-Sugeno Inference";
    std::vector<std::string> cells;
    for (int i = 0; i < inputs; ++i) {
        model.inputs.push_back({"x" + std::to_string(i), "linguistic", 0.0, 10.0, 21});
        cells.push_back("undef");
    }
    model.outputs = {{"y", "linc", 0.0, 4.0}};
    model.rules = {RuleLine(cells, {"1"})};
    return model;
}

class FTInferenceFilterTest : public ::testing::Test {
  protected:
    void SetUp() override { recording = {{}, Constant}; }

    static CRuleBase Recorded(int inputs) {
        CRuleBase ruleBase = rulebase_test::Build(SingletonModel(inputs));
        ruleBase.SetInferenceMethod(RecordingInference);
        return ruleBase;
    }
};

TEST_F(FTInferenceFilterTest, SamplesEachInputAt201PointsShortOfItsUpperEnd) {
    CRuleBase ruleBase = Recorded(1);
    const FTInferenceFilter filter(ruleBase);
    ASSERT_EQ(recording.inputs.size(), 201u);
    for (std::size_t k = 0; k < 201; ++k)
        EXPECT_NEAR(recording.inputs[k][0], 0.04995 * k, 1e-12) << "sample " << k;
    EXPECT_NEAR(recording.inputs.back()[0], 9.99, 1e-12);

    ASSERT_EQ(filter.InputCount(), 1);
    const FTDimensionSettings& axis = filter.Settings()[0];
    EXPECT_EQ(axis.low, 0.0);
    EXPECT_EQ(axis.high, 10.0);
    EXPECT_EQ(axis.nodes, 20);
    EXPECT_EQ(axis.shape, ftTriangular);
    const TPartition& partition = filter.Transform().Covering(0).Partition();
    for (int k = 0; k < 20; ++k)
        EXPECT_NEAR(partition.Node(k), 10.0 * k / 19, 1e-12);
    EXPECT_EQ(filter.Transform().GetDefaultValue(), 2.0);
}

TEST_F(FTInferenceFilterTest, TwoInputsRunLikeAnOdometerWithTheFirstFastest) {
    CRuleBase ruleBase = Recorded(2);
    const FTInferenceFilter filter(ruleBase);
    ASSERT_EQ(recording.inputs.size(), 201u * 201u);
    EXPECT_EQ(recording.inputs[0], (std::vector<double>{0.0, 0.0}));
    EXPECT_NEAR(recording.inputs[1][0], 0.04995, 1e-12);
    EXPECT_EQ(recording.inputs[1][1], 0.0);
    EXPECT_EQ(recording.inputs[201][0], 0.0);
    EXPECT_NEAR(recording.inputs[201][1], 0.04995, 1e-12);
    EXPECT_NEAR(recording.inputs.back()[0], 9.99, 1e-12);
    EXPECT_NEAR(recording.inputs.back()[1], 9.99, 1e-12);
}

TEST_F(FTInferenceFilterTest, ReproducesWhatItSamples) {
    CRuleBase ruleBase = Recorded(2);
    FTInferenceFilter filter(ruleBase);
    const std::span<const double> defined = filter.Transform().DefinedFlags().Data();
    EXPECT_TRUE(std::all_of(defined.begin(), defined.end(), [](double d) { return d == 1.0; }));
    for (double x : {0.0, 0.3, 5.0, 9.7, 10.0}) {
        for (double y : {0.0, 2.2, 10.0})
            EXPECT_NEAR(filter.Value(std::vector<double>{x, y}), 3.0, 1e-12) << x << ", " << y;
    }

    // A line is smoothed only near the ends of the axis, where the nodes see one side.
    recording.function = Linear;
    filter.Compute(ruleBase);
    for (double x : {1.0, 3.3, 5.0, 8.9})
        EXPECT_NEAR(filter.Value(std::vector<double>{x, 5.0}), Linear(std::vector{x}), 0.01) << x;
}

TEST_F(FTInferenceFilterTest, LinguisticAndTakagiSugenoRuleBasesGiveTheirCrispOutput) {
    Model linguistic;
    linguistic.inputs = {{"a", "linguistic", 0.0, 10.0, 51}};
    linguistic.outputs = {{"y", "linguistic", 0.0, 10.0, 51}};
    linguistic.rules = {RuleLine({"undef"}, {"ro me"})};
    CRuleBase lingBase = rulebase_test::Build(linguistic);
    const double crisp = lingBase.CrispOutput(std::vector<double>{4.0});
    ASSERT_NE(crisp, 5.0);  // not the default value
    EXPECT_NEAR(lingBase.FilteredInference(std::vector<double>{6.5}), crisp, 1e-9);

    Model takagiSugeno = SingletonModel(1);
    takagiSugeno.kind = "takagi_sugeno";
    takagiSugeno.rules = {RuleLine({"undef"}, {"0.7"})};
    CRuleBase tsBase = rulebase_test::Build(takagiSugeno);
    EXPECT_NEAR(tsBase.FilteredInference(std::vector<double>{6.5}), 0.7, 1e-9);
}

TEST_F(FTInferenceFilterTest, SwitchingOnComputesReadingDoesNot) {
    std::string text = rulebase_test::FileText(SingletonModel(1));
    text.replace(text.find("UseFuzzyFilter=false"), 20, "UseFuzzyFilter=true");
    CRuleBase ruleBase = ReadRuleBaseText(text);
    ruleBase.SetInferenceMethod(RecordingInference);
    EXPECT_TRUE(ruleBase.GetUseFuzzyFilter());
    EXPECT_EQ(ruleBase.GetFuzzyFilter(), nullptr);
    ruleBase.SetUseFuzzyFilter(true);  // no change
    EXPECT_EQ(ruleBase.GetFuzzyFilter(), nullptr);

    EXPECT_DOUBLE_EQ(ruleBase.FilteredInference(std::vector<double>{5.0}), 3.0);
    EXPECT_EQ(recording.inputs.size(), 201u);
    EXPECT_DOUBLE_EQ(ruleBase.FilteredInference(std::vector<double>{7.0}), 3.0);
    EXPECT_EQ(recording.inputs.size(), 201u);

    ruleBase.SetUseFuzzyFilter(false);
    EXPECT_EQ(recording.inputs.size(), 201u);
    recording.function = Linear;
    ruleBase.SetUseFuzzyFilter(true);
    EXPECT_EQ(recording.inputs.size(), 402u);
    EXPECT_NEAR(ruleBase.FilteredInference(std::vector<double>{5.0}), Linear(std::vector{5.0}),
                0.01);
    ruleBase.UpdateFuzzyFilter();
    EXPECT_EQ(recording.inputs.size(), 603u);

    // The filter does not point back at the rule base, so it survives a move.
    CRuleBase moved(std::move(ruleBase));
    EXPECT_NEAR(moved.FilteredInference(std::vector<double>{5.0}), Linear(std::vector{5.0}), 0.01);
    EXPECT_EQ(recording.inputs.size(), 603u);
}

TEST_F(FTInferenceFilterTest, KeepsTheLastInferenceOfTheRuleBase) {
    Model model = SingletonModel(1);
    model.rules = {RuleLine({"sm"}, {"1"}), RuleLine({"bi"}, {"3"})};
    CRuleBase ruleBase = rulebase_test::Build(model);
    ruleBase.CrispOutput(std::vector<double>{1.0});
    const std::vector<std::uint8_t> fired(ruleBase.GetFiredFlags().begin(),
                                          ruleBase.GetFiredFlags().end());
    const int firedCount = ruleBase.GetFiredCount();
    ruleBase.UpdateFuzzyFilter();
    EXPECT_EQ(ruleBase.GetInputs()[0], 1.0);
    EXPECT_EQ(ruleBase.GetFiredCount(), firedCount);
    EXPECT_TRUE(std::equal(fired.begin(), fired.end(), ruleBase.GetFiredFlags().begin()));
}

TEST_F(FTInferenceFilterTest, RemadeForANewNumberOfInputs) {
    CRuleBase ruleBase = Recorded(1);
    ruleBase.UpdateFuzzyFilter();
    ruleBase.AddAntVariable(std::make_unique<CFuzzyVariable>(
                                "x1", std::make_shared<CLinguisticSettings>(0.0, 10.0), 21),
                            0);
    recording.inputs.clear();
    EXPECT_DOUBLE_EQ(ruleBase.FilteredInference(std::vector<double>{5.0, 5.0}), 3.0);
    EXPECT_EQ(recording.inputs.size(), 201u * 201u);
    EXPECT_EQ(ruleBase.GetFuzzyFilter()->InputCount(), 2);
}

TEST_F(FTInferenceFilterTest, RefusesWhatItCannotFilter) {
    CRuleBase empty;
    EXPECT_THROW(empty.SetUseFuzzyFilter(true), std::logic_error);
    EXPECT_THROW(empty.UpdateFuzzyFilter(), std::logic_error);
    EXPECT_EQ(empty.GetFuzzyFilter(), nullptr);

    CRuleBase ruleBase = Recorded(2);
    EXPECT_THROW(ruleBase.FilteredInference(std::vector<double>{5.0}), std::invalid_argument);
    EXPECT_TRUE(recording.inputs.empty());
}

}  // namespace
