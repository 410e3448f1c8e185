#pragma once

#include "core/ftransform/TFuzzyCover.h"

class TFuzzyTriangCover final : public TFuzzyCover {
  public:
    using TFuzzyCover::TFuzzyCover;

    double Value(double x) const override;
    const char* GetTypeName() const override { return "triangular"; }
};
