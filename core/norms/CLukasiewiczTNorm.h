#pragma once

#include "core/norms/C2ArgOper.h"

// The Lukasiewicz t-norm: max(0, a + b - 1).
class CLukasiewiczTNorm final : public C2ArgOper {
  public:
    double Apply(double a, double b) const override {
        const double sum = a + b - 1;
        return sum > 0 ? sum : 0.0;
    }
};
