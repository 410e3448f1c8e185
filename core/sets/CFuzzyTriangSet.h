#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "core/sets/CFuzzyParamSet.h"

// A triangle: support [a, c], peak b.
class CFuzzyTriangSet : public CFuzzyParamSet {
  public:
    // All parameters 0, to be set with SetParams.
    CFuzzyTriangSet(double lo, double hi);
    CFuzzyTriangSet(double a, double b, double c, double lo, double hi);

    std::string_view GetTypeName() const override { return "triang"; }
    std::unique_ptr<CFuzzySet> Clone() const override;
    using CFuzzySet::Membership;
    double Membership(const double* point) const override;
    CAlphaCut AlphaCut(double level) const override;
    int ParamCount() const override { return 3; }
    void GetParams(std::span<double> out) const override;
    void SetParams(std::span<const double> params) override;

  protected:
    void MoveParams(const BoundsChange& change) override;

  private:
    double a_ = 0.0;
    double b_ = 0.0;
    double c_ = 0.0;
};
