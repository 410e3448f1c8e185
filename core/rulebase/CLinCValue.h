#pragma once

#include <span>
#include <string>
#include <vector>

#include "core/rulebase/CValue.h"

// A Takagi-Sugeno consequent: the linear combination a0 + a1 x1 + ... + an xn of the inputs.
class CLinCValue : public CValue {
  public:
    // antecedentCount + 1 coefficients, all 0 until built.
    CLinCValue(std::string text, int variableIndex, int antecedentCount);
    ~CLinCValue() override;

    // Reads the coefficients, one per antecedent the rule base has now, after the constant.
    void Build(const CRuleBase& ruleBase) override;

    // The constant first, then one coefficient per antecedent.
    std::span<const double> GetCoefficients() const { return coefficients_; }

  private:
    std::vector<double> coefficients_;
};
