#pragma once

#include <span>

#include "core/sets/CFuzzySet.h"

// A one-dimensional set given by a few parameters. Moving a bound of the universe maps the
// parameters affinely from the old universe onto the new one.
class CFuzzyParamSet : public CFuzzySet {
  public:
    virtual int ParamCount() const { return 0; }
    // Copies the parameters, in order, into out. Throws std::invalid_argument when out holds
    // fewer than ParamCount().
    virtual void GetParams(std::span<double> out) const;
    // Sets the parameters, in order. Throws std::invalid_argument when fewer than ParamCount()
    // are given.
    virtual void SetParams(std::span<const double> params);

    double SetLowerBound(double x) override;
    double SetUpperBound(double x) override;

  protected:
    // The affine map of a bound change from [oldLo, oldHi] onto [newLo, newHi].
    struct BoundsChange {
        double oldLo;
        double oldHi;
        double newLo;
        double newHi;

        double Position(double p) const {
            return newLo + (newHi - newLo) * (p - oldLo) / (oldHi - oldLo);
        }
        double WidthRatio() const { return (newHi - newLo) / (oldHi - oldLo); }
    };

    CFuzzyParamSet(double lo, double hi);
    CFuzzyParamSet(const CFuzzyParamSet&) = default;

    // Moves the parameters along with the universe.
    virtual void MoveParams(const BoundsChange&) {}
    void CheckParamSpan(std::size_t size) const;

  private:
    void MoveBounds(double newLo, double newHi);
};
