#pragma once

#include <memory>
#include <string>

#include "core/rulebase/CValue.h"

class CFuzzyDiscreteSet;

// A cell whose text denotes a fuzzy set on its variable's grid.
class CFuzValue : public CValue {
  public:
    CFuzValue(std::string text, int variableIndex);
    ~CFuzValue() override;

    // Samples the text with the variable's settings onto its grid. A set with a nonzero sample
    // is kept compressed (only the run of nonzero samples is stored).
    void Build(const CRuleBase& ruleBase) override;

    // Null until built, and after a failed Build.
    const CFuzzyDiscreteSet* GetSet() const { return set_.get(); }

  private:
    std::unique_ptr<CFuzzyDiscreteSet> set_;
};
