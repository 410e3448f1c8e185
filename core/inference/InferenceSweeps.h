#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

class CRuleBase;

// Sweeps: many crisp inferences of one rule base at once, for the filter, the smooth
// defuzzification, the projection and the control surface, the data page's estimates.
//
// The points are split into chunks that worker threads take in turn. Each worker reads the rule
// base's compiled rules and keeps its own scratch space, and each point's value is computed as
// one call of the rule base would compute it; so results are the same bit for bit on every run
// and whatever the number of threads. Inputs that stay the same from one point to the next keep
// their antecedent degrees, and what the perception-based deduction makes of a selection of
// rules is kept for the selection's next appearance.
//
// The rule base must not change, nor run anything else, during a sweep; its recorded inference
// (inputs, fired flags, fired count) is left as it was. Routines that are not in the method
// tables run one point after another on the calling thread, through the rule base.

struct SweepOptions {
    // Threads to run on, each given a few points at least; 0: up to one per core, the calling
    // thread starting alone and taking helpers when the work proves worth them.
    int threads = 0;
};

// The crisp output at each point, as CRuleBase::CrispOutput gives it (unfiltered). points holds
// one value per antecedent for each point, point after point: outputs[p] is the output at
// points[p * m] ... points[p * m + m - 1] for m antecedents. Throws std::invalid_argument when
// points.size() is not outputs.size() * m, and what the inference throws.
void EvaluatePoints(CRuleBase& ruleBase, std::span<const double> points, std::span<double> outputs,
                    SweepOptions options = {});

// The crisp output at every point of a grid: axes[i] holds the values of input i, one axis per
// antecedent; outputs[k0 + n0 * (k1 + n1 * (k2 + ...))] is the output at (axes[0][k0],
// axes[1][k1], ...), input 0 fastest. Throws std::invalid_argument when there is not one axis per
// antecedent or outputs does not hold one value per grid point.
void EvaluateGrid(CRuleBase& ruleBase, std::span<const std::vector<double>> axes,
                  std::span<double> outputs, SweepOptions options = {});

// The same for grids too large to keep: the outputs go to consume on the calling thread, in grid
// order, a block at a time (the index of the block's first point, its outputs); the next block
// is computed meanwhile.
using GridConsumer = std::function<void(std::size_t first, std::span<const double> outputs)>;
void SweepGrid(CRuleBase& ruleBase, std::span<const std::vector<double>> axes,
               const GridConsumer& consume, SweepOptions options = {});

// The smooth defuzzification's average around the rule base's current inputs, as
// SmoothLinguisticValue (core/defuzz/DefuzzificationMethods.h) defines it.
double SmoothNeighbourhoodAverage(CRuleBase& ruleBase, double gridDivisions, double stepShare,
                                  SweepOptions options = {});
