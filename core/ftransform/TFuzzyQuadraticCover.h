#pragma once

#include "core/ftransform/TFuzzyCover.h"

// Two parabolic arcs on each side, meeting at 0.5 halfway between an end and the centre.
class TFuzzyQuadraticCover final : public TFuzzyCover {
  public:
    TFuzzyQuadraticCover(double low, double high)
        : TFuzzyCover(low, high), q1_((low + centre_) * 0.5), q2_((centre_ + high) * 0.5) {}

    double Value(double x) const override;
    const char* GetTypeName() const override { return "quadratic"; }

  private:
    double q1_;
    double q2_;
};
