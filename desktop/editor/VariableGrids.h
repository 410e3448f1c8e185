#pragma once

#include <QString>

class CRuleBase;
class TStringGrid;

// The read-only lists of the variable pages: a header row "Name", "Short", "Lo", "Hi", "Type"
// and one row per input or output variable with its name and its context's bounds.

void SetUpVariableGrid(TStringGrid& grid);
void FillVariableGrid(TStringGrid& grid, const CRuleBase& ruleBase, bool outputs);
// A bound as the lists show it: fixed notation with two decimals ("0.50").
QString BoundText(double bound);
// The message that refuses a row's bound texts, or an empty text when both are numbers and
// low < high. low and high come in as the row's variable's bounds: a text that still shows one
// (BoundText) stands for that number, not for its two decimals. They go out as the row's bounds.
QString CheckBoundTexts(const QString& lowText, const QString& highText, double& low, double& high);
