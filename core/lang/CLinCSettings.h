#pragma once

#include "core/lang/CSettings.h"

// The settings of Takagi-Sugeno consequents, written as linear combinations of the inputs.
class CLinCSettings : public CSettings {
  public:
    CLinCSettings(double lo, double hi);
    ~CLinCSettings() override;

    std::string_view GetTypeName() const override { return "linc"; }
    bool IsLinearCombination() const override { return true; }
};
