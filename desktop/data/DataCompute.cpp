#include "desktop/data/DataCompute.h"

#include <algorithm>
#include <string>

#include "core/inference/InferenceSweeps.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/data/DataRows.h"

namespace {

// Rows between two progress reports, computed as one sweep: small enough for the bar to move
// smoothly, large enough that reporting costs nothing next to the inferences.
constexpr std::size_t kRowsPerStep = 4096;

}  // namespace

DataSamples ReadDataSamples(const DataTable& table, const DataLayout& layout, int width) {
    DataSamples samples;
    samples.width = width;
    const int rowCount = table.RowCount();
    samples.values.resize(static_cast<std::size_t>(rowCount) * width);
    std::size_t used = 0;
    for (int r = 0; r < rowCount; ++r) {
        std::span<double> values(samples.values.data() + used * width, width);
        if (!ReadDataRow(table, layout, r, width, values))
            continue;
        samples.rows.push_back(r);
        ++used;
    }
    samples.values.resize(used * width);
    return samples;
}

RowEstimates ComputeEstimates(CRuleBase& ruleBase, DataTable& table, const DataProgressStep& step) {
    const DataLayout layout = DataLayout::Of(ruleBase);
    const DataSamples samples = ReadDataSamples(table, layout, layout.inputs);
    std::vector<double> outputs(samples.rows.size());
    for (std::size_t first = 0; first < outputs.size(); first += kRowsPerStep) {
        const std::size_t count = std::min<std::size_t>(kRowsPerStep, outputs.size() - first);
        EvaluatePoints(ruleBase,
                       std::span<const double>(samples.values)
                           .subspan(first * samples.width, count * samples.width),
                       std::span<double>(outputs).subspan(first, count));
        if (step && count == kRowsPerStep)
            step(samples.rows[first + count - 1] + 1);
    }
    RowEstimates estimates;
    estimates.reserve(outputs.size());
    std::size_t next = 0;
    for (int r = 0; r < table.RowCount(); ++r) {
        if (next < samples.rows.size() && samples.rows[next] == r) {
            const double y = outputs[next++];
            table.SetCell(layout.EstimateColumn(), r, EstimateText(y));
            table.SetCell(layout.DescriptionColumn(), r, DescribedValueText(ruleBase, -1, y));
            estimates.emplace_back(r, y);
        } else {
            table.SetCell(layout.EstimateColumn(), r, QStringLiteral("N/A"));
            table.SetCell(layout.DescriptionColumn(), r, QString());
        }
    }
    if (step)
        step(table.RowCount());
    return estimates;
}
