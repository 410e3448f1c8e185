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
    int firedCount = 0;
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

Outcome Start(const CRuleBase& rb) {
    return {std::vector<double>(rb.GetDiscretization(-1)),
            std::vector<std::uint8_t>(rb.GetNumRules(), 0), 0};
}

void Count(Outcome& o) {
    o.firedCount = static_cast<int>(std::count(o.fired.begin(), o.fired.end(), 1));
}

Outcome ReferenceCnf(const CRuleBase& rb, const std::vector<double>& x) {
    Outcome o = Start(rb);
    for (int j = 0; j < rb.GetDiscretization(-1); ++j) {
        double d = 1.0;
        for (int r = 0; r < rb.GetNumRules(); ++r) {
            if (!rb.IsRuleActive(r))
                continue;
            const double c = ConsequentDegree(rb, 0, r, j);
            if (c == 1)
                continue;
            const double a = Degree(rb, r, x);
            if (a == 0)
                continue;
            const double t = std::min(1.0, 1.0 - a + c);
            if (t == 0) {
                o.fired[r] = 1;
                d = 0;
                break;
            }
            if (t < d) {
                o.fired[r] = 1;
                d = t;
            }
        }
        o.samples[j] = d;
    }
    Count(o);
    return o;
}

Outcome ReferencePerception(const CRuleBase& rb, const std::vector<double>& x) {
    Outcome o = Start(rb);
    const auto complexity = rb.GetRuleComplexity();
    const double eps = 0.05;
    double best = 0;
    double s = 0;
    std::vector<int> selection;
    for (int r = 0; r < rb.GetNumRules(); ++r) {
        if (!rb.IsRuleActive(r))
            continue;
        const double a = Degree(rb, r, x);
        if (a == 0)
            continue;
        if (a > best && best != eps) {
            selection = {r};
            s = a;
            best = std::min(a, eps);
        } else if (a == best || a >= eps) {
            const std::uint16_t last = complexity[selection.back()];
            if (complexity[r] == last) {
                selection.push_back(r);
            } else if (complexity[r] < last) {
                selection = {r};
                s = a;
            }
        }
    }
    if (selection.empty())
        return o;
    for (int j = 0; j < rb.GetDiscretization(-1); ++j) {
        double v = 1.0;
        for (int r : selection) {
            o.fired[r] = 1;
            const double c = ConsequentDegree(rb, 0, r, j);
            if (c == 1)
                continue;
            if (c == 0) {
                v = 1 - s;
                continue;
            }
            const double a = Degree(rb, r, x);
            if (a == 0)
                continue;
            const double t = std::min(1.0, 1.0 - a + c);
            if (t == 0) {
                v = 0;
                break;
            }
            if (t < v)
                v = t;
        }
        o.samples[j] = v;
    }
    Count(o);
    return o;
}

double TNorm(int mode, double a, double c) {
    if (mode == 1)
        return a * c;
    if (mode == 2)
        return std::max(0.0, a + c - 1);
    return std::min(a, c);
}

Outcome ReferenceDnf(const CRuleBase& rb, const std::vector<double>& x, int mode) {
    Outcome o = Start(rb);
    for (int j = 0; j < rb.GetDiscretization(-1); ++j) {
        double d = 0;
        for (int r = 0; r < rb.GetNumRules(); ++r) {
            if (!rb.IsRuleActive(r))
                continue;
            const double c = ConsequentDegree(rb, 0, r, j);
            if (c == 0)
                continue;
            const double a = Degree(rb, r, x);
            if (a == 0)
                continue;
            const double t = TNorm(mode, a, c);
            if (t == 1) {
                d = 1;
                o.fired[r] = 1;
                break;
            }
            if (t > d) {
                d = t;
                o.fired[r] = 1;
            }
        }
        o.samples[j] = d;
    }
    Count(o);
    return o;
}

// The grid walk of the fuzzy-input methods, literally.
std::vector<double> ReferenceFuzzy(const CRuleBase& rb, const std::vector<CFuzzyDiscreteSet>& in,
                                   bool logical) {
    const int m = rb.GetNumAntVariables();
    const int n = rb.GetDiscretization(-1);
    const int rules = rb.GetNumRules();
    std::vector<int> sizes(m), k(m, 0);
    for (int i = 0; i < m; ++i)
        sizes[i] = rb.GetDiscretization(i);
    std::vector<double> result(n, 0.0), tmp(n), deg(rules);
    do {
        double w = 1.0;
        for (int i = 0; i < m; ++i) {
            w = std::min(w, in[i].Sample(k[i]));
            if (logical && w == 0)
                break;
        }
        if (logical && w == 0)
            continue;
        std::fill(tmp.begin(), tmp.end(), logical ? 1.0 : 0.0);
        for (int r = 0; r < rules; ++r) {
            deg[r] = 1.0;
            for (int i = 0; i < m; ++i)
                deg[r] = std::min(deg[r], AntecedentSampleDegree(rb, i, r, k[i]));
        }
        for (int r = 0; r < rules; ++r) {
            if (!rb.IsRuleActive(r))
                continue;
            for (int j = 0; j < n; ++j) {
                const double c = ConsequentDegree(rb, 0, r, j);
                if (!logical) {
                    tmp[j] = std::max(tmp[j], std::min(deg[r], c));
                } else if (tmp[j] != 0 && c != 1) {
                    tmp[j] = std::min(tmp[j], std::min(1.0, 1 - deg[r] + c));
                }
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
    Outcome (*reference)(const CRuleBase&, const std::vector<double>&);
};

const CrispCase kCrispCases[] = {
    {"LLogInfCrisp", LLogInfCrisp, ReferenceCnf},
    {"LLogInfPreCrisp", LLogInfPreCrisp, ReferencePerception},
    {"LZadInfCrisp", LZadInfCrisp,
     [](const CRuleBase& rb, const std::vector<double>& x) { return ReferenceDnf(rb, x, 0); }},
    {"LZadInfCrispProd", LZadInfCrispProd,
     [](const CRuleBase& rb, const std::vector<double>& x) { return ReferenceDnf(rb, x, 1); }},
    {"LZadInfCrispLuk", LZadInfCrispLuk,
     [](const CRuleBase& rb, const std::vector<double>& x) { return ReferenceDnf(rb, x, 2); }},
};

class CrispInference : public ::testing::TestWithParam<CrispCase> {};

TEST_P(CrispInference, MatchesTheSampleBySampleStatement) {
    const CrispCase& method = GetParam();
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const int inputs = 1 + seed % 3;
        CRuleBase rb = rulebase_test::Build(RandomModel(random, inputs, 3 + seed % 20, 101));
        rb.SetInferenceMethod(method.routine);
        for (int trial = 0; trial < 10; ++trial) {
            const std::vector<double> x = RandomInputs(random, inputs);
            InferenceResult result = rb.Infer(x);
            const Outcome expected = method.reference(rb, x);
            ASSERT_NE(result.set, nullptr);
            EXPECT_TRUE(result.set->IsTemporary());
            ASSERT_EQ(SamplesOf(*result.set), expected.samples);
            ASSERT_EQ(
                std::vector<std::uint8_t>(rb.GetFiredFlags().begin(), rb.GetFiredFlags().end()),
                expected.fired);
            ASSERT_EQ(rb.GetFiredCount(), expected.firedCount);
            ASSERT_EQ(std::vector<double>(rb.GetInputs().begin(), rb.GetInputs().end()), x);
        }
    }
}

TEST_P(CrispInference, AllRulesInactiveFireNothing) {
    Model model;
    model.inputs = {{"x"}};
    model.outputs = {{"y"}};
    model.rules = {RuleLine({"sm"}, {"bi"}, false), RuleLine({"bi"}, {"sm"}, false)};
    CRuleBase rb = rulebase_test::Build(model);
    rb.SetInferenceMethod(GetParam().routine);
    const InferenceResult result = rb.Infer(std::vector<double>{0.0});
    const auto samples = SamplesOf(*result.set);
    // Implicative methods start from 1, except the perception-based one, whose empty selection
    // gives 0; conjunctive ones start from 0.
    const double expected = GetParam().routine == LLogInfCrisp ? 1.0 : 0.0;
    EXPECT_TRUE(
        std::all_of(samples.begin(), samples.end(), [&](double s) { return s == expected; }));
    EXPECT_EQ(rb.GetFiredCount(), 0);
}

TEST_P(CrispInference, RefusesFuzzyAndTooFewInputs) {
    CRuleBase rb(CRuleBase::kLinguistic);
    rb.SetInferenceMethod(GetParam().routine);
    EXPECT_THROW(rb.Infer(std::vector<double>{}), std::invalid_argument);
    const CFuzzyDiscreteSet input(std::vector<double>(301, 1.0), 0.0, 1.0);
    const std::vector<const CFuzzyDiscreteSet*> sets = {&input};
    EXPECT_THROW(rb.Infer(sets), std::invalid_argument);
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

// One input, output over [0, 1]; rules (input cell, output cell, active).
CRuleBase OneInput(const std::vector<std::vector<std::string>>& rules, int discretization = 101) {
    Model model;
    model.inputs = {{"x", "linguistic", 0.0, 1.0, discretization}};
    model.outputs = {{"y", "linguistic", 0.0, 1.0, discretization}};
    for (const auto& rule : rules)
        model.rules.push_back(RuleLine({rule[0]}, {rule[1]}));
    return rulebase_test::Build(model);
}

TEST(LLogInfPreCrisp, NoRuleFiringGivesAnEmptySet) {
    CRuleBase rb = OneInput({{"ex sm", "bi"}});
    const auto samples = SamplesOf(*LLogInfPreCrisp(rb, std::vector<double>{1.0}).set);
    EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](double s) { return s == 0; }));
    EXPECT_EQ(rb.GetFiredCount(), 0);
    const auto cnf = SamplesOf(*LLogInfCrisp(rb, std::vector<double>{1.0}).set);
    EXPECT_TRUE(std::all_of(cnf.begin(), cnf.end(), [](double s) { return s == 1; }));
}

TEST(LLogInfPreCrisp, AboveTheThresholdTheSimplerRuleWins) {
    // At x = 0.42 "me" fires fully and "ro me" less; both pass 0.05, so complexity decides.
    CRuleBase rb = OneInput({{"ro me", "sm"}, {"me", "bi"}});
    const double x = 0.42;
    ASSERT_GT(AntecedentDegree(rb, 0, 0, x), 0.05);
    LLogInfPreCrisp(rb, std::vector<double>{x});
    EXPECT_FALSE(rb.IsRuleFired(0));  // "ro me" scores 34, "me" 29
    EXPECT_TRUE(rb.IsRuleFired(1));

    CRuleBase equal = OneInput({{"me", "sm"}, {"me", "bi"}});
    LLogInfPreCrisp(equal, std::vector<double>{x});
    EXPECT_EQ(equal.GetFiredCount(), 2);
}

TEST(LLogInfPreCrisp, BelowTheThresholdTheHigherDegreeWins) {
    // The tails of the two fuzzy numbers overlap near 0.48 with degrees below 0.05.
    CRuleBase rb = OneInput({{"about 0.3", "bi"}, {"about 0.66", "sm"}});
    double x = 0.0;
    for (double probe = 0.4; probe < 0.6; probe += 0.0005) {
        const double a = AntecedentDegree(rb, 0, 0, probe);
        const double b = AntecedentDegree(rb, 0, 1, probe);
        if (a > 0 && b > 0 && a < 0.05 && b < 0.05 && a != b) {
            x = probe;
            break;
        }
    }
    ASSERT_NE(x, 0.0) << "no input where both rules fire below the threshold";
    const bool firstHigher = AntecedentDegree(rb, 0, 0, x) > AntecedentDegree(rb, 0, 1, x);
    LLogInfPreCrisp(rb, std::vector<double>{x});
    EXPECT_EQ(rb.IsRuleFired(0), firstHigher);
    EXPECT_EQ(rb.IsRuleFired(1), !firstHigher);
}

TEST(LZadInfCrisp, UnknownModeIsTheMinimum) {
    std::mt19937 random(3);
    CRuleBase rb = rulebase_test::Build(RandomModel(random, 2, 12, 101));
    const std::vector<double> x = {0.2, 0.6};
    const auto mode3 = SamplesOf(*LZadInfCrispWithMode(rb, x, 3).set);
    EXPECT_EQ(mode3, SamplesOf(*LZadInfCrisp(rb, x).set));
}

TEST(LZadInfCrisp, ConsequentZeroNeverFiresAndOneStopsTheScan) {
    // Rule 0's consequent is 1 everywhere and it fires fully: no later rule fires anywhere.
    CRuleBase rb = OneInput({{"sm", "undef"}, {"sm", "bi"}});
    LZadInfCrisp(rb, std::vector<double>{0.0});
    EXPECT_TRUE(rb.IsRuleFired(0));
    EXPECT_FALSE(rb.IsRuleFired(1));
    // A consequent of 0 everywhere never fires.
    CRuleBase empty = OneInput({{"sm", "not undef"}});
    LZadInfCrisp(empty, std::vector<double>{0.0});
    EXPECT_EQ(empty.GetFiredCount(), 0);
}

TEST(LLogInfCrisp, ConsequentOneNeverFires) {
    CRuleBase rb = OneInput({{"sm", "undef"}});
    LLogInfCrisp(rb, std::vector<double>{0.0});
    EXPECT_EQ(rb.GetFiredCount(), 0);
}

Model SingletonModel(const std::string& kind, std::vector<std::vector<std::string>> rules) {
    Model model;
    model.kind = kind;
    model.inference = "Takagi-Sugeno Inference";
    model.inputs = {{"a"}, {"b"}};
    model.outputs = {{"y", "linc", 0.0, 10.0}};
    for (const auto& rule : rules)
        model.rules.push_back(RuleLine({rule[0], rule[1]}, {rule[2]}, rule.size() < 4));
    return model;
}

TEST(LLinCInfCrisp, WeightsTheConsequentsByTheFullDegrees) {
    CRuleBase rb = rulebase_test::Build(
        SingletonModel("takagi_sugeno", {{"sm", "undef", "1 + 2*x1"}, {"bi", "undef", "x2"}}));
    const std::vector<double> x = {0.5, 0.25};
    const double a = AntecedentDegree(rb, 0, 0, 0.5);
    const double b = AntecedentDegree(rb, 0, 1, 0.5);
    const InferenceResult result = LLinCInfCrisp(rb, x);
    EXPECT_EQ(result.set, nullptr);
    EXPECT_DOUBLE_EQ(result.value, ((1 + 2 * 0.5) * a + 0.25 * b) / (a + b));
    EXPECT_EQ(rb.GetFiredCount(), (a != 0) + (b != 0));

    CRuleBase singleton = rulebase_test::Build(
        SingletonModel("singleton", {{"sm", "undef", "1 + 2*x1"}, {"bi", "undef", "3"}}));
    EXPECT_DOUBLE_EQ(LLinCInfCrisp(singleton, x).value, (1 * a + 3 * b) / (a + b));
}

TEST(LLinCInfCrisp, NoDegreeGivesTheMidpoint) {
    CRuleBase rb = rulebase_test::Build(
        SingletonModel("singleton", {{"sm", "sm", "7"}, {"bi", "bi", "3", "inactive"}}));
    EXPECT_EQ(LLinCInfCrisp(rb, std::vector<double>{1.0, 1.0}).value, 5.0);
    EXPECT_EQ(rb.GetFiredCount(), 0);
}

TEST(LLinCInfCrisp, LinguisticRuleBaseGivesInfinityAndKeepsTheFiredRules) {
    CRuleBase rb = OneInput({{"sm", "bi"}});
    LZadInfCrisp(rb, std::vector<double>{0.0});
    ASSERT_EQ(rb.GetFiredCount(), 1);
    EXPECT_EQ(LLinCInfCrisp(rb, std::vector<double>{1.0}).value,
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(rb.GetFiredCount(), 1);
    EXPECT_EQ(rb.GetInputs()[0], 1.0);
}

TEST(NextGridIndex, CountsLikeAnOdometer) {
    const int sizes[] = {2, 3};
    int index[] = {0, 0};
    std::vector<std::pair<int, int>> visited;
    do {
        visited.emplace_back(index[0], index[1]);
    } while (NextGridIndex(2, sizes, index));
    EXPECT_EQ(visited,
              (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {0, 1}, {1, 1}, {0, 2}, {1, 2}}));
    EXPECT_EQ(index[0], 0);
    EXPECT_EQ(index[1], 0);
}

}  // namespace
