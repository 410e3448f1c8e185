#include "core/defuzz/DefuzzificationMethods.h"

#include <cmath>
#include <stdexcept>
#include <vector>

#include "core/defuzz/SampleScans.h"
#include "core/inference/InferenceSweeps.h"
#include "core/inference/SampleRun.h"
#include "core/inference/SetKernels.h"
#include "core/lang/CBasicSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/SetOperand.h"

using enum OutputShapeCode;

namespace {

using OutputGrid = DefuzzificationGrid;
using sample_scans::Double2;

// All samples of an output set held in a buffer, read as the set reads them: 0 beyond its ends.
struct SampleBuffer {
    std::span<const double> values;

    int Count() const { return static_cast<int>(values.size()); }
    double Sample(int i) const {
        const auto stored = static_cast<std::size_t>(i);
        return stored < values.size() ? values[stored] : 0.0;
    }
};

// A sample the caller knows to lie inside the samples: a buffer is read unchecked, a set as
// always (the public operations take any range).
double InRange(const SampleBuffer& buffer, int i) {
    return buffer.values[i];
}

double InRange(const CFuzzyDiscreteSet& set, int i) {
    return set.Sample(i);
}

// The samples a Zadeh kernel wrote: values[i] holds sample i for i inside the bounds; the others,
// whatever the buffer holds there, read 0 (core/inference/SetKernels.h).
struct BoundedBuffer {
    const double* values;
    int count;
    SampleBounds bounds;

    int Count() const { return count; }
    double Sample(int i) const { return i >= bounds.first && i < bounds.end ? values[i] : 0.0; }
};

double InRange(const BoundedBuffer& buffer, int i) {
    return buffer.Sample(i);
}

// The scans, sample by sample for a set and a block of samples at a time for a buffer.
template <class Samples>
void ExtremesOf(const Samples& set, int n, double& least, double& greatest) {
    for (int i = 0; i < n; ++i) {
        const double mu = InRange(set, i);
        if (mu < least)
            least = mu;
        if (mu > greatest)
            greatest = mu;
    }
}

void ExtremesOf(const SampleBuffer& buffer, int n, double& least, double& greatest) {
    sample_scans::Extremes(buffer.values.data(), n, least, greatest);
}

// The first index in [from, end) whose sample is above (equals) value, else end.
template <class Samples>
int FirstAbove(const Samples& set, int from, int end, double value) {
    int i = from;
    while (i < end && !(InRange(set, i) > value))
        ++i;
    return i;
}

int FirstAbove(const SampleBuffer& buffer, int from, int end, double value) {
    const Double2 bound = sample_scans::Broadcast(value);
    return sample_scans::FindFirst(buffer.values.data(), from, end,
                                   [&](Double2 mu) { return mu > bound; });
}

template <class Samples>
int FirstEqual(const Samples& set, int from, int end, double value) {
    int i = from;
    while (i < end && InRange(set, i) != value)
        ++i;
    return i;
}

int FirstEqual(const SampleBuffer& buffer, int from, int end, double value) {
    const Double2 wanted = sample_scans::Broadcast(value);
    return sample_scans::FindFirst(buffer.values.data(), from, end,
                                   [&](Double2 mu) { return mu == wanted; });
}

// The last index in [0, last] whose sample is above (equals) value, else -1.
template <class Samples>
int LastAbove(const Samples& set, int last, double value) {
    int i = last;
    while (i >= 0 && !(InRange(set, i) > value))
        --i;
    return i;
}

int LastAbove(const SampleBuffer& buffer, int last, double value) {
    const Double2 bound = sample_scans::Broadcast(value);
    return sample_scans::FindLast(buffer.values.data(), 0, last,
                                  [&](Double2 mu) { return mu > bound; });
}

template <class Samples>
int LastEqual(const Samples& set, int last, double value) {
    int i = last;
    while (i >= 0 && InRange(set, i) != value)
        --i;
    return i;
}

int LastEqual(const SampleBuffer& buffer, int last, double value) {
    const Double2 wanted = sample_scans::Broadcast(value);
    return sample_scans::FindLast(buffer.values.data(), 0, last,
                                  [&](Double2 mu) { return mu == wanted; });
}

template <class Samples>
bool NonDecreasingOver(const Samples& set, int from, int to) {
    for (int i = from + 1; i <= to; ++i) {
        if (!(InRange(set, i) >= InRange(set, i - 1)))
            return false;
    }
    return true;
}

bool NonDecreasingOver(const SampleBuffer& buffer, int from, int to) {
    return sample_scans::AllPairs(buffer.values.data(), from, to,
                                  [](Double2 earlier, Double2 later) { return later >= earlier; });
}

template <class Samples>
bool NonIncreasingOver(const Samples& set, int from, int to) {
    for (int i = from; i < to; ++i) {
        if (!(InRange(set, i) >= InRange(set, i + 1)))
            return false;
    }
    return true;
}

bool NonIncreasingOver(const SampleBuffer& buffer, int from, int to) {
    return sample_scans::AllPairs(buffer.values.data(), from, to,
                                  [](Double2 earlier, Double2 later) { return earlier >= later; });
}

template <class Samples>
bool ConstantOver(const Samples& set, int from, int to) {
    for (int i = from; i < to; ++i) {
        if (InRange(set, i) != InRange(set, i + 1))
            return false;
    }
    return true;
}

bool ConstantOver(const SampleBuffer& buffer, int from, int to) {
    return sample_scans::AllPairs(buffer.values.data(), from, to,
                                  [](Double2 earlier, Double2 later) { return earlier == later; });
}

template <class Samples>
double CenterOfGravityIndexOf(const Samples& set, int from, int to) {
    double moment = 0.0;
    double mass = 0.0;
    const int last = std::min(set.Count() - 1, to);
    for (int i = std::max(0, from); i <= last; ++i) {
        const double mu = InRange(set, i);
        moment += i * mu;
        mass += mu;
    }
    if (mass == 0)
        return (from + to) / 2;
    return moment / mass;
}

// The middle index (the upper of two middles) of the samples of greatest value among the first n.
template <class Samples>
int MaximaMiddleOf(const Samples& set, int n) {
    double maximum = 0.0;
    for (int i = 0; i < n; ++i)
        maximum = std::max(maximum, InRange(set, i));
    int count = 0;
    for (int i = 0; i < n; ++i)
        count += InRange(set, i) == maximum ? 1 : 0;
    int middle = count / 2;
    for (int i = 0; i < n; ++i) {
        if (InRange(set, i) == maximum && middle-- == 0)
            return i;
    }
    return 0;
}

int MaximaMiddleOf(const SampleBuffer& buffer, int n) {
    const double* v = buffer.values.data();
    double least = 1.0;
    double maximum = 0.0;
    sample_scans::Extremes(v, n, least, maximum);
    const int middle =
        sample_scans::NthEqual(v, n, maximum, sample_scans::CountEqual(v, n, maximum) / 2);
    return middle < 0 ? 0 : middle;
}

double MeanOfMaximaAt(int index, double lo, double hi, int n) {
    return lo + (hi - lo) * index / (n - 1);
}

template <class Samples>
double MeanOfMaximaOf(const Samples& set, double lo, double hi, int n) {
    return MeanOfMaximaAt(MaximaMiddleOf(set, n), lo, hi, n);
}

// The scans of a bounded buffer look only inside the bounds where they can: a zero is not above a
// value of 0 or more, nor equal to one above 0, and the greatest sample is known. Elsewhere they
// read sample by sample.
void ExtremesOf(const BoundedBuffer& buffer, int n, double& least, double& greatest) {
    const SampleBounds& bounds = buffer.bounds;
    if (bounds.peak > greatest)
        greatest = bounds.peak;
    if (bounds.first > 0 || bounds.end < n) {
        // A zero, and the other samples are not below it.
        if (0.0 < least)
            least = 0.0;
        return;
    }
    double unused = greatest;
    sample_scans::Extremes(buffer.values, n, least, unused);
}

int FirstAbove(const BoundedBuffer& buffer, int from, int end, double value) {
    if (!(value >= 0))
        return FirstAbove<BoundedBuffer>(buffer, from, end, value);
    const Double2 bound = sample_scans::Broadcast(value);
    const int last = std::min(end, buffer.bounds.end);
    const int i = sample_scans::FindFirst(buffer.values, std::max(from, buffer.bounds.first), last,
                                          [&](Double2 mu) { return mu > bound; });
    return i < last ? i : end;
}

int FirstEqual(const BoundedBuffer& buffer, int from, int end, double value) {
    if (!(value > 0))
        return FirstEqual<BoundedBuffer>(buffer, from, end, value);
    const Double2 wanted = sample_scans::Broadcast(value);
    const int last = std::min(end, buffer.bounds.end);
    const int i = sample_scans::FindFirst(buffer.values, std::max(from, buffer.bounds.first), last,
                                          [&](Double2 mu) { return mu == wanted; });
    return i < last ? i : end;
}

int LastAbove(const BoundedBuffer& buffer, int last, double value) {
    if (!(value >= 0))
        return LastAbove<BoundedBuffer>(buffer, last, value);
    const Double2 bound = sample_scans::Broadcast(value);
    return sample_scans::FindLast(buffer.values, buffer.bounds.first,
                                  std::min(last, buffer.bounds.end - 1),
                                  [&](Double2 mu) { return mu > bound; });
}

int LastEqual(const BoundedBuffer& buffer, int last, double value) {
    if (!(value > 0))
        return LastEqual<BoundedBuffer>(buffer, last, value);
    const Double2 wanted = sample_scans::Broadcast(value);
    return sample_scans::FindLast(buffer.values, buffer.bounds.first,
                                  std::min(last, buffer.bounds.end - 1),
                                  [&](Double2 mu) { return mu == wanted; });
}

// Whether pairs (mu[i - 1], mu[i]) for i in [from + 1, to] all pass test, which a pair of zeros
// passes: only the pairs that enter and leave the bounds and those inside are compared.
template <class Test>
bool AllPairsOf(const BoundedBuffer& buffer, int from, int to, Test test) {
    const int first = buffer.bounds.first;
    const int end = buffer.bounds.end;
    if (first >= end)
        return true;
    const Double2 zero{};
    if (from < first && first <= to &&
        test(zero, sample_scans::Broadcast(buffer.values[first]))[0] == 0)
        return false;
    if (from < end && end <= to &&
        test(sample_scans::Broadcast(buffer.values[end - 1]), zero)[0] == 0)
        return false;
    return sample_scans::AllPairs(buffer.values, std::max(from, first), std::min(to, end - 1),
                                  test);
}

bool NonDecreasingOver(const BoundedBuffer& buffer, int from, int to) {
    return AllPairsOf(buffer, from, to,
                      [](Double2 earlier, Double2 later) { return later >= earlier; });
}

bool NonIncreasingOver(const BoundedBuffer& buffer, int from, int to) {
    return AllPairsOf(buffer, from, to,
                      [](Double2 earlier, Double2 later) { return earlier >= later; });
}

bool ConstantOver(const BoundedBuffer& buffer, int from, int to) {
    return AllPairsOf(buffer, from, to,
                      [](Double2 earlier, Double2 later) { return earlier == later; });
}

// The maxima of a set that is not all 0 lie inside the bounds.
int MaximaMiddleOf(const BoundedBuffer& buffer, int n) {
    const double maximum = buffer.bounds.peak;
    if (!(maximum > 0))
        return MaximaMiddleOf<BoundedBuffer>(buffer, n);
    const double* inside = buffer.values + buffer.bounds.first;
    const int count = buffer.bounds.end - buffer.bounds.first;
    const int middle = sample_scans::NthEqual(inside, count, maximum,
                                              sample_scans::CountEqual(inside, count, maximum) / 2);
    return middle < 0 ? 0 : buffer.bounds.first + middle;
}

// A method of one output set applied to each; a grid of fewer than 2 samples gives its midpoint.
template <class Method>
void ForEachOutput(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results,
                   Method method) {
    if (sets.size() > results.size())
        throw std::invalid_argument("one result per output set is needed");
    if (static_cast<int>(sets.size()) > ruleBase.GetNumSucVariables())
        throw std::invalid_argument("more output sets than output variables");
    for (std::size_t o = 0; o < sets.size(); ++o) {
        const OutputGrid grid = DefuzzificationGridOf(ruleBase, static_cast<int>(o));
        results[o] = grid.samples < 2 ? grid.Midpoint() : method(*sets[o], grid);
    }
}

template <double (*Method)(const SampleBuffer&, const OutputGrid&)>
double OfSamples(std::span<const double> samples, const OutputGrid& grid) {
    return grid.samples < 2 ? grid.Midpoint() : Method(SampleBuffer{samples}, grid);
}

SampleRun StoredRun(const CFuzzyDiscreteSet& set) {
    return SampleRun::Of(&set);
}

SampleRun StoredRun(const SampleBuffer& buffer) {
    return {buffer.values.data(), 0, buffer.Count()};
}

template <class Samples>
double SimpleCenterOfGravity(const Samples& set, const OutputGrid& grid) {
    // Zero samples add nothing to either sum (which start at +0 and take no negative terms), so
    // only the stored run is visited, without its zero ends.
    const SampleRun run = StoredRun(set);
    int first = std::max(run.first, 0);
    int end = std::min(run.end, grid.samples);
    while (first < end && run.values[first - run.first] == 0)
        ++first;
    while (end > first && run.values[end - 1 - run.first] == 0)
        --end;
    double moment = 0.0;
    double mass = 0.0;
    for (int j = first; j < end; ++j) {
        const double mu = run.values[j - run.first];
        moment += j * mu;
        mass += mu;
    }
    if (mass == 0)
        return grid.Midpoint();
    return grid.lo + (grid.hi - grid.lo) * (moment / mass) / (grid.samples - 1);
}

template <class Samples>
double ModifiedCenterOfGravity(const Samples& set, const OutputGrid& grid) {
    const int n = grid.samples;
    double minimum = 1.0;
    for (int j = 0; j < n; ++j)
        minimum = std::min(minimum, InRange(set, j));
    double moment = 0.0;
    double mass = 0.0;
    for (int j = 0; j < n; ++j) {
        const double mu = InRange(set, j);
        if (mu > minimum) {
            moment += j * mu;
            mass += mu;
        }
    }
    if (mass == 0)
        return grid.Midpoint();
    return grid.lo + (grid.hi - grid.lo) * (moment / mass) / (n - 1);
}

int RoundHalfUp(double value) {
    return static_cast<int>(std::floor(value + 0.5));
}

// The part of the classification both classifiers share: mn and mx are the extreme degrees.
struct Extremes {
    double mn = 1.0;
    double mx = 0.0;
};

template <class Samples>
Extremes ClassifyCommon(const Samples& set, OutputShape& shape) {
    const int n = set.Count();
    Extremes e;
    ExtremesOf(set, n, e.mn, e.mx);
    shape = {kFlatShape, 0, n - 1, 0, n - 1};
    if (e.mn == e.mx)
        return e;
    int i = FirstAbove(set, 0, n, e.mn);
    if (i < n)
        shape.p1 = i;
    i = FirstEqual(set, shape.p1, n, e.mx);
    if (i < n)
        shape.p3 = i;
    i = LastAbove(set, n - 1, e.mn);
    if (i >= 0)
        shape.p2 = i;
    i = LastEqual(set, shape.p2, e.mx);
    if (i >= 0)
        shape.p4 = i;
    shape.code = shape.p1 == shape.p2 ? kOnePointShape : kOtherShape;
    return e;
}

template <class Samples>
OutputShape ClassifyShape(const Samples& set, bool symmetric) {
    OutputShape shape;
    const Extremes e = ClassifyCommon(set, shape);
    if (shape.code != kOtherShape)
        return shape;
    const int n = set.Count();
    const int mid = n / 2;
    if (symmetric && set.Sample(mid) == e.mx) {
        if (ConstantOver(set, 0, mid - 1)) {
            shape.code = kFallingShape;
            return shape;
        }
        if (ConstantOver(set, mid + 1, n - 1)) {
            shape.code = kRisingShape;
            return shape;
        }
    }
    if (set.Sample(0) == e.mx) {
        shape.code = kFallingShape;
    } else if (set.Sample(n - 1) == e.mx) {
        shape.code = kRisingShape;
    } else if (set.Sample(shape.p3) == e.mx && NonIncreasingOver(set, shape.p3, n - 1) &&
               NonDecreasingOver(set, 0, shape.p3)) {
        shape.code = kSinglePeakShape;
    }
    return shape;
}

template <class Samples>
OutputShape ClassifyShapeStrict(const Samples& set, bool symmetric) {
    OutputShape shape;
    const Extremes e = ClassifyCommon(set, shape);
    if (shape.code != kOtherShape)
        return shape;
    const int n = set.Count();
    const int mid = n / 2;
    const bool peakAtMid = symmetric && set.Sample(mid) == e.mx;
    if (peakAtMid && set.Sample(mid - 1) == e.mn && NonIncreasingOver(set, mid, n - 1) &&
        NonDecreasingOver(set, 0, mid - 1)) {
        shape.code = kFallingShape;
    } else if (peakAtMid && set.Sample(mid + 1) == e.mn && NonDecreasingOver(set, 0, mid) &&
               NonIncreasingOver(set, mid + 1, n - 1)) {
        shape.code = kRisingShape;
    } else if (set.Sample(0) == e.mx && NonIncreasingOver(set, 0, n - 1)) {
        shape.code = kFallingShape;
    } else if (set.Sample(n - 1) == e.mx && NonDecreasingOver(set, 0, n - 1)) {
        shape.code = kRisingShape;
    } else if (set.Sample(shape.p3) == e.mx && NonIncreasingOver(set, shape.p3, n - 1) &&
               NonDecreasingOver(set, 0, shape.p3)) {
        shape.code = kSinglePeakShape;
    }
    return shape;
}

template <class Samples>
double MeanOfMaximaValueOn(const Samples& set, const OutputGrid& grid) {
    return MeanOfMaximaOf(set, grid.lo, grid.hi, grid.samples);
}

double ValueOfShape(const OutputShape& shape, int maximaMiddle, const OutputGrid& grid) {
    double value = 0.0;
    switch (shape.code) {
        case kFallingShape:
            value = grid.At(shape.p4);
            break;
        case kSinglePeakShape:
            value =
                grid.lo + (grid.hi - grid.lo) * (shape.p3 + shape.p4) / (2.0 * (grid.samples - 1));
            break;
        case kRisingShape:
            value = grid.At(shape.p3);
            break;
        case kOnePointShape:
            value = grid.At(shape.p1);
            break;
        case kFlatShape:
            value = grid.Midpoint();
            break;
        case kOtherShape:
            value = MeanOfMaximaAt(maximaMiddle, grid.lo, grid.hi, grid.samples);
            break;
    }
    return grid.Clamped(value);
}

template <class Samples>
double SimpleLinguisticValue(const Samples& set, const OutputGrid& grid) {
    const OutputShape shape = ClassifyShape(set, grid.symmetric);
    const int middle = shape.code == kOtherShape ? MaximaMiddleOf(set, grid.samples) : 0;
    return ValueOfShape(shape, middle, grid);
}

template <class Samples>
double TavoValue(const Samples& set, const OutputGrid& grid) {
    OutputShape shape = ClassifyShapeStrict(set, grid.symmetric);
    const int n = grid.samples;
    const int mid = n / 2;
    double index = 0.0;
    switch (shape.code) {
        case kFallingShape: {
            const int k = RoundHalfUp(shape.p4 - kKernelShare * (shape.p2 - shape.p4));
            const int bound = !grid.symmetric || shape.p4 < mid ? 0 : mid;
            if (k < bound)
                shape.p2 = RoundHalfUp(shape.p2 - kSupportShift * (bound - k));
            index = CenterOfGravityIndexOf(set, k, shape.p2);
            if (k < bound)
                index = index - kResultShift * (bound - k);
            break;
        }
        case kSinglePeakShape:
            index = CenterOfGravityIndexOf(set, shape.p1, shape.p2);
            break;
        case kRisingShape: {
            const int k = RoundHalfUp(shape.p3 + kKernelShare * (shape.p3 - shape.p1));
            const int bound = !grid.symmetric || shape.p3 >= mid ? n - 1 : mid;
            if (k > bound)
                shape.p1 = RoundHalfUp(shape.p1 + kSupportShift * (k - bound));
            index = CenterOfGravityIndexOf(set, shape.p1, k);
            if (k > bound)
                index = index + kResultShift * (k - bound);
            break;
        }
        case kOnePointShape:
            index = shape.p1;
            break;
        case kFlatShape:
            return grid.Clamped(grid.Midpoint());
        case kOtherShape:
            index = CenterOfGravityIndexOf(set, 0, n - 1);
            break;
    }
    return grid.Clamped(grid.At(index));
}

}  // namespace

void SimpleCOG(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results) {
    ForEachOutput(ruleBase, sets, results, SimpleCenterOfGravity<CFuzzyDiscreteSet>);
}

void ModCOG(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results) {
    ForEachOutput(ruleBase, sets, results, ModifiedCenterOfGravity<CFuzzyDiscreteSet>);
}

void SimpDefuzzLingExpression(CRuleBase& ruleBase, std::span<SetOperand> sets,
                              std::span<double> results) {
    ForEachOutput(ruleBase, sets, results, SimpleLinguisticValue<CFuzzyDiscreteSet>);
}

void DefuzTAVO(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results) {
    ForEachOutput(ruleBase, sets, results, TavoValue<CFuzzyDiscreteSet>);
}

void MOM(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results) {
    ForEachOutput(ruleBase, sets, results, MeanOfMaximaValueOn<CFuzzyDiscreteSet>);
}

void SmoothDeffuzLingExpr(CRuleBase& ruleBase, std::span<SetOperand> sets,
                          std::span<double> results) {
    if (sets.size() > results.size())
        throw std::invalid_argument("one result per output set is needed");
    if (results.empty())
        return;
    results[0] = SmoothLinguisticValue(ruleBase, ruleBase.GetProjectionSteps() * 8.0 / 10.0);
}

double SmoothLinguisticValue(CRuleBase& ruleBase, double gridDivisions, double stepShare) {
    return SmoothNeighbourhoodAverage(ruleBase, gridDivisions, stepShare);
}

DefuzzificationGrid DefuzzificationGridOf(const CRuleBase& ruleBase, int o) {
    const int index = -1 - o;
    const auto* settings = dynamic_cast<const CBasicSettings*>(&ruleBase.GetSettings(index));
    return {ruleBase.GetDiscretization(index), ruleBase.GetLowerBound(index),
            ruleBase.GetUpperBound(index), settings != nullptr && settings->IsSymmetric()};
}

SampleDefuzzifier SampleDefuzzifierOf(DefuzzificationRoutine routine) {
    if (routine == SimpleCOG)
        return OfSamples<SimpleCenterOfGravity<SampleBuffer>>;
    if (routine == ModCOG)
        return OfSamples<ModifiedCenterOfGravity<SampleBuffer>>;
    if (routine == SimpDefuzzLingExpression)
        return OfSamples<SimpleLinguisticValue<SampleBuffer>>;
    if (routine == DefuzTAVO)
        return OfSamples<TavoValue<SampleBuffer>>;
    if (routine == MOM)
        return OfSamples<MeanOfMaximaValueOn<SampleBuffer>>;
    return nullptr;
}

double SimpleLinguisticSampleValue(std::span<const double> samples,
                                   const DefuzzificationGrid& grid) {
    return SimpleLinguisticValue(SampleBuffer{samples}, grid);
}

double SimpleLinguisticSampleValue(std::span<const double> samples, const DefuzzificationGrid& grid,
                                   const SampleBounds& bounds) {
    return SimpleLinguisticValue(
        BoundedBuffer{samples.data(), static_cast<int>(samples.size()), bounds}, grid);
}

double SimpleLinguisticShapeValue(const OutputShape& shape, int maximaMiddle,
                                  const DefuzzificationGrid& grid) {
    return ValueOfShape(shape, maximaMiddle, grid);
}

double SimpleLinguisticSetValue(const CFuzzyDiscreteSet& set, const DefuzzificationGrid& grid) {
    return SimpleLinguisticValue(set, grid);
}

bool IsNonDecreasing(const CFuzzyDiscreteSet& set, int from, int to) {
    return NonDecreasingOver(set, from, to);
}

bool IsNonIncreasing(const CFuzzyDiscreteSet& set, int from, int to) {
    return NonIncreasingOver(set, from, to);
}

bool IsConstant(const CFuzzyDiscreteSet& set, int from, int to) {
    return ConstantOver(set, from, to);
}

double CenterOfGravityIndex(const CFuzzyDiscreteSet& set, int from, int to) {
    return CenterOfGravityIndexOf(set, from, to);
}

double MeanOfMaximaValue(const CFuzzyDiscreteSet& set, double lo, double hi, int n) {
    return MeanOfMaximaOf(set, lo, hi, n);
}

OutputShape ClassifyOutputShape(const CFuzzyDiscreteSet& set, bool symmetric) {
    return ClassifyShape(set, symmetric);
}

OutputShape ClassifyOutputShapeStrict(const CFuzzyDiscreteSet& set, bool symmetric) {
    return ClassifyShapeStrict(set, symmetric);
}
