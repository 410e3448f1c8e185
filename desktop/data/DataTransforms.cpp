#include "desktop/data/DataTransforms.h"

#include <cmath>
#include <stdexcept>

#include "core/ftransform/TFTransform.h"
#include "core/ftransform/TNDimArray.h"
#include "core/lang/CSettings.h"
#include "core/math/NumericUtils.h"
#include "core/math/matrix.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/data/DataRows.h"

namespace {

constexpr int kRowsPerStep = 1024;

// Memberships of every user term of the variable at x, into row.
void TermDegrees(const CSettings& settings, double x, std::vector<double>& row) {
    const auto terms = settings.UserTerms();
    row.resize(terms.size());
    for (std::size_t j = 0; j < terms.size(); ++j)
        row[j] = terms[j]->Element().Membership(x);
}

}  // namespace

std::vector<FTDimensionSettings> DefaultFTransformSettings(const CRuleBase& ruleBase) {
    std::vector<FTDimensionSettings> settings;
    for (int i = 0; i < ruleBase.GetNumAntVariables(); ++i)
        settings.push_back(
            {ruleBase.GetLowerBound(i), ruleBase.GetUpperBound(i), 10, ftTriangular});
    return settings;
}

long long TransformNodeCount(std::span<const FTDimensionSettings> settings) {
    long long count = 1;
    for (const FTDimensionSettings& axis : settings) {
        count *= std::max(axis.nodes, 0);
        if (count > kMaxTransformNodes)
            return kMaxTransformNodes + 1;
    }
    return count;
}

int MaxNodesPerInput(int inputs) {
    int nodes = static_cast<int>(kMaxTransformNodes);
    if (inputs > 1)
        nodes = static_cast<int>(std::floor(std::pow(double(kMaxTransformNodes), 1.0 / inputs)));
    return nodes;
}

std::unique_ptr<TFTransform> ComputeFTransform(const CRuleBase& ruleBase,
                                               std::span<const FTDimensionSettings> settings,
                                               const DataSamples& samples,
                                               const DataProgressStep& step) {
    if (TransformNodeCount(settings) > kMaxTransformNodes)
        throw std::length_error("The F-transform would need more than " +
                                std::to_string(kMaxTransformNodes) + " nodes.");
    const std::size_t inputs = settings.size();
    const bool sampled = !samples.rows.empty();
    if (static_cast<int>(inputs) != ruleBase.GetNumAntVariables() ||
        (sampled && samples.width < static_cast<int>(inputs) + 1))
        throw std::invalid_argument("The F-transform settings do not match the input variables.");
    auto transform = std::make_unique<TFTransform>(settings);
    transform->SetDefaultValue(Midpoint(ruleBase.GetLowerBound(-1), ruleBase.GetUpperBound(-1)));
    transform->ResetSums();
    for (std::size_t i = 0; i < samples.rows.size(); ++i) {
        transform->AddSample(samples.Values(i).first(inputs + 1));
        if (step && i % kRowsPerStep == kRowsPerStep - 1)
            step(samples.rows[i] + 1);
    }
    transform->ComputeComponents();
    return transform;
}

RowEstimates InverseEstimates(const TFTransform& transform, const CRuleBase& ruleBase,
                              const DataTable& table) {
    const DataLayout layout = DataLayout::Of(ruleBase);
    const DataSamples inputs = ReadDataSamples(table, layout, layout.inputs);
    RowEstimates estimates;
    estimates.reserve(inputs.rows.size());
    for (std::size_t i = 0; i < inputs.rows.size(); ++i)
        estimates.emplace_back(inputs.rows[i], transform.InverseAt(inputs.Values(i)));
    return estimates;
}

double FTransformError(const TFTransform& transform, const DataSamples& samples,
                       const DataTable& table, int desiredColumn) {
    double maximum = 0.0;
    for (std::size_t i = 0; i < samples.rows.size(); ++i) {
        double desired = 0.0;
        GridTextToNumber(table.Cell(desiredColumn, samples.rows[i]), desired);
        const double error = std::fabs(desired - transform.InverseAt(samples.Values(i)));
        if (error > maximum)
            maximum = error;
    }
    return maximum;
}

std::optional<int> SearchNodeCount(int upper, double tolerance,
                                   const std::function<double(int nodes)>& err) {
    int hi = upper;
    int lo = 1;
    if (err(hi) > tolerance)
        return std::nullopt;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        if (err(mid) < tolerance)
            hi = mid;
        else
            lo = mid;
    }
    err(hi);
    return hi;
}

std::optional<RowEstimates> UserTermTransformEstimates(const CRuleBase& ruleBase,
                                                       const DataTable& table) {
    const int inputs = ruleBase.GetNumAntVariables();
    std::vector<int> sizes;
    for (int i = 0; i < inputs; ++i) {
        const int terms = static_cast<int>(ruleBase.GetSettings(i).UserTerms().size());
        if (terms < 1)
            return std::nullopt;
        sizes.push_back(terms);
    }
    const DataLayout layout = DataLayout::Of(ruleBase);
    const DataSamples samples = ReadDataSamples(table, layout, layout.VariableColumns());
    TNDimArray sums(sizes);
    TNDimArray weights(sizes);
    std::vector<std::vector<double>> degrees(inputs);
    const auto weightAt = [&](std::span<const int> k) {
        double w = 1.0;
        for (int i = 0; i < inputs; ++i)
            w *= degrees[i][k[i]];
        return w;
    };
    for (std::size_t s = 0; s < samples.rows.size(); ++s) {
        const auto values = samples.Values(s);
        for (int i = 0; i < inputs; ++i)
            TermDegrees(ruleBase.GetSettings(i), values[i], degrees[i]);
        const double y = values.back();
        for (auto k = weights.ResetIndex(); !weights.AtEnd(); k = weights.NextIndex()) {
            const double w = weightAt(k);
            const int at = weights.LinearIndex(k);
            sums.Data()[at] += y * w;
            weights.Data()[at] += w;
        }
    }
    TNDimArray components(sizes);
    for (int at = 0; at < components.Total(); ++at)
        components.Data()[at] =
            weights.Data()[at] == 0.0 ? 0.0 : sums.Data()[at] / weights.Data()[at];
    RowEstimates estimates;
    for (std::size_t s = 0; s < samples.rows.size(); ++s) {
        const auto values = samples.Values(s);
        for (int i = 0; i < inputs; ++i)
            TermDegrees(ruleBase.GetSettings(i), values[i], degrees[i]);
        double estimate = 0.0;
        for (auto k = components.ResetIndex(); !components.AtEnd(); k = components.NextIndex())
            estimate += components.Get(k) * weightAt(k);
        estimates.emplace_back(samples.rows[s], estimate);
    }
    return estimates;
}

RowEstimates LeastSquaresEstimates(const CRuleBase& ruleBase, const DataTable& table) {
    if (ruleBase.GetNumAntVariables() + ruleBase.GetNumSucVariables() > 2 ||
        ruleBase.GetNumAntVariables() < 1)
        return {};
    const CSettings& settings = ruleBase.GetSettings(0);
    const std::size_t n = settings.UserTerms().size();
    if (n < 1)
        return {};
    const DataLayout layout = DataLayout::Of(ruleBase);
    const DataSamples samples = ReadDataSamples(table, layout, layout.VariableColumns());
    math::matrix<double> a(n, n);
    math::matrix<double> b(n, 1);
    std::vector<double> u;
    for (std::size_t s = 0; s < samples.rows.size(); ++s) {
        const auto values = samples.Values(s);
        TermDegrees(settings, values[0], u);
        for (std::size_t i = 0; i < n; ++i) {
            b(i, 0) += values.back() * u[i];
            for (std::size_t j = 0; j < n; ++j)
                a(i, j) += u[j] * u[i];
        }
    }
    const math::matrix<double> c = math::matrix<double>::Solve(a, b);
    RowEstimates estimates;
    for (std::size_t s = 0; s < samples.rows.size(); ++s) {
        TermDegrees(settings, samples.Values(s)[0], u);
        double estimate = 0.0;
        for (std::size_t i = 0; i < n; ++i)
            estimate += c(i, 0) * u[i];
        estimates.emplace_back(samples.rows[s], estimate);
    }
    return estimates;
}
