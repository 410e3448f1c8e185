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

DataSamples ReadDataSamples(const DataCells& cells, const DataLayout& layout, int width) {
    DataSamples samples;
    samples.width = width;
    const int rowCount = cells.RowCount();
    samples.values.resize(static_cast<std::size_t>(std::max(rowCount - kFirstDataRow, 0)) * width);
    std::size_t used = 0;
    for (int r = kFirstDataRow; r < rowCount; ++r) {
        std::span<double> values(samples.values.data() + used * width, width);
        if (!ReadDataRow(cells, layout, r, width, values))
            continue;
        samples.rows.push_back(r);
        ++used;
    }
    samples.values.resize(used * width);
    return samples;
}

RowEstimates ComputeEstimates(CRuleBase& ruleBase, DataCells& cells, const DataProgressStep& step) {
    const DataLayout layout = DataLayout::Of(ruleBase);
    const DataSamples samples = ReadDataSamples(cells, layout, layout.inputs);
    std::vector<double> outputs(samples.rows.size());
    for (std::size_t first = 0; first < outputs.size(); first += kRowsPerStep) {
        const std::size_t count = std::min<std::size_t>(kRowsPerStep, outputs.size() - first);
        EvaluatePoints(ruleBase,
                       std::span<const double>(samples.values)
                           .subspan(first * samples.width, count * samples.width),
                       std::span<double>(outputs).subspan(first, count));
        if (step && count == kRowsPerStep)
            step(samples.rows[first + count - 1] - kFirstDataRow + 1);
    }
    RowEstimates estimates;
    estimates.reserve(outputs.size());
    std::size_t next = 0;
    for (int r = kFirstDataRow; r < cells.RowCount(); ++r) {
        if (next < samples.rows.size() && samples.rows[next] == r) {
            const double y = outputs[next++];
            cells.SetCell(layout.EstimateColumn(), r, EstimateText(y));
            cells.SetCell(layout.DescriptionColumn(), r, DescribedValueText(ruleBase, -1, y));
            estimates.emplace_back(r, y);
        } else {
            cells.SetCell(layout.EstimateColumn(), r, QStringLiteral("N/A"));
        }
    }
    if (step)
        step(cells.RowCount() - kFirstDataRow);
    return estimates;
}
