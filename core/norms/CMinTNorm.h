#pragma once

#include "core/norms/C2ArgOper.h"

// "and" of the basic vocabulary: the minimum.
class CMinTNorm final : public C2ArgOper {
  public:
    double Apply(double a, double b) const override { return a < b ? a : b; }
};
