#include "desktop/editor/VariableGrids.h"

#include <algorithm>

#include "core/rulebase/CRuleBase.h"
#include "desktop/toolkit/Conversions.h"
#include "desktop/toolkit/TStringGrid.h"

namespace {

constexpr int kColumnWidths[] = {146, 64, 31, 31, 79};
constexpr int kLowColumn = 2;
constexpr int kHighColumn = 3;

}  // namespace

void SetUpVariableGrid(TStringGrid& grid) {
    grid.SetColCount(5);
    grid.SetFixedCols(0);
    grid.SetFixedRows(1);
    grid.SetDefaultRowHeight(22);
    grid.SetOptions(goRowSelect | goColSizing);
    for (int c = 0; c < 5; ++c)
        grid.SetColWidths(c, kColumnWidths[c]);
}

void FillVariableGrid(TStringGrid& grid, const CRuleBase& ruleBase, bool outputs) {
    const int count = outputs ? ruleBase.GetNumSucVariables() : ruleBase.GetNumAntVariables();
    grid.SetRowCount(count + 1);
    const char* const headers[] = {"Name", "Short", "Lo", "Hi", "Type"};
    for (int c = 0; c < 5; ++c)
        grid.SetCells(c, 0, headers[c]);
    // The designed widths are a floor: bounds such as "-1000.00" must not be cut off.
    int boundWidth = kColumnWidths[kLowColumn];
    for (int v = 0; v < count; ++v) {
        const int index = outputs ? -1 - v : v;
        const QString low = BoundText(ruleBase.GetLowerBound(index));
        const QString high = BoundText(ruleBase.GetUpperBound(index));
        grid.SetCells(0, v + 1, QString::fromStdString(ruleBase.GetVariableName(index)));
        grid.SetCells(1, v + 1, {});
        grid.SetCells(kLowColumn, v + 1, low);
        grid.SetCells(kHighColumn, v + 1, high);
        grid.SetCells(4, v + 1, {});
        boundWidth = std::max({boundWidth, grid.TextWidth(low) + 6, grid.TextWidth(high) + 6});
    }
    grid.SetColWidths(kLowColumn, std::max(grid.ColWidths(kLowColumn), boundWidth));
    grid.SetColWidths(kHighColumn, std::max(grid.ColWidths(kHighColumn), boundWidth));
}

QString BoundText(double bound) {
    return QString::number(bound, 'f', 2);
}

QString CheckBoundTexts(const QString& lowText, const QString& highText, double& low,
                        double& high) {
    double lowValue = low;
    double highValue = high;
    if (lowText != BoundText(low) && !toolkit::TryStrToFloat(lowText, lowValue))
        return "Real value expected in low bound!";
    if (highText != BoundText(high) && !toolkit::TryStrToFloat(highText, highValue))
        return "Real value expected in high bound!";
    if (!(highValue > lowValue))
        return "Low bound must be lower then high bound!";
    low = lowValue;
    high = highValue;
    return {};
}
