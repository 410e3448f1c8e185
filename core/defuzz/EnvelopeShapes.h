#pragma once

#include <limits>
#include <optional>
#include <span>

#include "core/inference/SampleRun.h"
#include "core/inference/SetKernels.h"

struct DefuzzificationGrid;

// The simple linguistic value of a Zadeh method's output set without its samples. The set is the
// greatest, sample by sample, of the consequents cut by their degrees (the t-norm of degree and
// sample). A consequent that rises to its peak and then falls gives a cut that does so too, level
// at its height over one stretch; where those stretches lie, and which cuts stand at the ends of
// the others', tell the set's shape, so only a few samples of each cut are read.

// What the value needs of one consequent's samples on a grid of n.
struct PeakedRun {
    SampleRun run;  // without the samples beyond the grid
    // The first and last samples above 0; last < first where none is.
    int first = 0;
    int last = -1;
    // The first and last of its greatest samples.
    int peakFirst = 0;
    int peakLast = 0;
    double peak = 0.0;
    // Every sample is finite and not negative, none falls before the peak, none rises after it.
    bool peaked = false;
};
PeakedRun PeakedRunOf(const SampleRun& run, int n);

// Where a consequent's cut by degree is above 0 ([first, last]) and at its height ([from, to]);
// a degree of NaN where none was found.
struct CutBounds {
    int first = 0;
    int last = 0;
    int from = 0;
    int to = 0;
    double degree = std::numeric_limits<double>::quiet_NaN();
};

// SimpleLinguisticSampleValue of the samples that InferZadehSamples writes for these degrees
// ([distinct consequent], consequents[k] the run of consequent k on the grid), bit for bit; none
// where the shapes do not decide it: a consequent that takes part and is not peaked, a degree
// above 1, many cuts, a set above 0 at both ends, a symmetric context's middle case where a set
// starts or ends above 0. kernel is one of the Zadeh kernels. near[k] holds where consequent k's
// cut lay the last time: what an earlier call with these consequents and kernel left there, or
// any bounds with a degree of NaN. The searches start there and leave what they found; the
// bounds change only how fast the value comes. Throws std::invalid_argument when near is shorter
// than consequents.
std::optional<double> EnvelopeLinguisticValue(SetKernel kernel,
                                              std::span<const PeakedRun> consequents,
                                              const double* degrees,
                                              const DefuzzificationGrid& grid,
                                              std::span<CutBounds> near);
