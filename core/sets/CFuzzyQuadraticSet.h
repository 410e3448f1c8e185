#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "core/sets/CFuzzyParamSet.h"

// A set with S-shaped (piecewise quadratic) shoulders: support [LeftSupp, RightSupp], kernel
// [LeftKernel, RightKernel], degree 0.5 at LeftEquilib and RightEquilib. The meanings of
// evaluative expressions are of this shape.
class CFuzzyQuadraticSet : public CFuzzyParamSet {
  public:
    // All parameters 0, to be set with SetParams.
    CFuzzyQuadraticSet(double lo, double hi);
    CFuzzyQuadraticSet(double leftSupp, double leftEquilib, double leftKernel, double rightKernel,
                       double rightEquilib, double rightSupp, double lo, double hi);

    std::string_view GetTypeName() const override { return "quadratic"; }
    std::unique_ptr<CFuzzySet> Clone() const override;
    using CFuzzySet::Membership;
    double Membership(const double* point) const override;
    CAlphaCut AlphaCut(double level) const override;
    int ParamCount() const override { return 6; }
    void GetParams(std::span<double> out) const override;
    void SetParams(std::span<const double> params) override;

  protected:
    void MoveParams(const BoundsChange& change) override;

  private:
    double leftSupp_ = 0.0;
    double leftEquilib_ = 0.0;
    double leftKernel_ = 0.0;
    double rightKernel_ = 0.0;
    double rightEquilib_ = 0.0;
    double rightSupp_ = 0.0;
};
