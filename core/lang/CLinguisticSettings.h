#pragma once

#include "core/lang/CBasicSettings.h"

// Settings of evaluative linguistic expressions: the fixed words ("very small", "roughly big",
// "about 3") besides user terms, "not", "and" and "or".
class CLinguisticSettings : public CBasicSettings {
  public:
    CLinguisticSettings(double lo, double hi);
    ~CLinguisticSettings() override;

    std::string_view GetTypeName() const override { return "linguistic"; }

    // The fixed tables first, the longest word winning; the own lists only when none matches.
    int MatchAtomicTerm(const char*& cursor) const override;
    int MatchModifier(const char*& cursor) const override;
    int MatchConnective(const char*& cursor) const override;
};
