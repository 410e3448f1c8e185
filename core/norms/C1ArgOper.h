#pragma once

#include <memory>

#include "core/sets/SetOperand.h"

// An operator on one membership degree: the negation and the hedge modifiers.
class C1ArgOper {
  public:
    virtual ~C1ArgOper() = default;

    virtual double Apply(double x) const = 0;
    // A new set on a copy of a's universe with Apply of every sample of a, marked temporary.
    virtual std::unique_ptr<CFuzzyDiscreteSet> ApplyToSet(SetOperand a) const;

  protected:
    C1ArgOper() = default;
    C1ArgOper(const C1ArgOper&) = default;
    C1ArgOper& operator=(const C1ArgOper&) = default;
};
