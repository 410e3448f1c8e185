#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "core/ftransform/FTDimensionSettings.h"
#include "desktop/data/DataCompute.h"
#include "desktop/data/DataRows.h"

class CRuleBase;
class TFTransform;

// A node grid larger than this would take hundreds of megabytes (four doubles per node).
inline constexpr long long kMaxTransformNodes = 1LL << 22;

// One settings record per input: its universe, 10 triangular nodes.
std::vector<FTDimensionSettings> DefaultFTransformSettings(const CRuleBase& ruleBase);

// The number of nodes of a transform over the records.
long long TransformNodeCount(std::span<const FTDimensionSettings> settings);

// A transform over the records, its default value the midpoint of the first output's universe,
// computed from the data rows whose variables all read as numbers (the inputs followed by the
// first output). Throws std::invalid_argument for a bad record or when there is not one record
// per input, and std::length_error for more than kMaxTransformNodes nodes.
std::unique_ptr<TFTransform> ComputeFTransform(const CRuleBase& ruleBase,
                                               std::span<const FTDimensionSettings> settings,
                                               const DataSamples& samples,
                                               const DataProgressStep& step = {});

// The inverse transform at every data row whose inputs read as numbers.
RowEstimates InverseEstimates(const TFTransform& transform, const CRuleBase& ruleBase,
                              const DataTable& table);

// The largest |desired - inverse| over the samples, desired being the last output column's
// number as written (not clamped); 0 without samples.
double FTransformError(const TFTransform& transform, const DataSamples& samples,
                       const DataTable& table, int desiredColumn);

// The bisection of the node-count search: err(hi) for hi = upper first; when it exceeds the
// tolerance, nothing (the caller reports it). Else hi moves down to mid while err(mid) < tol,
// lo up otherwise, from lo = 1, and err is called once more for the final hi, which is returned.
std::optional<int> SearchNodeCount(int upper, double tolerance,
                                   const std::function<double(int nodes)>& err);

// The largest node count per input that keeps a grid of `inputs` axes within
// kMaxTransformNodes.
int MaxNodesPerInput(int inputs);

// The discrete fuzzy transform over the user terms of the inputs, at every data row whose
// variables all read as numbers. Nothing when an input has no user terms.
std::optional<RowEstimates> UserTermTransformEstimates(const CRuleBase& ruleBase,
                                                       const DataTable& table);

// The least-squares combination of the first input's user terms that fits the output, at every
// data row whose variables all read as numbers; empty unless the rule base has one input, one
// output and user terms. Throws math::matrix_error for a singular system.
RowEstimates LeastSquaresEstimates(const CRuleBase& ruleBase, const DataTable& table);
