#pragma once

#include <memory>
#include <string_view>

#include "core/sets/CFuzzyDiscreteSet.h"

// A one-dimensional discrete set that stores only its samples from the first to the last nonzero
// one (none when all are zero); every other sample reads 0. Rule cells keep their sets this way.
class CCompressedFuzzyDiscreteSet : public CFuzzyDiscreteSet {
  public:
    // Throws std::invalid_argument when the source is not one-dimensional.
    explicit CCompressedFuzzyDiscreteSet(const CFuzzyDiscreteSet& source);
    CCompressedFuzzyDiscreteSet(const CCompressedFuzzyDiscreteSet& other);

    std::string_view GetTypeName() const override { return "ocmpset"; }
    std::unique_ptr<CFuzzySet> Clone() const override;
};
