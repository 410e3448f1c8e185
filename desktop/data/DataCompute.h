#pragma once

#include <functional>
#include <span>
#include <vector>

#include "desktop/data/DataRows.h"

class CRuleBase;

// Called with the number of rows done so far during long work over the data rows.
using DataProgressStep = std::function<void(int rowsDone)>;

// The data rows whose columns 1 .. width all read as numbers (clamped, see ReadDataRow), with
// their values row after row.
struct DataSamples {
    int width = 0;
    std::vector<int> rows;
    std::vector<double> values;

    std::span<const double> Values(std::size_t i) const {
        return std::span<const double>(values).subspan(i * width, width);
    }
};

DataSamples ReadDataSamples(const DataTable& table, const DataLayout& layout, int width);

// The estimates of the rule base for every data row, as Compute writes them: the "est." cell of
// a row whose inputs are numbers gets the crisp output (EstimateText) and the description
// column the short text of the first output's expression for it; any other row gets "N/A" and
// no description. Nothing is
// written until every output has been computed, so an exception from the inference leaves the
// cells as they were. The rule base's record of its last inference is kept. Returns the
// estimates written.
RowEstimates ComputeEstimates(CRuleBase& ruleBase, DataTable& table,
                              const DataProgressStep& step = {});
