#pragma once

#include <concepts>
#include <memory>
#include <stdexcept>
#include <utility>

#include "core/sets/CFuzzyDiscreteSet.h"

// A discrete set handed to an operation: lent by reference (the caller keeps it) or handed over
// as a std::unique_ptr (the operation destroys it when done). Producers return their temporary
// results as std::unique_ptr, so passing one result straight on frees it without a copy:
//
//     negation.ApplyToSet(minimum.ApplyToSets(a, b))  // the inner result dies inside
class SetOperand {
  public:
    SetOperand(const CFuzzyDiscreteSet& lent) : set_(&lent) {}
    template <std::derived_from<CFuzzyDiscreteSet> T>
    SetOperand(std::unique_ptr<T>&& handedOver)
        : owned_(std::move(handedOver)), set_(owned_.get()) {
        if (!set_)
            throw std::invalid_argument("a null set was handed over");
    }

    const CFuzzyDiscreteSet& operator*() const { return *set_; }
    const CFuzzyDiscreteSet* operator->() const { return set_; }
    bool IsHandedOver() const { return owned_ != nullptr; }

  private:
    std::unique_ptr<CFuzzyDiscreteSet> owned_;
    const CFuzzyDiscreteSet* set_;
};
