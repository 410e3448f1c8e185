#pragma once

class CRuleBase;
class TStringGrid;

// The two header rows of the data page: variable names over their contexts, then "est." and,
// with the linguistic approximation, "Ling. Approx."; data cells stay as they are.
void FillDataGridHeaders(TStringGrid& grid, const CRuleBase& ruleBase, bool linguistic);
