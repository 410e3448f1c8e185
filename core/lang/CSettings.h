#pragma once

#include <string_view>

#include "core/sets/CUniverse.h"

// The language definition of a variable: its context and the vocabulary and parsers of its cells.
// One object may serve several variables of a rule base.
class CSettings {
  public:
    virtual ~CSettings();
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // "basic", "triang", "linguistic" or "linc": also the settings word of the rulebase file.
    virtual std::string_view GetTypeName() const = 0;
    virtual bool IsLinearCombination() const { return false; }

    const CUniverse& Context() const { return context_; }
    double GetLowerBound() const { return context_.At(0).lo; }
    double GetUpperBound() const { return context_.At(0).hi; }
    // Callers that change a context of the basic family call UpdateSymmetry afterwards.
    void SetContext(double lo, double hi);

  protected:
    CSettings(double lo, double hi);

  private:
    CUniverse context_;
};
