// The server's own tables and routines, called directly: where they differ from the core's and
// where they must not.
#include "com/Kelrun/ServerVariants.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/defuzz/DefuzzificationMethods.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/SetOperand.h"
#include "core/text/ESyntax.h"
#include "tests/com/Kelrun/KelrunTestSupport.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

rulebase_test::Model TwoInputModel(const std::string& defuzzification) {
    rulebase_test::Model model;
    model.inference = "Logical_Deduction";
    model.defuzzification = defuzzification;
    model.inputs = {{"a", "linguistic", 0.0, 10.0, 101}, {"b", "linguistic", -1.0, 1.0, 101}};
    model.outputs = {{"y", "linguistic", 0.0, 1.0, 101}};
    model.rules = {rulebase_test::RuleLine({"sm", "-sm"}, {"sm"}),
                   rulebase_test::RuleLine({"me", "ze"}, {"me"}),
                   rulebase_test::RuleLine({"bi", "+bi"}, {"bi"})};
    return model;
}

CRuleBase ServerRead(const std::string& text) {
    CRuleBase ruleBase = ReadRuleBaseText(text, "", kelrun::ReaderOptions());
    ruleBase.Prepare();
    return ruleBase;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(ServerTables, SixInferenceMethodsAndTheCoresDefuzzificationNames) {
    const std::vector<std::string> keywords = {
        "Fuzzy_Approximation-logical",    "Logical_Deduction", "LLogInfFuz",
        "Fuzzy_Approximation-functional", "LZadInfFuz",        "Takagi-Sugeno Inference"};
    const std::vector<std::string> displayNames = {
        "Fuzzy Approximation with Implications", "Logical Deduction", "LLogInfFuz",
        "Fuzzy Approximation with Conjunctions", "LZadInfFuz",        "Takagi-Sugeno Inference"};
    const InferenceRoutine routines[] = {LLogInfCrisp, LLogInfPreCrisp, LLogInfFuz,
                                         LZadInfCrisp, LZadInfFuz,      LLinCInfCrisp};
    for (std::size_t row = 0; row < kelrun::InferenceMethodTable.size(); ++row) {
        const auto& record = kelrun::InferenceMethodTable[row];
        EXPECT_EQ(record.Keyword, keywords[row]);
        EXPECT_EQ(record.DisplayName, displayNames[row]);
        EXPECT_EQ(record.Routine, routines[row]);
        // Short names as the core's, so that files naming them read alike.
        EXPECT_EQ(record.ShortName,
                  FindMethodByRoutine(InferenceMethodTable, routines[row])->ShortName);
    }
    for (std::size_t row = 0; row < kelrun::DefuzzificationMethodTable.size(); ++row) {
        const auto& server = kelrun::DefuzzificationMethodTable[row];
        const auto& core = DefuzzificationMethodTable[row];
        EXPECT_EQ(server.Keyword, core.Keyword);
        EXPECT_EQ(server.ShortName, core.ShortName);
        EXPECT_EQ(server.DisplayName, core.DisplayName);
        EXPECT_EQ(server.Routine == core.Routine, row < 4) << server.Keyword;
    }
    EXPECT_EQ(kelrun::DefuzzificationMethodTable[4].Routine, &kelrun::MOM);
    EXPECT_EQ(kelrun::DefuzzificationMethodTable[5].Routine, &kelrun::SmoothDeffuzLingExpr);
}

TEST(ServerReader, RefusesWhatTheServerLacksAndIgnoresTheFilterSwitch) {
    const std::string text = rulebase_test::FileText(TwoInputModel("SimpleCenterOfGravity"));
    for (const std::string method :
         {"Fuzzy_Approximation-func_prod", "Fuzzy_Approximation-func_luk"}) {
        try {
            ServerRead(Replaced(text, "=Logical_Deduction", "=" + method));
            ADD_FAILURE() << method;
        } catch (const ESyntax& error) {
            EXPECT_EQ(error.Message(), "unknown type of inference method ");
            EXPECT_TRUE(error.Text().starts_with(method)) << error.Text();
        }
        // The core knows them.
        EXPECT_NO_THROW(ReadRuleBaseText(Replaced(text, "=Logical_Deduction", "=" + method)));
    }

    const std::string gaussian = Replaced(
        text, " discretization=101\n",
        " discretization=101\n UserTerm\n  name=near\n  type=gaussian\n  parameters= 1 2 3 4\n"
        " End_UserTerm\n");
    try {
        ServerRead(gaussian);
        ADD_FAILURE() << "a gaussian user term";
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Message(), "unknown type of fuzzy set ");
        EXPECT_TRUE(error.Text().starts_with("gaussian")) << error.Text();
    }
    EXPECT_NO_THROW(ReadRuleBaseText(gaussian));
    EXPECT_NO_THROW(
        ServerRead(Replaced(gaussian, "=gaussian", "=quadratic\n  parameters= 1 2 3 4 5 6\n")));

    const CRuleBase filtered =
        ServerRead(Replaced(text, "UseFuzzyFilter=false", "UseFuzzyFilter=true"));
    EXPECT_FALSE(filtered.GetUseFuzzyFilter());
}

TEST(ServerReader, ACellThatDoesNotBuildIsReportedByPreparation) {
    const std::string text = Replaced(rulebase_test::FileText(TwoInputModel("MeanOfMaxima")),
                                      "\"me\" \"ze\"", "\"me\" \"zero point\"");
    EXPECT_THROW(ServerRead(text), ESyntaxRB);
    const std::filesystem::path missing = std::filesystem::temp_directory_path() / "no such.rb";
    EXPECT_THROW(kelrun::ReadRuleBase(missing.string()), ESyntax);
}

TEST(ServerMeanOfMaxima, ValueOfTheCoreAndOneLineOfDebugOutput) {
    CRuleBase ruleBase = ServerRead(rulebase_test::FileText(TwoInputModel("MeanOfMaxima")));
    ASSERT_EQ(ruleBase.GetDefuzzificationMethod(), &kelrun::MOM);
    std::vector<double> samples(101, 0.25);
    for (int i = 10; i <= 20; ++i)
        samples[i] = 0.75;
    const CFuzzyDiscreteSet set(samples, 0.0, 1.0);
    ::testing::internal::CaptureStdout();
    const double value = ruleBase.Defuzzify(set);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "max= 0.75 11 5 10 20\n");
    EXPECT_DOUBLE_EQ(value, 0.15);  // sample 15 of 101 on [0, 1]

    samples.assign(101, 0.0);
    ::testing::internal::CaptureStdout();
    EXPECT_DOUBLE_EQ(ruleBase.Defuzzify(CFuzzyDiscreteSet(samples, 0.0, 1.0)), 0.5);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "max= 0 101 50 0 100\n");
}

TEST(ServerSmooth, StepsATenthOfTheWindowWhateverTheProjectionSteps) {
    CRuleBase ruleBase =
        ServerRead(rulebase_test::FileText(TwoInputModel("Smooth Deffuz Ling Expr")));
    CRuleBase core =
        ReadRuleBaseText(rulebase_test::FileText(TwoInputModel("Smooth Deffuz Ling Expr")));
    bool differsFromTheCore = false;
    for (const std::vector<double>& x :
         {std::vector<double>{3.0, 0.2}, std::vector<double>{0.0, -1.0},
          std::vector<double>{10.0, 0.95}}) {
        const double expected = kelrun_test::ReferenceSmooth(ruleBase, x);
        for (int steps : {100, 20}) {
            ruleBase.SetProjectionSteps(steps);
            EXPECT_EQ(ruleBase.CrispOutput(x), expected) << x[0] << " " << steps;
        }
        differsFromTheCore |= core.CrispOutput(x) != expected;
    }
    EXPECT_TRUE(differsFromTheCore);  // the core's grid is finer
}

TEST(ServerDescribeValue, ValuesBeyondTheContextAreNotClamped) {
    const CLinguisticSettings unsignedContext(0.0, 10.0);
    const CLinguisticSettings signedContext(-10.0, 10.0);
    const auto describe = [](const CLinguisticSettings& settings, double x, bool server) {
        CLingTerm term(CLingTerm::kMedium, 5, 0.0, 0.0);
        if (server)
            kelrun::DescribeValue(settings, x, term, 2);
        else
            settings.DescribeValue(x, term, 2);
        return term;
    };
    for (double x : {0.0, 0.3, 2.5, 4.1, 7.7, 9.99, 10.0}) {
        EXPECT_TRUE(Equals(describe(unsignedContext, x, true), describe(unsignedContext, x, false)))
            << x;
        EXPECT_TRUE(Equals(describe(signedContext, -x, true), describe(signedContext, -x, false)))
            << x;
    }
    // Beyond the context nothing fits unclamped: kind and hedge stay, the sign is set.
    for (double x : {10.5, 25.0}) {
        const CLingTerm clamped = describe(unsignedContext, x, false);
        EXPECT_EQ(clamped.kind, CLingTerm::kBig) << x;
        const CLingTerm server = describe(unsignedContext, x, true);
        EXPECT_EQ(server.kind, CLingTerm::kMedium) << x;
        EXPECT_EQ(server.hedge, 5) << x;
        const CLingTerm negative = describe(signedContext, -x, true);
        EXPECT_EQ(negative.kind, CLingTerm::kMedium) << x;
        EXPECT_EQ(negative.sign, -1) << x;
    }
    const CLingTerm below = describe(unsignedContext, -2.0, true);
    EXPECT_EQ(below.kind, CLingTerm::kMedium);
    EXPECT_EQ(describe(unsignedContext, -2.0, false).kind, CLingTerm::kZero);
}

}  // namespace
