#pragma once

#include "core/ftransform/TFuzzyCover.h"

// A fuzzy number: kernel 1 within 0.2 of a half-width around the centre, support up to 0.8 of it,
// quadratic arcs between that meet at 0.5 halfway. The two sides scale separately.
class TFuzzyNumberCover final : public TFuzzyCover {
  public:
    TFuzzyNumberCover(double low, double high);

    double Value(double x) const override;
    const char* GetTypeName() const override { return "fuzzynumber"; }

  private:
    double leftWidth_;
    double rightWidth_;
    double kernelLeft_;    // a1L
    double kernelRight_;   // a1R
    double middleLeft_;    // a2L
    double middleRight_;   // a2R
    double supportLeft_;   // a3L
    double supportRight_;  // a3R
};
