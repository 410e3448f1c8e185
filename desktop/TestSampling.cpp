#include "desktop/TestSampling.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/rulebase/CRuleBase.h"
#include "desktop/graphics3d/Net3D.h"

namespace {

bool Runs(const CRuleBase& ruleBase) {
    return ruleBase.GetTypeOfDescription() != CRuleBase::kTakagiSugeno;
}

}  // namespace

double CrispValueAt(CRuleBase& ruleBase, std::span<const double> inputs, bool filtered) {
    if (filtered)
        return ruleBase.FilteredInference(inputs);
    if (!Runs(ruleBase))
        return std::numeric_limits<double>::quiet_NaN();
    return ruleBase.CrispOutput(inputs);
}

void SampleProjection(CRuleBase& ruleBase, std::span<const double> inputs, int variable, int steps,
                      bool filtered, std::vector<double>& outputs) {
    if (steps < 1)
        throw std::invalid_argument("a projection needs at least one step");
    outputs.resize(static_cast<std::size_t>(steps) + 1);
    std::vector<double> point(inputs.begin(), inputs.end());
    const double lo = ruleBase.GetLowerBound(variable);
    const double hi = ruleBase.GetUpperBound(variable);
    const double step = (hi - lo) / steps;
    CRuleBase::ScopedInferenceState kept(ruleBase);
    for (int k = 0; k <= steps; ++k) {
        point[static_cast<std::size_t>(variable)] = k == steps ? hi : lo + k * step;
        outputs[static_cast<std::size_t>(k)] = CrispValueAt(ruleBase, point, filtered);
    }
}

void SampleSurface(CRuleBase& ruleBase, std::span<const double> inputs, int i, int j, int n,
                   Net3D& net) {
    if (n < 2)
        throw std::invalid_argument("a surface needs at least two steps");
    net.Resize(n, n);
    std::vector<double> point(inputs.begin(), inputs.end());
    const double loI = ruleBase.GetLowerBound(i), hiI = ruleBase.GetUpperBound(i);
    const double loJ = ruleBase.GetLowerBound(j), hiJ = ruleBase.GetUpperBound(j);
    const double loO = ruleBase.GetLowerBound(-1), hiO = ruleBase.GetUpperBound(-1);
    const double stepI = (hiI - loI) / (n - 1);
    const double stepJ = (hiJ - loJ) / (n - 1);
    CRuleBase::ScopedInferenceState kept(ruleBase);
    for (int a = 0; a < n; ++a) {
        const double x = loI + a * stepI;
        point[static_cast<std::size_t>(i)] = x;
        for (int b = 0; b < n; ++b) {
            const double y = loJ + b * stepJ;
            point[static_cast<std::size_t>(j)] = y;
            double z = CrispValueAt(ruleBase, point, false);
            if (!std::isfinite(z))
                z = loO;
            net.Point(b, a) = {(x - loI) * 2 / (hiI - loI) - 1, (y - loJ) * 2 / (hiJ - loJ) - 1,
                               (z - loO) * 2 / (hiO - loO) - 1};
        }
    }
}
