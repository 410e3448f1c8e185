#pragma once

#include "core/norms/C2ArgOper.h"

// "or" of the basic vocabulary: the maximum.
class CMaxTConorm final : public C2ArgOper {
  public:
    double Apply(double a, double b) const override { return a > b ? a : b; }
};
