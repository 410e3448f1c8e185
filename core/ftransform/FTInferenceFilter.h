#pragma once

#include <memory>
#include <span>
#include <vector>

#include "core/ftransform/FTDimensionSettings.h"
#include "core/inference/InferenceSweeps.h"

class CRuleBase;
class TFTransform;

// Smooths the crisp input-output map of a rule base: samples the rule base's output on a grid
// of 201 points per input, builds an F-transform of the samples with 20 triangular nodes per
// input, and answers with the inverse transform from then on. The filter keeps no reference
// to the rule base: it answers with the samples taken at the last compute.
class FTInferenceFilter {
  public:
    static constexpr int kNodes = 20;
    static constexpr int kSamplesPerInput = 201;

    // Computes the filter of the rule base (see Compute).
    explicit FTInferenceFilter(CRuleBase& ruleBase);
    ~FTInferenceFilter();
    FTInferenceFilter(const FTInferenceFilter&) = delete;
    FTInferenceFilter& operator=(const FTInferenceFilter&) = delete;

    // The number of inputs the filter was computed for.
    int InputCount() const { return static_cast<int>(settings_.size()); }
    // One axis per input: its universe, 20 nodes, triangular.
    std::span<const FTDimensionSettings> Settings() const { return settings_; }
    const TFTransform& Transform() const { return *transform_; }

    // Remakes the axes from the rule base's antecedents, the default value (the midpoint of the
    // first output's universe) and the samples: input i runs from its lower bound in steps of
    // 0.004995 of its width, 201 values that stop short of the upper bound; 201^n inferences.
    // The rule base's inputs and fired flags are restored afterwards. The inferences run on all
    // cores unless options say otherwise; the samples are added in grid order, so the filter is
    // the same whatever the number of threads. Throws std::logic_error
    // without an input or an output variable, std::invalid_argument for a universe that is not
    // an interval, and whatever the inference throws; the filter then stays as it was.
    void Compute(CRuleBase& ruleBase, SweepOptions options = {});
    // The rule base's crisp output for one value per antecedent: the defuzzified output set of
    // a linguistic rule base, the inference result of a singleton or Takagi-Sugeno one.
    static double SampleRuleBase(CRuleBase& ruleBase, std::span<const double> inputs);
    // The filtered output: the inverse transform at one value per input. Throws
    // std::invalid_argument for fewer values than inputs.
    double Value(std::span<const double> inputs) const;

  private:
    std::vector<FTDimensionSettings> settings_;
    std::unique_ptr<TFTransform> transform_;
};
