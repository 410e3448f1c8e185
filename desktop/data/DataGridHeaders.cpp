#include "desktop/data/DataGridHeaders.h"

#include <QString>

#include <algorithm>

#include "core/rulebase/CRuleBase.h"
#include "desktop/toolkit/TStringGrid.h"

namespace {

QString Context(const CRuleBase& ruleBase, int variable) {
    return QString::asprintf("<%.2f, %.2f>", ruleBase.GetLowerBound(variable),
                             ruleBase.GetUpperBound(variable));
}

}  // namespace

void FillDataGridHeaders(TStringGrid& grid, const CRuleBase& ruleBase, bool linguistic) {
    const int inputs = ruleBase.GetNumAntVariables();
    const int outputs = ruleBase.GetNumSucVariables();
    grid.SetColCount(inputs + outputs + 3);
    auto header = [&grid](int col, const QString& name, const QString& context) {
        grid.SetCells(col, 0, name);
        grid.SetCells(col, 1, context);
        grid.SetColWidths(col, std::max({grid.DefaultColWidth(), grid.TextWidth(name) + 6,
                                         grid.TextWidth(context) + 6}));
    };
    for (int v = 0; v < inputs; ++v)
        header(1 + v, QString::fromStdString(ruleBase.GetVariableName(v)), Context(ruleBase, v));
    for (int v = 0; v < outputs; ++v)
        header(1 + inputs + v, QString::fromStdString(ruleBase.GetVariableName(-1 - v)),
               Context(ruleBase, -1 - v));
    if (outputs == 0)
        return;
    header(inputs + outputs + 1, "est.", Context(ruleBase, -1));
    const int description = inputs + outputs + 2;
    header(description, "Ling. Approx.", Context(ruleBase, -1));
    if (!linguistic) {
        grid.SetColWidths(description, 0);
        if (grid.Col() == description)
            grid.SetCol(description - 1);
    }
}
