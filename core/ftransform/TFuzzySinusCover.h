#pragma once

#include "core/ftransform/TFuzzyCover.h"

// One raised-cosine period over [low, high].
class TFuzzySinusCover final : public TFuzzyCover {
  public:
    using TFuzzyCover::TFuzzyCover;

    double Value(double x) const override;
    const char* GetTypeName() const override { return "sinusoidal"; }
};
