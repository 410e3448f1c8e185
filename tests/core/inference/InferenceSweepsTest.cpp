#include "core/inference/InferenceSweeps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/defuzz/DefuzzificationMethods.h"
#include "core/ftransform/FTInferenceFilter.h"
#include "core/ftransform/TFTransform.h"
#include "core/inference/MethodTables.h"
#include "core/rulebase/CRuleBase.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

using rulebase_test::RuleLine;

// The same routine under another address: sweeps do not know it, so they run it one point after
// another through the rule base, which is the serial definition they must equal.
template <InferenceRoutine Routine>
InferenceResult Unlisted(CRuleBase& ruleBase, const InferenceInput& inputs) {
    return Routine(ruleBase, inputs);
}

constexpr std::array<InferenceRoutine, 6> kUnlisted = {
    Unlisted<CrispInferenceMethodTable[0].Routine>, Unlisted<CrispInferenceMethodTable[1].Routine>,
    Unlisted<CrispInferenceMethodTable[2].Routine>, Unlisted<CrispInferenceMethodTable[3].Routine>,
    Unlisted<CrispInferenceMethodTable[4].Routine>, Unlisted<CrispInferenceMethodTable[5].Routine>,
};

// A random model: 1-3 inputs over [0, 10] or [2, 4], random cells (some rules switched off),
// a random method of the editor's table and a random defuzzification.
struct RandomModel {
    std::string text;
    int method;
    int inputs;
};

RandomModel MakeModel(unsigned seed) {
    static const std::vector<std::string> kWords = {"sm",    "me",    "bi",    "ex sm", "ve bi",
                                                    "ro me", "ml bi", "si sm", "undef"};
    static const std::vector<std::string> kSymmetricWords = {"ze",  "-sm", "+sm",   "-bi",
                                                             "+bi", "-me", "ro ze", "ve +bi"};
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % n); };
    RandomModel made;
    made.method = pick(6);
    made.inputs = 1 + pick(3);
    rulebase_test::Model model;
    const bool singleton = made.method == 5;
    model.kind = singleton ? (pick(2) ? "singleton" : "takagi_sugeno") : "linguistic";
    model.inference = std::string(CrispInferenceMethodTable[made.method].Keyword);
    model.defuzzification = std::string(DefuzzificationMethodTable[pick(5)].Keyword);
    for (int i = 0; i < made.inputs; ++i) {
        const bool narrow = pick(2);
        model.inputs.push_back({"x" + std::to_string(i), "linguistic", narrow ? 2.0 : 0.0,
                                narrow ? 4.0 : 10.0, std::array{51, 101, 301}[pick(3)]});
    }
    const bool symmetric = pick(2);
    if (singleton)
        model.outputs = {{"y", "linc", 0.0, 4.0}};
    else
        model.outputs = {
            {"y", "linguistic", symmetric ? -1.0 : 0.0, 1.0, std::array{51, 101, 301}[pick(3)]}};
    const int rules = 3 + pick(10);
    for (int r = 0; r < rules; ++r) {
        std::vector<std::string> cells;
        for (int i = 0; i < made.inputs; ++i)
            cells.push_back(kWords[pick(static_cast<int>(kWords.size()))]);
        const std::string output =
            singleton   ? std::to_string(pick(40) / 10.0)
            : symmetric ? kSymmetricWords[pick(static_cast<int>(kSymmetricWords.size()))]
                        : kWords[pick(static_cast<int>(kWords.size()) - 1)];
        model.rules.push_back(RuleLine(cells, {output}, pick(6) != 0));
    }
    made.text = rulebase_test::FileText(model);
    return made;
}

class InferenceSweepsTest : public ::testing::TestWithParam<unsigned> {
  protected:
    void SetUp() override {
        const RandomModel made = MakeModel(GetParam());
        inputs_ = made.inputs;
        fast_ = std::make_unique<CRuleBase>(ReadRuleBaseText(made.text));
        serial_ = std::make_unique<CRuleBase>(ReadRuleBaseText(made.text));
        serial_->SetInferenceMethod(kUnlisted[made.method]);
        random_.seed(GetParam());
    }

    // Values over the contexts and a little beyond.
    double Input() { return std::uniform_real_distribution<double>(-0.5, 10.5)(random_); }

    std::vector<double> SerialOutputs(const std::vector<double>& points) {
        std::vector<double> outputs;
        for (std::size_t p = 0; p < points.size(); p += inputs_)
            outputs.push_back(serial_->CrispOutput(std::span(points).subspan(p, inputs_)));
        return outputs;
    }

    int inputs_ = 0;
    std::unique_ptr<CRuleBase> fast_;
    std::unique_ptr<CRuleBase> serial_;
    std::mt19937 random_;
};

TEST_P(InferenceSweepsTest, PointsEqualTheSerialDefinitionOnAnyThreadCount) {
    std::vector<double> points(300 * inputs_);
    for (double& x : points)
        x = Input();
    // Runs of points where only input 0 moves, as a projection asks for them.
    for (std::size_t p = 100; p < 200; ++p) {
        for (int i = 1; i < inputs_; ++i)
            points[p * inputs_ + i] = points[100 * inputs_ + i];
    }
    fast_->CrispOutput(std::span(points).first(inputs_));
    const CRuleBase::InferenceState before = fast_->SaveInferenceState();

    const std::vector<double> expected = SerialOutputs(points);
    for (int threads : {1, 3, 8}) {
        std::vector<double> outputs(300);
        EvaluatePoints(*fast_, points, outputs, {threads});
        EXPECT_EQ(outputs, expected) << threads << " threads, seed " << GetParam();
    }
    for (std::size_t p = 0; p < 300; p += 37)
        EXPECT_EQ(fast_->CrispOutput(std::span(points).subspan(p * inputs_, inputs_)), expected[p]);

    fast_->CrispOutput(std::span(points).first(inputs_));
    std::vector<double> outputs(300);
    EvaluatePoints(*fast_, points, outputs);
    EXPECT_EQ(fast_->GetFiredCount(), before.firedCount);
    EXPECT_TRUE(std::ranges::equal(fast_->GetFiredFlags(), before.firedFlags));
    EXPECT_TRUE(std::ranges::equal(fast_->GetInputs(), before.inputs));
    EXPECT_THROW(
        EvaluatePoints(*fast_, std::span(points).first(inputs_ + 1), std::span(outputs).first(1)),
        std::invalid_argument);
}

TEST_P(InferenceSweepsTest, GridsEqualTheSerialDefinitionOnAnyThreadCount) {
    std::vector<std::vector<double>> axes(inputs_);
    std::vector<double> points;
    for (int i = 0; i < inputs_; ++i) {
        for (int k = 0; k < 9 - 2 * i; ++k)
            axes[i].push_back(Input());
    }
    std::vector<int> index(inputs_, 0);
    do {
        for (int i = 0; i < inputs_; ++i)
            points.push_back(axes[i][index[i]]);
    } while (NextGridIndex(inputs_, std::vector<int>{9, 7, 5}.data(), index.data()));
    const std::vector<double> expected = SerialOutputs(points);
    for (int threads : {1, 2, 8}) {
        std::vector<double> outputs(expected.size());
        EvaluateGrid(*fast_, axes, outputs, {threads});
        EXPECT_EQ(outputs, expected) << threads << " threads, seed " << GetParam();
    }
}

TEST_P(InferenceSweepsTest, SmoothAveragesEqualTheSerialDefinitionOnAnyThreadCount) {
    for (CRuleBase* ruleBase : {fast_.get(), serial_.get()}) {
        ruleBase->SetDefuzzificationMethod(SmoothDeffuzLingExpr);
        ruleBase->SetProjectionSteps(inputs_ == 3 ? 10 : 40);
    }
    for (int trial = 0; trial < 3; ++trial) {
        std::vector<double> x(inputs_);
        for (double& value : x)
            value = Input();
        fast_->Infer(x);
        serial_->Infer(x);
        const double expected = SmoothLinguisticValue(*serial_, fast_->GetProjectionSteps() * 0.8);
        for (int threads : {1, 3, 8})
            EXPECT_EQ(SmoothNeighbourhoodAverage(*fast_, fast_->GetProjectionSteps() * 0.8,
                                                 kSmoothStepShare, {threads}),
                      expected)
                << threads << " threads, seed " << GetParam();
    }
    // The smooth method as the crisp output of many points: each point's average on one worker.
    fast_->SetProjectionSteps(5);
    serial_->SetProjectionSteps(5);
    std::vector<double> points(20 * inputs_);
    for (double& x : points)
        x = Input();
    std::vector<double> outputs(20);
    EvaluatePoints(*fast_, points, outputs, {4});
    EXPECT_EQ(outputs, SerialOutputs(points));
}

TEST_P(InferenceSweepsTest, FilterEqualsTheSerialDefinition) {
    if (inputs_ > 2)
        GTEST_SKIP() << "201^3 serial inferences";
    fast_->UpdateFuzzyFilter();
    serial_->UpdateFuzzyFilter();
    const auto fastComponents = fast_->GetFuzzyFilter()->Transform().Components().Data();
    const auto serialComponents = serial_->GetFuzzyFilter()->Transform().Components().Data();
    EXPECT_TRUE(std::ranges::equal(fastComponents, serialComponents)) << "seed " << GetParam();
}

// A Zadeh model of user terms: triangles and trapezoids on a coarse grid of the context, so that
// kernels are level, consequents tie and firing degrees tie with their samples; the output's
// context symmetric or not.
RandomModel UserTermsModel(std::mt19937& random) {
    const auto pick = [&](int n) { return static_cast<int>(random() % n); };
    const auto terms = [&](double lo, double hi, int count) {
        std::string text;
        for (int t = 0; t < count; ++t) {
            std::vector<double> corners(pick(2) ? 4 : 3);
            for (double& corner : corners)
                corner = lo + (hi - lo) * pick(9) / 8.0;
            std::sort(corners.begin(), corners.end());
            text += " UserTerm\n  name=t" + std::to_string(t) +
                    "\n  type=" + (corners.size() == 4 ? "trapezoid" : "triang") +
                    "\n  parameters=";
            for (const double corner : corners)
                text += " " + std::to_string(corner);
            text += "\n End_UserTerm\n";
        }
        return text;
    };
    RandomModel made;
    made.method = std::array{2, 3, 4}[pick(3)];
    made.inputs = 2;
    rulebase_test::Model model;
    model.inference = std::string(CrispInferenceMethodTable[made.method].Keyword);
    model.defuzzification = "Smooth Deffuz Ling Expr";
    model.inputs = {{"x", "linguistic", 0.0, 10.0, 101, terms(0.0, 10.0, 4)},
                    {"z", "linguistic", 0.0, 10.0, 101, terms(0.0, 10.0, 4)}};
    const bool symmetric = pick(2);
    const double lo = symmetric ? -1.0 : 0.0;
    model.outputs = {
        {"y", "linguistic", lo, 1.0, std::array{51, 101, 301}[pick(3)], terms(lo, 1.0, 5)}};
    for (int r = 0; r < 12; ++r) {
        model.rules.push_back(
            RuleLine({"t" + std::to_string(pick(4)), "t" + std::to_string(pick(4))},
                     {"t" + std::to_string(pick(5))}, pick(8) != 0));
    }
    made.text = rulebase_test::FileText(model);
    return made;
}

// The smooth average of each sweep of such models equals the rule base's own, bit for bit.
TEST(InferenceSweepsUserTerms, SmoothAveragesEqualTheSerialDefinition) {
    std::mt19937 random(3);
    for (int trial = 0; trial < 40; ++trial) {
        const RandomModel made = UserTermsModel(random);
        CRuleBase fast = ReadRuleBaseText(made.text);
        CRuleBase serial = ReadRuleBaseText(made.text);
        serial.SetInferenceMethod(kUnlisted[made.method]);
        for (CRuleBase* ruleBase : {&fast, &serial})
            ruleBase->SetProjectionSteps(40);
        for (int point = 0; point < 4; ++point) {
            const std::vector<double> x = {std::uniform_real_distribution<double>(0, 10)(random),
                                           std::uniform_real_distribution<double>(0, 10)(random)};
            fast.Infer(x);
            serial.Infer(x);
            const double expected = SmoothLinguisticValue(serial, 40 * 0.8);
            for (int threads : {1, 3})
                ASSERT_EQ(SmoothNeighbourhoodAverage(fast, 40 * 0.8, kSmoothStepShare, {threads}),
                          expected)
                    << "trial " << trial << ", point " << point << ", " << threads << " threads";
        }
    }
}

// Ties in the perception-based deduction select several rules at once: here two rules share
// each antecedent pair and five share "me" / "me", more than a sweep keeps per selection. Each
// point of a grid, and of the filter, must still equal the rule base's own inference.
TEST(InferenceSweepsSelections, TiedRulesEqualTheSerialDefinition) {
    rulebase_test::Model model;
    model.inference = "Logical_Deduction";
    model.defuzzification = "DefuzzLingExpression";
    model.inputs = {{"x", "linguistic", 0.0, 10.0, 101}, {"z", "linguistic", 0.0, 10.0, 101}};
    model.outputs = {{"y", "linguistic", 0.0, 1.0, 101}};
    for (const char* output : {"sm", "bi"}) {
        model.rules.push_back(RuleLine({"sm", "bi"}, {output}, true));
        model.rules.push_back(RuleLine({"bi", "sm"}, {output}, true));
    }
    for (const char* output : {"sm", "me", "bi", "ve sm", "ex bi"})
        model.rules.push_back(RuleLine({"me", "me"}, {output}, true));
    const std::string text = rulebase_test::FileText(model);
    CRuleBase fast = ReadRuleBaseText(text);
    CRuleBase serial = ReadRuleBaseText(text);
    serial.SetInferenceMethod(Unlisted<LLogInfPreCrisp>);

    std::vector<std::vector<double>> axes(2);
    for (int k = 0; k <= 40; ++k) {
        axes[0].push_back(k * 0.25);
        axes[1].push_back(10 - k * 0.25);
    }
    std::vector<double> expected;
    for (const double z : axes[1]) {
        for (const double x : axes[0])
            expected.push_back(serial.CrispOutput(std::vector{x, z}));
    }
    for (int threads : {1, 3}) {
        std::vector<double> outputs(expected.size());
        EvaluateGrid(fast, axes, outputs, {threads});
        EXPECT_EQ(outputs, expected) << threads << " threads";
    }
    fast.UpdateFuzzyFilter();
    serial.UpdateFuzzyFilter();
    EXPECT_TRUE(std::ranges::equal(fast.GetFuzzyFilter()->Transform().Components().Data(),
                                   serial.GetFuzzyFilter()->Transform().Components().Data()));
}

INSTANTIATE_TEST_SUITE_P(SeededModels, InferenceSweepsTest, ::testing::Range(1u, 13u));

}  // namespace
