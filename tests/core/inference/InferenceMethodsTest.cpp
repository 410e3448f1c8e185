#include "core/inference/InferenceMethods.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/rulebase/CLinCValue.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyDiscreteSet.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

using rulebase_test::Model;
using rulebase_test::RuleLine;

// --- The methods as stated, sample by sample, through the cell accessors -------------------

struct Outcome {
    std::vector<double> samples;
    std::vector<std::uint8_t> fired;
};

double Degree(const CRuleBase& rb, int r, const std::vector<double>& x) {
    double a = 1.0;
    for (int i = 0; i < rb.GetNumAntVariables(); ++i) {
        const double m = AntecedentDegree(rb, i, r, x[i]);
        if (m == 0)
            return 0.0;
        a = std::min(a, m);
    }
    return a;
}

enum Method { kCnf = -2, kPerception = -1, kDnfMinimum = 0, kDnfProduct = 1, kDnfLukasiewicz = 2 };

// The rules a perception-based deduction chooses, and the degree of the choice.
std::vector<int> Selection(const CRuleBase& rb, const std::vector<double>& x, double& s) {
    const auto complexity = rb.GetRuleComplexity();
    double best = 0;
    std::vector<int> selection;
    for (int r = 0; r < rb.GetNumRules(); ++r) {
        const double a = rb.IsRuleActive(r) ? Degree(rb, r, x) : 0.0;
        if (a == 0)
            continue;
        if (a > best && best != 0.05) {
            selection = {r};
            s = a;
            best = std::min(a, 0.05);
        } else if (a == best || a >= 0.05) {
            if (complexity[r] == complexity[selection.back()]) {
                selection.push_back(r);
            } else if (complexity[r] < complexity[selection.back()]) {
                selection = {r};
                s = a;
            }
        }
    }
    return selection;
}

Outcome Reference(const CRuleBase& rb, const std::vector<double>& x, Method method) {
    const int n = rb.GetDiscretization(-1);
    Outcome o{std::vector<double>(n), std::vector<std::uint8_t>(rb.GetNumRules(), 0)};
    double s = 0;
    std::vector<int> rules;
    if (method == kPerception) {
        rules = Selection(rb, x, s);
        if (rules.empty())
            return o;
    } else {
        for (int r = 0; r < rb.GetNumRules(); ++r) {
            if (rb.IsRuleActive(r))
                rules.push_back(r);
        }
    }
    for (int j = 0; j < n; ++j) {
        double d = method < 0 ? 1.0 : 0.0;
        for (int r : rules) {
            const double c = ConsequentDegree(rb, 0, r, j);
            if (method == kPerception) {
                o.fired[r] = 1;
                if (c == 0) {
                    d = 1 - s;
                    continue;
                }
            }
            if ((method < 0 && c == 1) || (method >= 0 && c == 0))
                continue;
            const double a = Degree(rb, r, x);
            if (a == 0)
                continue;
            if (method < 0) {
                const double t = std::min(1.0, 1.0 - a + c);
                if (t < d || t == 0)
                    o.fired[r] |= method == kCnf;
                if (t == 0) {
                    d = 0;
                    break;
                }
                d = std::min(d, t);
            } else {
                const double t = method == kDnfProduct       ? a * c
                                 : method == kDnfLukasiewicz ? std::max(0.0, a + c - 1)
                                                             : std::min(a, c);
                if (t > d || t == 1)
                    o.fired[r] = 1;
                if (t == 1) {
                    d = 1;
                    break;
                }
                d = std::max(d, t);
            }
        }
        o.samples[j] = d;
    }
    return o;
}

// The grid walk of the fuzzy-input methods, literally.
std::vector<double> ReferenceFuzzy(const CRuleBase& rb, const std::vector<CFuzzyDiscreteSet>& in,
                                   bool logical) {
    const int m = rb.GetNumAntVariables();
    const int n = rb.GetDiscretization(-1);
    std::vector<int> sizes(m), k(m, 0);
    for (int i = 0; i < m; ++i)
        sizes[i] = rb.GetDiscretization(i);
    std::vector<double> result(n, 0.0), tmp(n);
    do {
        double w = 1.0;
        for (int i = 0; i < m; ++i)
            w = std::min(w, in[i].Sample(k[i]));
        if (logical && w == 0)
            continue;
        std::fill(tmp.begin(), tmp.end(), logical ? 1.0 : 0.0);
        for (int r = 0; r < rb.GetNumRules(); ++r) {
            double deg = 1.0;
            for (int i = 0; i < m; ++i)
                deg = std::min(deg, AntecedentSampleDegree(rb, i, r, k[i]));
            for (int j = 0; j < n && rb.IsRuleActive(r); ++j) {
                const double c = ConsequentDegree(rb, 0, r, j);
                if (!logical)
                    tmp[j] = std::max(tmp[j], std::min(deg, c));
                else if (tmp[j] != 0 && c != 1)
                    tmp[j] = std::min(tmp[j], std::min(1.0, 1 - deg + c));
            }
        }
        for (int j = 0; j < n; ++j) {
            if (!logical)
                result[j] = std::max(result[j], std::min(w, tmp[j]));
            else if (result[j] != 1)
                result[j] = std::max(result[j], std::max(0.0, w + tmp[j] - 1));
        }
    } while (NextGridIndex(m, sizes.data(), k.data()));
    return result;
}

// --- Random models ---------------------------------------------------------------------------

const std::vector<std::string> kInputCells = {
    "sm",    "ve sm", "ex sm", "ml sm", "ro sm",     "me",       "ml me",  "ro me", "bi",
    "ve bi", "ro bi", "ze",    "undef", "about 0.3", "sm or me", "not bi", "si bi", "qr sm"};
const std::vector<std::string> kOutputCells = {"sm",    "ve sm", "me",        "ro me", "bi",
                                               "ex bi", "ro ze", "about 0.7", "undef", "not me"};

Model RandomModel(std::mt19937& random, int inputs, int rules, int discretization) {
    Model model;
    for (int i = 0; i < inputs; ++i)
        model.inputs.push_back({"x" + std::to_string(i), "linguistic", 0.0, 1.0, discretization});
    model.outputs.push_back({"y", "linguistic", 0.0, 1.0, discretization});
    std::uniform_int_distribution<std::size_t> in(0, kInputCells.size() - 1);
    std::uniform_int_distribution<std::size_t> out(0, kOutputCells.size() - 1);
    for (int r = 0; r < rules; ++r) {
        std::vector<std::string> cells;
        for (int i = 0; i < inputs; ++i)
            cells.push_back(kInputCells[in(random)]);
        model.rules.push_back(RuleLine(cells, {kOutputCells[out(random)]}, random() % 5 != 0));
    }
    return model;
}

std::vector<double> RandomInputs(std::mt19937& random, int count) {
    std::vector<double> x(count);
    for (double& v : x) {
        // Grid points and the ends as often as points between them.
        switch (random() % 4) {
            case 0:
                v = static_cast<double>(random() % 301) / 300;
                break;
            case 1:
                v = random() % 2;
                break;
            default:
                v = std::uniform_real_distribution<double>(0.0, 1.0)(random);
        }
    }
    return x;
}

std::vector<double> SamplesOf(const CFuzzyDiscreteSet& set) {
    std::vector<double> samples(set.Count());
    for (int j = 0; j < set.Count(); ++j)
        samples[j] = set.Sample(j);
    return samples;
}

// --- Every crisp method against its statement -------------------------------------------------

struct CrispCase {
    const char* name;
    InferenceRoutine routine;
    Method method;
};

const CrispCase kCrispCases[] = {
    {"LLogInfCrisp", LLogInfCrisp, kCnf},
    {"LLogInfPreCrisp", LLogInfPreCrisp, kPerception},
    {"LZadInfCrisp", LZadInfCrisp, kDnfMinimum},
    {"LZadInfCrispProd", LZadInfCrispProd, kDnfProduct},
    {"LZadInfCrispLuk", LZadInfCrispLuk, kDnfLukasiewicz},
};

class CrispInference : public ::testing::TestWithParam<CrispCase> {};

TEST_P(CrispInference, MatchesTheSampleBySampleStatement) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const int inputs = 1 + seed % 3;
        CRuleBase rb = rulebase_test::Build(RandomModel(random, inputs, 3 + seed % 20, 101));
        rb.SetInferenceMethod(GetParam().routine);
        for (int trial = 0; trial < 10; ++trial) {
            const std::vector<double> x = RandomInputs(random, inputs);
            const InferenceResult result = rb.Infer(x);
            const Outcome expected = Reference(rb, x, GetParam().method);
            ASSERT_TRUE(result.set->IsTemporary());
            ASSERT_EQ(SamplesOf(*result.set), expected.samples);
            const auto fired = rb.GetFiredFlags();
            ASSERT_EQ(std::vector<std::uint8_t>(fired.begin(), fired.end()), expected.fired);
            ASSERT_EQ(rb.GetFiredCount(), std::count(fired.begin(), fired.end(), 1));
            ASSERT_EQ(std::vector<double>(rb.GetInputs().begin(), rb.GetInputs().end()), x);
        }
    }
}

TEST_P(CrispInference, NoRuleFiringGivesTheEmptyCombination) {
    Model model;
    model.inputs = {{"x"}};
    model.outputs = {{"y"}};
    model.rules = {RuleLine({"sm"}, {"bi"}, false), RuleLine({"ex sm"}, {"sm"})};
    CRuleBase rb = rulebase_test::Build(model);
    rb.SetInferenceMethod(GetParam().routine);
    // Implications combine to 1, except in an empty perception-based selection; conjunctions to 0.
    const double expected = GetParam().method == kCnf ? 1.0 : 0.0;
    const auto samples = SamplesOf(*rb.Infer(std::vector<double>{1.0}).set);
    EXPECT_EQ(samples, std::vector<double>(samples.size(), expected));
    EXPECT_EQ(rb.GetFiredCount(), 0);
    EXPECT_THROW(rb.Infer(std::vector<double>{}), std::invalid_argument);
}

INSTANTIATE_TEST_SUITE_P(AllCrispMethods, CrispInference, ::testing::ValuesIn(kCrispCases),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Fuzzy inputs --------------------------------------------------------------------------

class FuzzyInference : public ::testing::TestWithParam<bool> {};

TEST_P(FuzzyInference, MatchesTheGridWalk) {
    const bool logical = GetParam();
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const int inputs = 1 + seed % 2;
        CRuleBase rb = rulebase_test::Build(RandomModel(random, inputs, 2 + seed % 7, 21));
        std::vector<CFuzzyDiscreteSet> sets;
        std::vector<const CFuzzyDiscreteSet*> pointers;
        for (int i = 0; i < inputs; ++i) {
            std::vector<double> samples(21);
            const int from = random() % 21;
            const int to = std::min(20, from + static_cast<int>(random() % 8));
            for (int k = from; k <= to; ++k)
                samples[k] = (random() % 5) / 4.0;
            sets.emplace_back(samples, 0.0, 1.0);
        }
        for (const auto& set : sets)
            pointers.push_back(&set);
        const InferenceResult result =
            (logical ? LLogInfFuz : LZadInfFuz)(rb, InferenceInput(pointers));
        EXPECT_TRUE(result.set->IsTemporary());
        ASSERT_EQ(SamplesOf(*result.set), ReferenceFuzzy(rb, sets, logical));
        EXPECT_EQ(rb.GetFiredCount(), -1);  // fuzzy inputs record nothing
    }
}

TEST_P(FuzzyInference, CrispInputsAreSingletonsAtTheNearestSample) {
    const bool logical = GetParam();
    std::mt19937 random(7);
    CRuleBase rb = rulebase_test::Build(RandomModel(random, 2, 6, 21));
    const std::vector<double> x = {0.33, 0.71};
    std::vector<CFuzzyDiscreteSet> singletons;
    for (double v : x) {
        std::vector<double> samples(21);
        samples[static_cast<int>(std::floor(v * 20 + 0.5))] = 1.0;
        singletons.emplace_back(samples, 0.0, 1.0);
    }
    const InferenceResult result = (logical ? LLogInfFuz : LZadInfFuz)(rb, x);
    EXPECT_EQ(SamplesOf(*result.set), ReferenceFuzzy(rb, singletons, logical));
}

INSTANTIATE_TEST_SUITE_P(BothFuzzyMethods, FuzzyInference, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "LLogInfFuz" : "LZadInfFuz"; });

// --- Edge cases of single methods --------------------------------------------------------------

// One input, output over [0, 1]; rules (input cell, output cell).
CRuleBase OneInput(const std::vector<std::vector<std::string>>& rules) {
    Model model;
    model.inputs = {{"x", "linguistic", 0.0, 1.0, 101}};
    model.outputs = {{"y", "linguistic", 0.0, 1.0, 101}};
    for (const auto& rule : rules)
        model.rules.push_back(RuleLine({rule[0]}, {rule[1]}));
    return rulebase_test::Build(model);
}

TEST(LLogInfPreCrisp, ComplexityDecidesAboveTheThresholdAndDegreeBelowIt) {
    // At 0.42 both "ro me" (complexity 34) and "me" (29) fire above 0.05: "me" alone is chosen,
    // or both when the scores are equal.
    CRuleBase rb = OneInput({{"ro me", "sm"}, {"me", "bi"}});
    ASSERT_GT(AntecedentDegree(rb, 0, 0, 0.42), 0.05);
    LLogInfPreCrisp(rb, std::vector<double>{0.42});
    EXPECT_FALSE(rb.IsRuleFired(0));
    EXPECT_TRUE(rb.IsRuleFired(1));
    CRuleBase equal = OneInput({{"me", "sm"}, {"me", "bi"}});
    LLogInfPreCrisp(equal, std::vector<double>{0.42});
    EXPECT_EQ(equal.GetFiredCount(), 2);

    // The tails of two fuzzy numbers overlap below 0.05: the higher degree wins.
    CRuleBase tails = OneInput({{"about 0.3", "bi"}, {"about 0.66", "sm"}});
    const double x = 0.479;
    const double a = AntecedentDegree(tails, 0, 0, x), b = AntecedentDegree(tails, 0, 1, x);
    ASSERT_TRUE(a > 0 && b > 0 && a < 0.05 && b < 0.05 && a != b);
    LLogInfPreCrisp(tails, std::vector<double>{x});
    EXPECT_EQ(tails.IsRuleFired(0), a > b);
    EXPECT_EQ(tails.IsRuleFired(1), b > a);
}

TEST(LZadInfCrisp, UnknownModeIsTheMinimum) {
    std::mt19937 random(3);
    CRuleBase rb = rulebase_test::Build(RandomModel(random, 2, 12, 101));
    const std::vector<double> x = {0.2, 0.6};
    EXPECT_EQ(SamplesOf(*LZadInfCrispWithMode(rb, x, 3).set), SamplesOf(*LZadInfCrisp(rb, x).set));
}

TEST(LLinCInfCrisp, AveragesTheConsequentsWeightedByTheFullDegrees) {
    Model model;
    model.kind = "takagi_sugeno";
    model.inference = "Takagi-Sugeno Inference";
    model.inputs = {{"a"}, {"b"}};
    model.outputs = {{"y", "linc", 0.0, 10.0}};
    model.rules = {RuleLine({"sm", "undef"}, {"1 + 2*x1"}), RuleLine({"bi", "undef"}, {"x2"}),
                   RuleLine({"me", "undef"}, {"100"}, false)};
    CRuleBase rb = rulebase_test::Build(model);
    const double a = AntecedentDegree(rb, 0, 0, 0.5), b = AntecedentDegree(rb, 0, 1, 0.5);
    EXPECT_DOUBLE_EQ(LLinCInfCrisp(rb, std::vector<double>{0.5, 0.25}).value,
                     (2.0 * a + 0.25 * b) / (a + b));
    EXPECT_EQ(rb.GetFiredCount(), (a != 0) + (b != 0));
    // Singletons take the constant alone.
    rb.SetTypeOfDescription(CRuleBase::kSingleton);
    EXPECT_DOUBLE_EQ(LLinCInfCrisp(rb, std::vector<double>{0.5, 0.25}).value, 1.0 * a / (a + b));
    // No degree at all: the midpoint of the output.
    EXPECT_EQ(LLinCInfCrisp(rb, std::vector<double>{0.4, 0.4}).value, 5.0);
    EXPECT_EQ(rb.GetFiredCount(), 0);
    // A linguistic rule base gets infinity; what the last inference fired stays.
    rb.SetTypeOfDescription(CRuleBase::kLinguistic);
    rb.SetInferenceMethod(LZadInfCrisp);
    rb.ClearFired();
    rb.MarkFired(2);
    EXPECT_EQ(LLinCInfCrisp(rb, std::vector<double>{1.0, 1.0}).value,
              std::numeric_limits<double>::infinity());
    EXPECT_TRUE(rb.IsRuleFired(2));
    EXPECT_EQ(rb.GetInputs()[0], 1.0);
}

}  // namespace
