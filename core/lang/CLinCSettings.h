#pragma once

#include <string>
#include <vector>

#include "core/lang/CSettings.h"

// The settings of Takagi-Sugeno consequents, written as linear combinations of the inputs.
class CLinCSettings : public CSettings {
  public:
    CLinCSettings(double lo, double hi);
    ~CLinCSettings() override;

    std::string_view GetTypeName() const override { return "linc"; }
    bool IsLinearCombination() const override { return true; }

    // Reads a linear combination such as "0.5 + 2*x1 - x2" over n antecedent variables into
    // n + 1 coefficients: entry 0 the constant, entry i that of xi. Runs of blanks in text are
    // collapsed in place. Throws ESyntax (position 0, no text), also for an index outside 1..n,
    // and std::invalid_argument for a negative n.
    virtual std::vector<double> ParseValue(std::string& text, int n) const;
};
