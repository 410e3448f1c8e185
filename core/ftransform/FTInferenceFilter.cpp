#include "core/ftransform/FTInferenceFilter.h"

#include <stdexcept>

#include "core/ftransform/TFTransform.h"
#include "core/inference/InferenceSweeps.h"
#include "core/rulebase/CRuleBase.h"

FTInferenceFilter::FTInferenceFilter(CRuleBase& ruleBase) {
    Compute(ruleBase);
}

FTInferenceFilter::~FTInferenceFilter() = default;

void FTInferenceFilter::Compute(CRuleBase& ruleBase, SweepOptions options) {
    const int n = ruleBase.GetNumAntVariables();
    if (n == 0 || ruleBase.GetNumSucVariables() == 0)
        throw std::logic_error("the inference filter needs an input and an output variable");
    std::vector<FTDimensionSettings> axes(n);
    std::vector<std::vector<double>> values(n);
    for (int d = 0; d < n; ++d) {
        axes[d] = {ruleBase.GetLowerBound(d), ruleBase.GetUpperBound(d), kNodes, ftTriangular};
        // Accumulated as written, so that the samples fall where they always have; counted, so
        // that a step lost in the rounding of a far-off context cannot stall an axis.
        const double step = (axes[d].high - axes[d].low) * 0.999 * 0.005;
        double x = axes[d].low;
        for (int k = 0; k < kSamplesPerInput; ++k, x += step)
            values[d].push_back(x);
    }
    auto transform = std::make_unique<TFTransform>(axes);
    transform->SetDefaultValue((ruleBase.GetLowerBound(-1) + ruleBase.GetUpperBound(-1)) * 0.5);
    transform->ResetSums();

    // The filter's inferences must not show as the rule base's last inference.
    const CRuleBase::ScopedInferenceState keeper(ruleBase);
    const TFTransform::SampleGrid grid = transform->MakeSampleGrid(values);
    // The samples are added in grid order, input 0 fastest, whatever computed them.
    SweepGrid(
        ruleBase, values,
        [&](std::size_t first, std::span<const double> outputs) {
            transform->AddGridSamples(grid, first, outputs);
        },
        options);
    transform->ComputeComponents();
    settings_ = std::move(axes);
    transform_ = std::move(transform);
}

double FTInferenceFilter::SampleRuleBase(CRuleBase& ruleBase, std::span<const double> inputs) {
    return ruleBase.CrispOutput(inputs);
}

double FTInferenceFilter::Value(std::span<const double> inputs) const {
    return transform_->InverseAt(inputs);
}
