#pragma once

#include <optional>

#include "desktop/testwindow/FuzzySetPanel.h"

class CFuzzySet;
class FuzzySetOutputBox;

// One output variable of the test window: its name, the crisp result, its typical expression
// (linguistic rule bases) and the box that draws the inferred set.
class FuzzySetOutputPanel : public FuzzySetPanel {
    Q_OBJECT

  public:
    FuzzySetOutputPanel(QWidget* owner, int variableIndex, const CRuleBase& ruleBase,
                        const QRect& rect);

    FuzzySetOutputBox* Box() const { return box_; }
    // See FuzzySetOutputBox::ShowResult, on the variable's context as it is now; the fields
    // follow.
    void ShowResult(const CFuzzySet* set, std::optional<double> crisp);
    // No result, without asking the rule base anything: it may be gone.
    void ClearResult();
    void Refresh();

  private:
    FuzzySetOutputBox* box_;
};
