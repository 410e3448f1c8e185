#include "desktop/testwindow/TestSampling.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "core/inference/InferenceSweeps.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/graphics3d/Net3D.h"

namespace {

bool Runs(const CRuleBase& ruleBase) {
    return ruleBase.GetTypeOfDescription() != CRuleBase::kTakagiSugeno;
}

// The inputs each point starts from: as many as the rule base reads (all when too few, which
// the inference refuses).
std::span<const double> PointInputs(const CRuleBase& ruleBase, std::span<const double> inputs) {
    const auto m = static_cast<std::size_t>(ruleBase.GetNumAntVariables());
    return inputs.size() > m ? inputs.first(m) : inputs;
}

// CrispValueAt at every point (m values each); the unfiltered ones as one sweep over the cores.
void EvaluateAll(CRuleBase& ruleBase, std::span<const double> points, std::size_t m, bool filtered,
                 std::span<double> outputs) {
    if (!filtered && Runs(ruleBase) &&
        m == static_cast<std::size_t>(ruleBase.GetNumAntVariables())) {
        EvaluatePoints(ruleBase, points, outputs);
        return;
    }
    const CRuleBase::ScopedInferenceState kept(ruleBase);
    for (std::size_t p = 0; p < outputs.size(); ++p)
        outputs[p] = CrispValueAt(ruleBase, points.subspan(p * m, m), filtered);
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
    const auto count = static_cast<std::size_t>(steps) + 1;
    outputs.resize(count);
    const double lo = ruleBase.GetLowerBound(variable);
    const double hi = ruleBase.GetUpperBound(variable);
    const double step = (hi - lo) / steps;
    inputs = PointInputs(ruleBase, inputs);
    const std::size_t m = inputs.size();
    if (variable < 0 || static_cast<std::size_t>(variable) >= m)
        throw std::invalid_argument("the projected input is not among the inputs");
    std::vector<double> points;
    points.reserve(count * m);
    for (std::size_t k = 0; k < count; ++k) {
        points.insert(points.end(), inputs.begin(), inputs.end());
        points[k * m + static_cast<std::size_t>(variable)] =
            k == count - 1 ? hi : lo + static_cast<double>(k) * step;
    }
    EvaluateAll(ruleBase, points, m, filtered, outputs);
}

void SampleSurface(CRuleBase& ruleBase, std::span<const double> inputs, int i, int j, int n,
                   Net3D& net) {
    if (n < 2)
        throw std::invalid_argument("a surface needs at least two steps");
    net.Resize(n, n);
    const double loI = ruleBase.GetLowerBound(i), hiI = ruleBase.GetUpperBound(i);
    const double loJ = ruleBase.GetLowerBound(j), hiJ = ruleBase.GetUpperBound(j);
    const double loO = ruleBase.GetLowerBound(-1), hiO = ruleBase.GetUpperBound(-1);
    const double stepI = (hiI - loI) / (n - 1);
    const double stepJ = (hiJ - loJ) / (n - 1);
    inputs = PointInputs(ruleBase, inputs);
    const std::size_t m = inputs.size();
    if (i < 0 || j < 0 || static_cast<std::size_t>(std::max(i, j)) >= m)
        throw std::invalid_argument("the surface's inputs are not among the inputs");
    std::vector<double> points;
    points.reserve(static_cast<std::size_t>(n) * n * m);
    for (int a = 0; a < n; ++a) {
        for (int b = 0; b < n; ++b) {
            points.insert(points.end(), inputs.begin(), inputs.end());
            double* point = points.data() + points.size() - m;
            point[i] = loI + a * stepI;
            point[j] = loJ + b * stepJ;
        }
    }
    std::vector<double> outputs(static_cast<std::size_t>(n) * n);
    EvaluateAll(ruleBase, points, m, false, outputs);
    for (int a = 0; a < n; ++a) {
        const double x = loI + a * stepI;
        for (int b = 0; b < n; ++b) {
            const double y = loJ + b * stepJ;
            double z = outputs[static_cast<std::size_t>(a) * n + b];
            if (!std::isfinite(z))
                z = loO;
            net.Point(b, a) = {(x - loI) * 2 / (hiI - loI) - 1, (y - loJ) * 2 / (hiJ - loJ) - 1,
                               (z - loO) * 2 / (hiO - loO) - 1};
        }
    }
}
