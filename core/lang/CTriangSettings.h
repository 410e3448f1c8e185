#pragma once

#include "core/lang/CBasicSettings.h"

// Basic settings with "very" and "roughly" and triangular atomic terms spread over the context.
class CTriangSettings : public CBasicSettings {
  public:
    CTriangSettings(double lo, double hi);
    ~CTriangSettings() override;

    std::string_view GetTypeName() const override { return "triang"; }
};
