#include "core/ftransform/FTInferenceFilter.h"

#include <stdexcept>

#include "core/ftransform/TFTransform.h"
#include "core/rulebase/CRuleBase.h"

FTInferenceFilter::FTInferenceFilter(CRuleBase& ruleBase) {
    Compute(ruleBase);
}

FTInferenceFilter::~FTInferenceFilter() = default;

void FTInferenceFilter::Compute(CRuleBase& ruleBase) {
    const int n = ruleBase.GetNumAntVariables();
    if (n == 0 || ruleBase.GetNumSucVariables() == 0)
        throw std::logic_error("the inference filter needs an input and an output variable");
    std::vector<FTDimensionSettings> axes(n);
    std::vector<double> steps(n);
    std::vector<int> index(n, 0);
    std::vector<double> point(n + 1);  // the inputs, then the output
    for (int d = 0; d < n; ++d) {
        axes[d] = {ruleBase.GetLowerBound(d), ruleBase.GetUpperBound(d), kNodes, ftTriangular};
        // Accumulated as written, so that the samples fall where they always have; counted, so
        // that a step lost in the rounding of a far-off context cannot stall an axis.
        steps[d] = (axes[d].high - axes[d].low) * 0.999 * 0.005;
        point[d] = axes[d].low;
    }
    auto transform = std::make_unique<TFTransform>(axes);
    transform->SetDefaultValue((ruleBase.GetLowerBound(-1) + ruleBase.GetUpperBound(-1)) * 0.5);
    transform->ResetSums();

    // The filter's inferences must not show as the rule base's last inference.
    const CRuleBase::ScopedInferenceState keeper(ruleBase);
    const std::span<const double> inputs = std::span<const double>(point).first(n);
    for (;;) {
        point[n] = SampleRuleBase(ruleBase, inputs);
        transform->AddSample(point);
        // Odometer, input 0 fastest.
        int d = 0;
        for (; d < n; ++d) {
            if (++index[d] < kSamplesPerInput) {
                point[d] += steps[d];
                break;
            }
            index[d] = 0;
            point[d] = axes[d].low;
        }
        if (d == n)
            break;
    }
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
