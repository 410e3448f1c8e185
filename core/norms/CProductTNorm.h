#pragma once

#include "core/norms/C2ArgOper.h"

// The product t-norm.
class CProductTNorm final : public C2ArgOper {
  public:
    double Apply(double a, double b) const override { return a * b; }
};
