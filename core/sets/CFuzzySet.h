#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "core/sets/CAlphaCut.h"
#include "core/sets/CUniverse.h"

class CFuzzyACutSet;
class CFuzzyDiscreteSet;

// A fuzzy set over a universe of one or more dimensions; degrees lie in [0, 1]. The universe is
// held by shared ownership, so sets that share one never free it twice.
class CFuzzySet {
  public:
    virtual ~CFuzzySet() = default;
    CFuzzySet& operator=(const CFuzzySet&) = delete;

    // Also the shape name of the rulebase file.
    virtual std::string_view GetTypeName() const { return "noname"; }
    virtual std::unique_ptr<CFuzzySet> Clone() const = 0;

    // Uses the other set's universe object from now on: a bound moved through either set moves
    // for both. Throws std::invalid_argument when the dimension counts differ.
    virtual void ShareUniverse(const CFuzzySet& other);
    // Drops the universe (discrete sets also their samples).
    virtual void Clear();
    // Forgets the universe and buffers. Buffers that were handed on have moved, so nothing can be
    // freed twice and this is the same as Clear.
    virtual void Detach();

    // point holds one coordinate per dimension. Called in tight loops: no override allocates.
    virtual double Membership(const double* point) const = 0;
    // One-dimensional sets only.
    double Membership(double x) const { return Membership(&x); }

    // The ends of dimension 0. The setters return x; parametric shapes move their parameters
    // along. All four throw std::logic_error when the set has no universe.
    virtual double SetLowerBound(double x);
    virtual double SetUpperBound(double x);
    virtual double GetLowerBound() const;
    virtual double GetUpperBound() const;

    // A new set of sizes[k] samples in dimension k, on a copy of the universe, sampled in flat
    // order (dimension 0 fastest). Throws std::invalid_argument for a size below 1 or a wrong
    // count of sizes.
    virtual std::unique_ptr<CFuzzyDiscreteSet> ToDiscrete(std::span<const int> sizes) const;
    // One-dimensional sets. (An override of the form above would hide this one.)
    std::unique_ptr<CFuzzyDiscreteSet> ToDiscrete(int samples) const;

    virtual CAlphaCut AlphaCut(double level) const = 0;
    // A set of count cuts over [lo, hi] of dimension 0, at the given increasing levels or, when
    // none are given, at (i + 1) / count.
    virtual std::unique_ptr<CFuzzyACutSet> ToAlphaCuts(int count,
                                                       std::span<const double> levels = {}) const;

    bool HasUniverse() const { return universe_ != nullptr; }
    // Throws std::logic_error when the set has no universe.
    const CUniverse& Universe() const;
    int Dimensions() const { return universe_ ? universe_->Dimensions() : 0; }

  protected:
    CFuzzySet() = default;
    explicit CFuzzySet(std::shared_ptr<CUniverse> universe) : universe_(std::move(universe)) {}
    // A copy gets a universe of its own.
    CFuzzySet(const CFuzzySet& other);

    CUniverse& MutableUniverse();

    std::shared_ptr<CUniverse> universe_;
};
