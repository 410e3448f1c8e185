#pragma once

#include "core/norms/C2ArgOper.h"

// The Lukasiewicz implication: min(1, 1 - a + b); a is the antecedent degree.
class CLukasiewiczImplication final : public C2ArgOper {
  public:
    double Apply(double a, double b) const override {
        const double value = 1 - a + b;
        return value < 1 ? value : 1.0;
    }
};
