#pragma once

class CRuleBase;
class TStringGrid;

// The two header rows of the data page: variable names over their contexts, then "est." and
// "Ling. Approx."; data cells stay as they are. The description column is always there, since
// Compute fills it, and is hidden (width 0) without the linguistic approximation.
void FillDataGridHeaders(TStringGrid& grid, const CRuleBase& ruleBase, bool linguistic);
