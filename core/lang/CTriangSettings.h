#pragma once

#include "core/lang/CBasicSettings.h"

// Basic settings with "very" and "roughly" and triangular atomic terms spread over the context.
class CTriangSettings : public CBasicSettings {
  public:
    CTriangSettings(double lo, double hi);
    ~CTriangSettings() override;

    std::string_view GetTypeName() const override { return "triang"; }

    // The atomic terms follow the context: they are made anew for it, as the reader makes them.
    void SetContext(double lo, double hi) override;
    // How many of the first terms are the atomic terms of the context (by their names); the file
    // holds only the terms after them.
    std::size_t AtomicTermCount() const;

  private:
    // The triangular atomic terms of the context, in order.
    std::vector<std::unique_ptr<CNamedTerm>> AtomicTerms() const;
};
