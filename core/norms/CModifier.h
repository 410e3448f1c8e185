#pragma once

#include <cmath>

#include "core/norms/C1ArgOper.h"

// A hedge: x raised to the power p (p < 1 widens a set, p > 1 narrows it).
class CModifier final : public C1ArgOper {
  public:
    explicit CModifier(double p) : p_(p) {}

    double Apply(double x) const override { return std::pow(x, p_); }
    double Exponent() const { return p_; }

  private:
    double p_;
};
