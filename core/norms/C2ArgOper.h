#pragma once

#include <memory>

#include "core/sets/SetOperand.h"

class C1ArgOper;

// An operator on two membership degrees: the connectives, t-norms and the implication. The set
// forms return new sets marked temporary and destroy the sets handed over to them; a set lent by
// reference is left alone.
class C2ArgOper {
  public:
    virtual ~C2ArgOper() = default;

    virtual double Apply(double a, double b) const = 0;
    // Sample by sample: sample k is Apply(a[k], b[k]), with a's sizes on a copy of b's universe.
    // Throws std::invalid_argument unless both have as many samples and dimensions.
    virtual std::unique_ptr<CFuzzyDiscreteSet> ApplyToSets(SetOperand a, SetOperand b) const;
    // The relation over the product universe: a's dimensions, then b's; the sample at
    // (i_a, i_b) is Apply(a at i_a, b at i_b).
    virtual std::unique_ptr<CFuzzyDiscreteSet> ApplyCartesian(SetOperand a, SetOperand b) const;
    // ApplyToSets(a, unary.ApplyToSet(b)).
    virtual std::unique_ptr<CFuzzyDiscreteSet> ApplyWithUnary(const C1ArgOper& unary, SetOperand a,
                                                              SetOperand b) const;

  protected:
    C2ArgOper() = default;
    C2ArgOper(const C2ArgOper&) = default;
    C2ArgOper& operator=(const C2ArgOper&) = default;
};
