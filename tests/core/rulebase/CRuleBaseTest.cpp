#include "core/rulebase/CRuleBase.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/defuzz/DefuzzificationMethods.h"
#include "core/inference/InferenceMethods.h"
#include "core/lang/CLinCSettings.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzValue.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/Rules.h"
#include "core/text/ESyntax.h"

namespace {

std::shared_ptr<CSettings> Linguistic(double lo = 0.0, double hi = 1.0) {
    return std::make_shared<CLinguisticSettings>(lo, hi);
}

std::unique_ptr<CFuzzyVariable> Variable(const std::string& name,
                                         std::shared_ptr<CSettings> settings,
                                         int discretization = 301) {
    return std::make_unique<CFuzzyVariable>(name, std::move(settings), discretization);
}

// Rules given as rows of cell texts, all active.
void SetRows(CRuleBase& ruleBase, const std::vector<std::vector<std::string>>& rows) {
    Rules rules;
    for (const auto& row : rows)
        rules.AddRule(row);
    ruleBase.SetRulesFromSet(rules);
}

TEST(CRuleBaseNew, LinguisticDefaults) {
    CRuleBase ruleBase(CRuleBase::kLinguistic);
    EXPECT_EQ(ruleBase.GetTypeOfDescription(), CRuleBase::kLinguistic);
    EXPECT_EQ(ruleBase.GetDescription(), "Enter your description of the rulebase here.");
    EXPECT_TRUE(ruleBase.GetFileName().empty());
    ASSERT_EQ(ruleBase.GetNumAntVariables(), 1);
    ASSERT_EQ(ruleBase.GetNumSucVariables(), 1);
    EXPECT_EQ(ruleBase.GetVariableName(0), "X");
    EXPECT_EQ(ruleBase.GetVariableName(-1), "Y");
    for (int i : {0, -1}) {
        EXPECT_EQ(ruleBase.GetDiscretization(i), 301);
        EXPECT_EQ(ruleBase.GetSettings(i).GetTypeName(), "linguistic");
        EXPECT_EQ(ruleBase.GetLowerBound(i), 0.0);
        EXPECT_EQ(ruleBase.GetUpperBound(i), 1.0);
    }
    ASSERT_EQ(ruleBase.GetNumRules(), 1);
    EXPECT_EQ(ruleBase.GetAntExpression(0, 0), "ze");
    EXPECT_EQ(ruleBase.GetSucExpression(0, 0), "ze");
    EXPECT_TRUE(ruleBase.IsRuleActive(0));
    EXPECT_EQ(ruleBase.GetInferenceMethod(), &LLogInfPreCrisp);
    EXPECT_EQ(ruleBase.GetDefuzzificationMethod(), &SimpDefuzzLingExpression);
    EXPECT_EQ(ruleBase.GetFiredCount(), -1);
    EXPECT_EQ(ruleBase.GetProjectionSteps(), 100);
    EXPECT_FALSE(ruleBase.GetUseFuzzyFilter());
    EXPECT_EQ(ruleBase.GetInputs().size(), 1u);
}

TEST(CRuleBaseNew, TakagiSugenoAndSingletonDefaults) {
    for (TypeOfDescription kind : {CRuleBase::kTakagiSugeno, CRuleBase::kSingleton}) {
        CRuleBase ruleBase(kind);
        EXPECT_EQ(ruleBase.GetInferenceMethod(), &LLinCInfCrisp);
        EXPECT_EQ(ruleBase.GetSettings(-1).GetTypeName(), "linc");
        EXPECT_EQ(ruleBase.GetSucExpression(0, 0), "0.5");
        // "ze" fires fully at 0: the output is the rule's constant.
        EXPECT_DOUBLE_EQ(ruleBase.CrispOutput(std::vector<double>{0.0}), 0.5);
        EXPECT_EQ(ruleBase.GetFiredCount(), 1);
    }
}

class CRuleBaseShared : public ::testing::Test {
  protected:
    // Inputs A and B share one settings object; C has its own.
    void SetUp() override {
        shared_ = Linguistic();
        ruleBase_.AppendVariable(Variable("A", shared_), false);
        ruleBase_.AppendVariable(Variable("B", shared_), false);
        ruleBase_.AppendVariable(Variable("C", Linguistic()), false);
        ruleBase_.AppendVariable(Variable("Y", Linguistic()), true);
    }

    std::shared_ptr<CSettings> shared_;
    CRuleBase ruleBase_;
};

TEST_F(CRuleBaseShared, EqualCellsOfSharedSettingsShareOneValue) {
    SetRows(ruleBase_, {{"sm", "sm", "sm", "sm"}});
    const CValue& a = ruleBase_.GetCell(0, 0);
    EXPECT_EQ(&a, &ruleBase_.GetCell(1, 0));
    EXPECT_EQ(a.GetRefCount(), 2);
    EXPECT_NE(&a, &ruleBase_.GetCell(2, 0));
    EXPECT_NE(&a, &ruleBase_.GetCell(-1, 0));
    EXPECT_EQ(ruleBase_.GetValueCount(), 3);
}

TEST_F(CRuleBaseShared, DifferentGridsGetTheirOwnValues) {
    ruleBase_.GetVariable(1).SetDiscretization(101);
    SetRows(ruleBase_, {{"sm", "sm", "bi", "bi"}});
    EXPECT_NE(&ruleBase_.GetCell(0, 0), &ruleBase_.GetCell(1, 0));
    EXPECT_EQ(ruleBase_.GetCell(0, 0).GetRefCount(), 1);
}

TEST_F(CRuleBaseShared, SharedSettingsLiveUntilTheirLastVariableGoes) {
    for (int first : {0, 1}) {
        CRuleBase ruleBase;
        std::weak_ptr<CSettings> watched;
        {
            auto settings = Linguistic();
            watched = settings;
            ruleBase.AppendVariable(Variable("A", settings), false);
            ruleBase.AppendVariable(Variable("B", settings), false);
        }
        ruleBase.DeleteVariable(first);
        EXPECT_FALSE(watched.expired()) << "deleting variable " << first << " first";
        ruleBase.DeleteVariable(0);
        EXPECT_TRUE(watched.expired());
    }
}

TEST_F(CRuleBaseShared, DeletingVariablesReleasesTheirCells) {
    SetRows(ruleBase_, {{"sm", "sm", "me", "bi"}, {"bi", "sm", "me", "bi"}});
    const CValue& sm = ruleBase_.GetCell(1, 0);
    EXPECT_EQ(sm.GetRefCount(), 3);
    ruleBase_.DeleteVariable(0);
    EXPECT_EQ(sm.GetRefCount(), 2);
    EXPECT_EQ(ruleBase_.GetNumRules(), 2);
    EXPECT_EQ(ruleBase_.GetVariableName(0), "B");
    ruleBase_.DeleteVariable(-1);
    ruleBase_.DeleteVariable(0);
    ruleBase_.DeleteVariable(0);
    EXPECT_EQ(ruleBase_.GetNumRules(), 0);
    EXPECT_EQ(ruleBase_.GetNumAntVariables(), 0);
    EXPECT_EQ(ruleBase_.GetNumSucVariables(), 0);
    // Released values leave empty slots until the rules are replaced.
    for (int index = 0; index < ruleBase_.GetValueCount(); ++index)
        EXPECT_EQ(ruleBase_.GetValue(index), nullptr);
}

TEST(CRuleBaseStructure, ValuesOfMovedVariablesBuildWithTheirOwnSettings) {
    CRuleBase ruleBase;
    ruleBase.AppendVariable(Variable("A", Linguistic(0, 1)), false);
    ruleBase.AppendVariable(Variable("B", Linguistic(0, 10)), false);
    ruleBase.AppendVariable(Variable("Y", Linguistic()), true);
    SetRows(ruleBase, {{"sm", "about 8", "bi"}});
    ruleBase.DeleteVariable(0);
    // "about 8" lies in B's context only; it must still be built with B's settings.
    EXPECT_NO_THROW(ruleBase.Prepare());
    EXPECT_EQ(ruleBase.GetCell(0, 0).GetVariableIndex(), 0);
}

TEST(CRuleBaseStructure, FindVariableSearchesFromTheLowestIndex) {
    CRuleBase ruleBase;
    ruleBase.AppendVariable(Variable("v", Linguistic()), false);
    ruleBase.AppendVariable(Variable("w", Linguistic()), false);
    ruleBase.AppendVariable(Variable("v", Linguistic()), true);
    ruleBase.AppendVariable(Variable("v", Linguistic()), true);
    EXPECT_EQ(ruleBase.FindVariable("v"), -2);
    EXPECT_EQ(ruleBase.FindVariable("w"), 1);
    EXPECT_EQ(ruleBase.FindVariable("V"), CRuleBase::kNoVariable);
    EXPECT_THROW(ruleBase.GetVariable(CRuleBase::kNoVariable), std::out_of_range);
    EXPECT_THROW(ruleBase.GetVariable(-3), std::out_of_range);
    // Variables without cells only before there are rules.
    CRuleBase withRules(CRuleBase::kLinguistic);
    EXPECT_THROW(withRules.AppendVariable(Variable("Z", Linguistic()), false), std::logic_error);
}

TEST(CRuleBaseStructure, AddAntVariableCopiesTheSourceCells) {
    CRuleBase ruleBase;
    ruleBase.AppendVariable(Variable("A", Linguistic()), false);
    ruleBase.AppendVariable(Variable("Y", Linguistic()), true);
    SetRows(ruleBase, {{"sm", "bi"}, {"me", "ze"}});
    EXPECT_EQ(ruleBase.AddAntVariable(Variable("B", Linguistic()), -1), 0);
    ASSERT_EQ(ruleBase.GetNumAntVariables(), 2);
    EXPECT_EQ(ruleBase.GetAntExpression(1, 0), "bi");
    EXPECT_EQ(ruleBase.GetAntExpression(1, 1), "ze");
    EXPECT_EQ(ruleBase.GetInputs().size(), 2u);
    const auto* cell = dynamic_cast<const CFuzValue*>(&ruleBase.GetCell(1, 1));
    ASSERT_NE(cell, nullptr);
    EXPECT_NE(cell->GetSet(), nullptr);
}

class CRuleBaseRules : public ::testing::Test {
  protected:
    void SetUp() override {
        ruleBase_.AppendVariable(Variable("A", Linguistic()), false);
        ruleBase_.AppendVariable(Variable("B", Linguistic()), false);
        ruleBase_.AppendVariable(Variable("Y", Linguistic()), true);
    }

    CRuleBase ruleBase_;
};

TEST_F(CRuleBaseRules, RowAndColumnTablesAgree) {
    const char* on = "";
    const std::vector<const char*> rows = {on, "sm", "me", "bi", nullptr, "bi", "bi", "sm"};
    const std::vector<const char*> columns = {on, nullptr, "sm", "bi", "me", "bi", "bi", "sm"};
    ruleBase_.SetRules(rows, 2);
    ruleBase_.Prepare();
    const std::string first = ruleBase_.GetAntExpression(1, 0) + ruleBase_.GetSucExpression(0, 1);
    EXPECT_EQ(first, "mesm");
    EXPECT_TRUE(ruleBase_.IsRuleActive(0));
    EXPECT_FALSE(ruleBase_.IsRuleActive(1));

    CRuleBase other;
    other.AppendVariable(Variable("A", Linguistic()), false);
    other.AppendVariable(Variable("B", Linguistic()), false);
    other.AppendVariable(Variable("Y", Linguistic()), true);
    other.SetRulesByColumns(columns, 2);
    for (int r = 0; r < 2; ++r) {
        EXPECT_EQ(other.IsRuleActive(r), ruleBase_.IsRuleActive(r));
        for (int v : {0, 1, -1})
            EXPECT_EQ(other.GetCell(v, r).GetText(), ruleBase_.GetCell(v, r).GetText());
    }
    EXPECT_EQ(other.GetFiredFlags().size(), 2u);
    EXPECT_EQ(other.GetRuleComplexity().size(), 2u);
}

TEST_F(CRuleBaseRules, PrepareReportsEveryFailingCellAtOnce) {
    Rules rules;
    rules.AddRule({"sm bi", "me", "bi"});
    rules.AddRule({"me", "sm bi", "about 7"});
    rules.AddRule({"sm", "me", "bi"});
    try {
        ruleBase_.SetRulesFromSet(rules);
        FAIL() << "Prepare accepted cells that do not parse";
    } catch (const ESyntaxRB& failure) {
        EXPECT_EQ(failure.RuleBase(), &ruleBase_);
        EXPECT_EQ(failure.AntecedentErrors(), (std::vector<std::uint8_t>{1, 0, 0, 1, 0, 0}));
        EXPECT_EQ(failure.SuccedentErrors(), (std::vector<std::uint8_t>{0, 1, 0}));
    }
    // What did build stays built, and inference runs over the rest.
    const auto* good = dynamic_cast<const CFuzValue*>(&ruleBase_.GetCell(0, 2));
    ASSERT_NE(good, nullptr);
    EXPECT_NE(good->GetSet(), nullptr);
    const auto* bad = dynamic_cast<const CFuzValue*>(&ruleBase_.GetCell(0, 0));
    ASSERT_NE(bad, nullptr);
    EXPECT_EQ(bad->GetSet(), nullptr);
    ruleBase_.SetInferenceMethod(LZadInfCrisp);
    EXPECT_NO_THROW(ruleBase_.Infer(std::vector<double>{0.0, 0.4}));
}

TEST_F(CRuleBaseRules, RuleComplexityAddsLinguisticAntecedents) {
    SetRows(ruleBase_,
            {{"ve sm", "bi", "me"}, {"ignor", "ex sm", "me"}, {"sm and bi", "ro ze", "me"}});
    const auto complexity = ruleBase_.GetRuleComplexity();
    ASSERT_EQ(complexity.size(), 3u);
    EXPECT_EQ(complexity[0], 18 + 19);
    EXPECT_EQ(complexity[1], 0);  // "ignor" scores 0, which decides the whole rule
    EXPECT_EQ(complexity[2], 30 + 12);
}

}  // namespace
