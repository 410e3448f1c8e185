#pragma once

#include <cstdint>
#include <span>

#include "core/inference/MethodRoutines.h"

class CFuzzyDiscreteSet;
class CRuleBase;
class SetOperand;
struct SampleBounds;

// The defuzzification methods: each turns the output set of succedent o into one crisp value,
// reading the succedent's grid size n and context [lo, hi] from the rule base (sample t lies at
// lo + (hi - lo) t / (n - 1)). A flat or all-zero set gives the midpoint of the context (MOM:
// its middle sample); a grid of fewer than 2 samples gives the midpoint too.

// Centre of gravity of all samples.
void SimpleCOG(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results);
// Centre of gravity of the samples above the set's minimum.
void ModCOG(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results);
// By the shape of the set (ClassifyOutputShape): the end of the kernel of a falling or rising
// set, the kernel's middle, the one point, or the mean of maxima; clamped into [lo, hi].
void SimpDefuzzLingExpression(CRuleBase& ruleBase, std::span<SetOperand> sets,
                              std::span<double> results);
// By the strict shape (ClassifyOutputShapeStrict), as centres of gravity of parts of the set
// moved into the kernel; clamped into [lo, hi].
void DefuzTAVO(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results);
// The middle of the samples of greatest value.
void MOM(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results);
// Ignores the set: averages SimpDefuzzLingExpression over a neighbourhood of the rule base's
// current inputs, weighted by triangles around them, with the grid step set by the rule base's
// projection steps. Writes the first result only. The inputs and fired rules of the inference
// that produced the set are kept.
void SmoothDeffuzLingExpr(CRuleBase& ruleBase, std::span<SetOperand> sets,
                          std::span<double> results);

// Succedent o's grid as the methods read it: n samples over [lo, hi]; symmetric when the
// succedent's language definition is symmetric about zero.
struct DefuzzificationGrid {
    int samples;
    double lo;
    double hi;
    bool symmetric;

    double Midpoint() const { return (lo + hi) * 0.5; }
    double At(double index) const { return lo + (hi - lo) * index / (samples - 1); }
    double Clamped(double value) const { return value < lo ? lo : value > hi ? hi : value; }
};
// Throws as CRuleBase::GetSettings for a succedent that is not there.
DefuzzificationGrid DefuzzificationGridOf(const CRuleBase& ruleBase, int o);

// What a routine gives for one output set whose samples (all of them) are in a buffer, without a
// set being made; for inferences that keep their output in scratch space.
using SampleDefuzzifier = double (*)(std::span<const double> samples,
                                     const DefuzzificationGrid& grid);
// Null for the smooth method, which reruns the inference, and for routines from elsewhere.
SampleDefuzzifier SampleDefuzzifierOf(DefuzzificationRoutine routine);
// The value the smooth method takes at each point of its grid: SimpDefuzzLingExpression's,
// without the midpoint for grids of fewer than 2 samples.
double SimpleLinguisticSampleValue(std::span<const double> samples,
                                   const DefuzzificationGrid& grid);
// The same for samples a Zadeh kernel wrote, with what it knows of them
// (core/inference/SetKernels.h): only those inside the bounds are read.
double SimpleLinguisticSampleValue(std::span<const double> samples, const DefuzzificationGrid& grid,
                                   const SampleBounds& bounds);
double SimpleLinguisticSetValue(const CFuzzyDiscreteSet& set, const DefuzzificationGrid& grid);

// The smooth method's value for a window split into gridDivisions steps per input (the rule
// base's projection steps times 0.8 in SmoothDeffuzLingExpr). A step is stepShare of the
// window's width over gridDivisions; 0.999 keeps the last grid point inside the window.
inline constexpr double kSmoothStepShare = 0.999;
double SmoothLinguisticValue(CRuleBase& ruleBase, double gridDivisions,
                             double stepShare = kSmoothStepShare);

// The shared operations; index ranges are inclusive, samples beyond the set read 0.
bool IsNonDecreasing(const CFuzzyDiscreteSet& set, int from, int to);
bool IsNonIncreasing(const CFuzzyDiscreteSet& set, int from, int to);
bool IsConstant(const CFuzzyDiscreteSet& set, int from, int to);
// Sum of i * mu[i] over sum of mu[i] for i in [max(0, from), min(count - 1, to)]; when the
// degrees sum to 0, (from + to) / 2 in integer division.
double CenterOfGravityIndex(const CFuzzyDiscreteSet& set, int from, int to);
// The middle index (the upper of two middles) of the samples of greatest value, as a point of
// [lo, hi] on a grid of n samples.
double MeanOfMaximaValue(const CFuzzyDiscreteSet& set, double lo, double hi, int n);

// The shape of an output set, as the linguistic defuzzifications tell them apart.
enum class OutputShapeCode : std::uint8_t {
    kFallingShape = 0,     // the maximum is at the left end
    kSinglePeakShape = 1,  // rises to its maximum, then falls
    kRisingShape = 2,      // the maximum is at the right end
    kOnePointShape = 3,    // only one sample above the minimum
    kFlatShape = 4,        // the minimum equals the maximum
    kOtherShape = 5,       // anything else
};

struct OutputShape {
    OutputShapeCode code = OutputShapeCode::kFlatShape;
    int p1 = 0;  // first sample above the minimum
    int p2 = 0;  // last sample above the minimum
    int p3 = 0;  // first sample of the maximum
    int p4 = 0;  // last sample of the maximum
};

// symmetric: the output's context is symmetric about zero.
OutputShape ClassifyOutputShape(const CFuzzyDiscreteSet& set, bool symmetric);
OutputShape ClassifyOutputShapeStrict(const CFuzzyDiscreteSet& set, bool symmetric);
// SimpDefuzzLingExpression's value for a set of this shape on a grid of 2 samples or more;
// maximaMiddle, read for kOtherShape only, is the index whose point MeanOfMaximaValue gives.
double SimpleLinguisticShapeValue(const OutputShape& shape, int maximaMiddle,
                                  const DefuzzificationGrid& grid);

// The constants of DefuzTAVO: the share of the slope taken into the kernel, and the split of a
// shift past the bound between the support end and the result.
inline constexpr double kKernelShare = 0.577;
inline constexpr double kSupportShift = 0.54;
inline constexpr double kResultShift = 0.46;
