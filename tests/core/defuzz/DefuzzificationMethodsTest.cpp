#include "core/defuzz/DefuzzificationMethods.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/inference/InferenceMethods.h"
#include "core/inference/SetKernels.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyDiscreteSet.h"
#include "core/sets/CFuzzyTriangSet.h"
#include "core/sets/SetOperand.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

using enum OutputShapeCode;

constexpr double kTolerance = 1e-12;

// A rule base that holds nothing but an output over [lo, hi] with n samples: all that the
// set-reading methods look at.
CRuleBase OutputOnly(double lo, double hi, int n) {
    CRuleBase ruleBase;
    ruleBase.AppendVariable(
        std::make_unique<CFuzzyVariable>("y", std::make_shared<CLinguisticSettings>(lo, hi), n),
        true);
    return ruleBase;
}

double Defuzzified(DefuzzificationRoutine routine, CRuleBase& ruleBase, SetOperand set) {
    double result = std::nan("");
    routine(ruleBase, std::span<SetOperand>(&set, 1), std::span<double>(&result, 1));
    return result;
}

CFuzzyDiscreteSet SetOf(std::vector<double> samples, double lo = 0.0, double hi = 1.0) {
    return CFuzzyDiscreteSet(std::move(samples), lo, hi);
}

// --- One list of behaviours over every method that reads the set ---------------------------

struct SetMethod {
    const char* name;
    DefuzzificationRoutine routine;
    bool allZeroGivesMidpoint;  // else the middle sample (MOM)
};

const SetMethod kSetMethods[] = {
    {"SimpleCOG", SimpleCOG, true},
    {"ModCOG", ModCOG, true},
    {"SimpDefuzzLingExpression", SimpDefuzzLingExpression, true},
    {"DefuzTAVO", DefuzTAVO, true},
    {"MOM", MOM, false},
};

class SetDefuzzification : public ::testing::TestWithParam<SetMethod> {};

TEST_P(SetDefuzzification, ResultLiesInTheContext) {
    for (unsigned seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        const double lo = std::uniform_real_distribution<double>(-5, 5)(random);
        const double hi = lo + std::uniform_real_distribution<double>(0.1, 10)(random);
        const int n = 2 + random() % 60;
        const bool symmetric = random() % 3 == 0;
        const double half = std::abs(hi);
        CRuleBase ruleBase = symmetric ? OutputOnly(-half, half, n | 1) : OutputOnly(lo, hi, n);
        std::vector<double> samples(ruleBase.GetDiscretization(-1));
        const int from = random() % samples.size();
        for (std::size_t j = from; j < samples.size() && random() % 8 != 0; ++j)
            samples[j] = (random() % 9) / 8.0;
        const double result = Defuzzified(GetParam().routine, ruleBase, SetOf(samples));
        EXPECT_GE(result, ruleBase.GetLowerBound(-1)) << "seed " << seed;
        EXPECT_LE(result, ruleBase.GetUpperBound(-1)) << "seed " << seed;
    }
}

TEST_P(SetDefuzzification, AllZeroAndFlatSets) {
    CRuleBase ruleBase = OutputOnly(2.0, 6.0, 101);
    const double zero =
        Defuzzified(GetParam().routine, ruleBase, SetOf(std::vector<double>(101, 0.0)));
    if (GetParam().allZeroGivesMidpoint) {
        EXPECT_EQ(zero, 4.0);
        EXPECT_NEAR(Defuzzified(GetParam().routine, ruleBase, SetOf(std::vector<double>(101, 0.5))),
                    4.0, kTolerance);
    } else {
        EXPECT_EQ(zero, 2.0 + 4.0 * 50 / 100);
    }
}

TEST_P(SetDefuzzification, HandedOverAndLentSetsGiveTheSameValue) {
    CRuleBase ruleBase = OutputOnly(0.0, 1.0, 11);
    const std::vector<double> samples = {0, 0, 0.2, 0.6, 1, 1, 0.7, 0.3, 0, 0, 0};
    const CFuzzyDiscreteSet lent = SetOf(samples);
    auto handed = std::make_unique<CFuzzyDiscreteSet>(lent);
    handed->MarkTemporary();
    EXPECT_EQ(Defuzzified(GetParam().routine, ruleBase, lent),
              Defuzzified(GetParam().routine, ruleBase, std::move(handed)));
    EXPECT_EQ(lent.Sample(4), 1.0);  // a lent set is read, never consumed
}

INSTANTIATE_TEST_SUITE_P(AllSetMethods, SetDefuzzification, ::testing::ValuesIn(kSetMethods),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Shapes -----------------------------------------------------------------------------------

// 1 on samples 0..10, falling linearly to 0 at sample 40, on 101 samples over [0, 1].
std::vector<double> Falling() {
    std::vector<double> samples(101, 0.0);
    for (int i = 0; i < 40; ++i)
        samples[i] = i <= 10 ? 1.0 : (40 - i) / 30.0;
    return samples;
}

TEST(ClassifyOutputShape, CodesOfTheBasicShapes) {
    struct Case {
        std::vector<double> samples;
        OutputShapeCode code;
        OutputShape indices;
    };
    const Case cases[] = {
        {{0.5, 0.5, 0.5, 0.5}, kFlatShape, {kFlatShape, 0, 3, 0, 3}},
        {{0, 0, 0.7, 0, 0}, kOnePointShape, {kOnePointShape, 2, 2, 2, 2}},
        {{1, 1, 0.5, 0, 0}, kFallingShape, {kFallingShape, 0, 2, 0, 1}},
        {{0, 0.2, 0.6, 1, 1}, kRisingShape, {kRisingShape, 1, 4, 3, 4}},
        {{0, 0.5, 1, 1, 0.4, 0}, kSinglePeakShape, {kSinglePeakShape, 1, 4, 2, 3}},
        {{0, 1, 0, 1, 0}, kOtherShape, {kOtherShape, 1, 3, 1, 3}},
    };
    for (const Case& c : cases) {
        const OutputShape shape = ClassifyOutputShape(SetOf(c.samples), false);
        EXPECT_EQ(shape.code, c.code);
        EXPECT_EQ(shape.p1, c.indices.p1);
        EXPECT_EQ(shape.p2, c.indices.p2);
        EXPECT_EQ(shape.p3, c.indices.p3);
        EXPECT_EQ(shape.p4, c.indices.p4);
        EXPECT_EQ(ClassifyOutputShapeStrict(SetOf(c.samples), false).code, c.code);
    }
}

// The four indices as stated: scans from either end for the first sample above the minimum, then
// for the maximum.
OutputShape StatedIndices(const std::vector<double>& mu) {
    const int n = static_cast<int>(mu.size());
    double mn = 1.0, mx = 0.0;
    for (double v : mu) {
        mn = v < mn ? v : mn;
        mx = v > mx ? v : mx;
    }
    OutputShape shape{kFlatShape, 0, n - 1, 0, n - 1};
    if (mn == mx)
        return shape;
    int i = 0;
    while (i < n && !(mu[i] > mn))
        ++i;
    shape.p1 = i < n ? i : shape.p1;
    for (i = shape.p1; i < n && mu[i] != mx;)
        ++i;
    shape.p3 = i < n ? i : shape.p3;
    for (i = n - 1; i >= 0 && !(mu[i] > mn);)
        --i;
    shape.p2 = i >= 0 ? i : shape.p2;
    for (i = shape.p2; i >= 0 && mu[i] != mx;)
        --i;
    shape.p4 = i >= 0 ? i : shape.p4;
    return shape;
}

// Random sets of few distinct degrees (plateaus, ties, values above 1 and NaN among them).
TEST(ClassifyOutputShape, IndicesAreTheStatedScans) {
    const std::vector<double> degrees = {0, 0, 0.25, 0.5, 1, 1, 1.5, std::nan("")};
    std::mt19937 random(7);
    for (int trial = 0; trial < 3000; ++trial) {
        std::vector<double> mu(1 + random() % 12);
        for (double& v : mu)
            v = degrees[random() % (trial < 2000 ? 6 : degrees.size())];
        const OutputShape expected = StatedIndices(mu);
        const OutputShape shape = ClassifyOutputShape(SetOf(mu), false);
        EXPECT_EQ(std::vector({shape.p1, shape.p2, shape.p3, shape.p4}),
                  std::vector({expected.p1, expected.p2, expected.p3, expected.p4}))
            << "trial " << trial;
    }
}

TEST(ClassifyOutputShape, StrictOneRefusesASetThatRisesAgain) {
    // Maximum at the left end, but not falling throughout.
    const CFuzzyDiscreteSet set = SetOf({1, 0.2, 0.6, 0, 0});
    EXPECT_EQ(ClassifyOutputShape(set, false).code, kFallingShape);
    EXPECT_EQ(ClassifyOutputShapeStrict(set, false).code, kOtherShape);
}

TEST(SimpDefuzzLingExpression, FallingSetGivesTheEndOfItsKernel) {
    CRuleBase ruleBase = OutputOnly(0.0, 1.0, 101);
    EXPECT_NEAR(Defuzzified(SimpDefuzzLingExpression, ruleBase, SetOf(Falling())), 0.10,
                kTolerance);
}

TEST(DefuzTAVO, FallingSetGivesTheGravityCentreMovedIntoTheKernel) {
    // k = r(10 - 0.577 * 29) = -7 lies below the bound 0: the support end moves to
    // r(39 - 0.54 * 7) = 35, the centre of gravity of samples 0..35 moves by 0.46 * 7.
    CRuleBase ruleBase = OutputOnly(0.0, 1.0, 101);
    EXPECT_NEAR(Defuzzified(DefuzTAVO, ruleBase, SetOf(Falling())), 0.10190596026490065, 1e-12);
}

TEST(DefuzTAVO, SymmetricContextBoundsAFallingSetAtTheMiddle) {
    // Zero on the negative half, 1 at the centre, falling to the right.
    std::vector<double> samples(101, 0.0);
    for (int i = 50; i < 70; ++i)
        samples[i] = (70 - i) / 20.0;
    const CFuzzyDiscreteSet set = SetOf(samples, -1.0, 1.0);
    EXPECT_EQ(ClassifyOutputShapeStrict(set, true).code, kFallingShape);
    CRuleBase ruleBase = OutputOnly(-1.0, 1.0, 101);
    EXPECT_NEAR(Defuzzified(DefuzTAVO, ruleBase, set), 0.0047259259259258, 1e-12);
}

TEST(DefuzTAVO, ShiftsPastTheContextAreClamped) {
    CRuleBase ruleBase = OutputOnly(0.0, 1.0, 11);
    // k = r(-0.577) = -1: the result moves 0.46 samples below the lower end.
    EXPECT_EQ(Defuzzified(DefuzTAVO, ruleBase, SetOf({1, 0.5, 0, 0, 0, 0, 0, 0, 0, 0, 0})), 0.0);
}

TEST(MOM, TwoEqualMaximaTakeTheUpperMiddle) {
    std::vector<double> samples(101, 0.0);
    samples[10] = samples[20] = 0.8;
    CRuleBase ruleBase = OutputOnly(0.0, 1.0, 101);
    EXPECT_NEAR(Defuzzified(MOM, ruleBase, SetOf(samples)), 0.2, kTolerance);
    EXPECT_NEAR(MeanOfMaximaValue(SetOf(samples), 0.0, 1.0, 101), 0.2, kTolerance);
}

TEST(ModCOG, IgnoresTheFloorOfTheSet) {
    CRuleBase ruleBase = OutputOnly(0.0, 1.0, 5);
    // Above the floor 0.2 only sample 3 remains.
    EXPECT_NEAR(Defuzzified(ModCOG, ruleBase, SetOf({0.2, 0.2, 0.2, 0.9, 0.2})), 0.75, kTolerance);
    EXPECT_NEAR(Defuzzified(SimpleCOG, ruleBase, SetOf({0.2, 0.2, 0.2, 0.9, 0.2})),
                (0.2 * (0 + 1 + 2 + 4) + 0.9 * 3) / 1.7 / 4, kTolerance);
}

TEST(CenterOfGravityIndex, EmptyRangeGivesItsTruncatedMiddle) {
    const CFuzzyDiscreteSet set = SetOf({0, 0, 0, 1});
    EXPECT_EQ(CenterOfGravityIndex(set, -3, 0), -1.0);  // -3 / 2 truncated toward zero
    EXPECT_EQ(CenterOfGravityIndex(set, 0, 2), 1.0);
    EXPECT_EQ(CenterOfGravityIndex(set, 2, 9), 3.0);  // clipped to the set
}

// --- Samples in a buffer ----------------------------------------------------------------------

std::uint64_t Bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

// Degrees drawn from few values, so that plateaus and ties cross the blocks a buffer is scanned
// in; the first seven are what an inference kernel leaves (none negative or NaN).
const std::vector<double> kDrawnDegrees = {0, 0, 0.25, 0.5, 0.5, 1, 1.5, -0.0, -0.25, std::nan("")};

std::vector<double> DrawSamples(std::mt19937& random, int n, int first, int end, bool kernelLike) {
    std::vector<double> samples(n, 0.0);
    for (int j = first; j < end; ++j)
        samples[j] = kDrawnDegrees[random() % (kernelLike ? 7 : kDrawnDegrees.size())];
    return samples;
}

// The routines that read a buffer as SampleDefuzzifierOf gives them, and the smooth method's
// value with and without what a kernel knows of the samples, equal what the routines give for the
// same samples in a set, bit for bit.
TEST(BufferedSamples, GiveWhatTheSetGives) {
    const DefuzzificationRoutine routines[] = {SimpleCOG, ModCOG, SimpDefuzzLingExpression,
                                               DefuzTAVO, MOM};
    std::mt19937 random(11);
    for (int trial = 0; trial < 4000; ++trial) {
        const int n = 2 + static_cast<int>(random() % 70);
        const bool symmetric = random() % 3 == 0;
        const double hi = 1.0 + random() % 4;
        const double lo = symmetric ? -hi : 0.0;
        CRuleBase ruleBase = OutputOnly(lo, hi, n);
        const DefuzzificationGrid grid = DefuzzificationGridOf(ruleBase, 0);
        ASSERT_EQ(grid.symmetric, symmetric);
        const int first = static_cast<int>(random() % (n + 1));
        const int end = first + static_cast<int>(random() % (n + 1 - first));
        const bool kernelLike = trial % 2 == 0;
        const std::vector<double> samples = DrawSamples(random, n, first, end, kernelLike);
        const CFuzzyDiscreteSet set = SetOf(samples, lo, hi);
        for (const DefuzzificationRoutine routine : routines) {
            EXPECT_EQ(Bits(SampleDefuzzifierOf(routine)(samples, grid)),
                      Bits(Defuzzified(routine, ruleBase, set)))
                << "trial " << trial;
        }
        const double expected = SimpleLinguisticSetValue(set, grid);
        EXPECT_EQ(Bits(SimpleLinguisticSampleValue(samples, grid)), Bits(expected))
            << "trial " << trial;
        if (!kernelLike)
            continue;
        // Outside its bounds a kernel's buffer holds whatever it held before.
        std::vector<double> buffer = samples;
        for (int j = 0; j < n; ++j) {
            if (j < first || j >= end)
                buffer[j] = j % 2 ? std::nan("") : 9.0;
        }
        double peak = 0.0;
        for (const double mu : samples)
            peak = mu > peak ? mu : peak;
        EXPECT_EQ(Bits(SimpleLinguisticSampleValue(buffer, grid, SampleBounds{first, end, peak})),
                  Bits(expected))
            << "trial " << trial;
    }
}

// --- The smooth method --------------------------------------------------------------------------

rulebase_test::Model SmoothModel() {
    rulebase_test::Model model;
    model.inference = "Logical_Deduction";
    model.defuzzification = "Smooth Deffuz Ling Expr";
    model.inputs = {{"a", "linguistic", 0.0, 10.0, 101}, {"b", "linguistic", -1.0, 1.0, 101}};
    model.outputs = {{"y", "linguistic", 0.0, 1.0, 101}};
    model.rules = {rulebase_test::RuleLine({"sm", "-sm"}, {"sm"}),
                   rulebase_test::RuleLine({"me", "ze"}, {"me"}),
                   rulebase_test::RuleLine({"bi", "+bi"}, {"bi"})};
    return model;
}

// The neighbourhood average as stated, for comparison.
double ReferenceSmooth(CRuleBase& ruleBase, const std::vector<double>& x, int steps) {
    const double s = steps * 8.0 / 10.0;
    std::vector<double> a(2), b(2), step(2), c(2);
    std::vector<CFuzzyTriangSet> triangles;
    for (int i = 0; i < 2; ++i) {
        const double lo = ruleBase.GetLowerBound(i), hi = ruleBase.GetUpperBound(i);
        const double w = (hi - lo) / 10;
        step[i] = 2 * w * 0.999 / s;
        a[i] = std::max(lo, x[i] - w);
        b[i] = std::min(hi, x[i] + w);
        triangles.emplace_back(a[i], x[i], b[i], lo, hi);
        c[i] = a[i];
    }
    double sumW = 0, sumWY = 0;
    for (;;) {
        InferenceResult inferred = LLogInfPreCrisp(ruleBase, c);
        double y = 0;
        SetOperand set(std::move(inferred.set));
        SimpDefuzzLingExpression(ruleBase, std::span<SetOperand>(&set, 1),
                                 std::span<double>(&y, 1));
        const double w = triangles[0].Membership(c[0]) * triangles[1].Membership(c[1]);
        sumW += w;
        sumWY += y * w;
        int i = 0;
        for (; i < 2; ++i) {
            c[i] += step[i];
            if (c[i] <= b[i])
                break;
            c[i] = a[i];
        }
        if (i == 2)
            break;
    }
    return sumW == 0 ? 0 : sumWY / sumW;
}

TEST(SmoothDeffuzLingExpr, AveragesAroundTheInputsAndKeepsWhatTheInferenceRecorded) {
    CRuleBase ruleBase = rulebase_test::Build(SmoothModel());
    ruleBase.SetProjectionSteps(20);
    for (const std::vector<double>& x :
         {std::vector<double>{3.0, 0.2}, std::vector<double>{0.0, -1.0},
          std::vector<double>{10.0, 0.95}}) {
        InferenceResult inferred = ruleBase.Infer(x);
        const auto fired = std::vector<std::uint8_t>(ruleBase.GetFiredFlags().begin(),
                                                     ruleBase.GetFiredFlags().end());
        const int firedCount = ruleBase.GetFiredCount();
        const double smooth = ruleBase.Defuzzify(std::move(inferred.set));
        EXPECT_EQ(std::vector<double>(ruleBase.GetInputs().begin(), ruleBase.GetInputs().end()), x);
        EXPECT_EQ(std::vector<std::uint8_t>(ruleBase.GetFiredFlags().begin(),
                                            ruleBase.GetFiredFlags().end()),
                  fired);
        EXPECT_EQ(ruleBase.GetFiredCount(), firedCount);
        EXPECT_DOUBLE_EQ(smooth, ReferenceSmooth(ruleBase, x, 20));
        // A repaint defuzzifies again: the same inputs, the same value.
        EXPECT_EQ(ruleBase.Defuzzify(ruleBase.Infer(x).set), smooth);
    }
}

TEST(SmoothDeffuzLingExpr, DegenerateStepCountsEnd) {
    CRuleBase ruleBase = rulebase_test::Build(SmoothModel());
    for (int steps : {0, -5}) {
        ruleBase.SetProjectionSteps(steps);
        const double value = ruleBase.CrispOutput(std::vector<double>{5.0, 0.0});
        EXPECT_TRUE(std::isfinite(value)) << steps;
    }
}

}  // namespace
