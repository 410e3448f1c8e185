#pragma once

#include "core/norms/C1ArgOper.h"

// "not": 1 - x.
class CNegation final : public C1ArgOper {
  public:
    double Apply(double x) const override { return 1 - x; }
};
