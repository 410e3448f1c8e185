#pragma once

#include <memory>
#include <span>
#include <string_view>

#include "core/sets/CFuzzyParamSet.h"

// Kernel [k1, k2] with Gaussian flanks exp(-d^2 / spread) on either side.
class CFuzzyGaussianSet : public CFuzzyParamSet {
  public:
    // All parameters 0, to be set with SetParams.
    CFuzzyGaussianSet(double lo, double hi);
    CFuzzyGaussianSet(double leftSpread, double leftKernel, double rightKernel, double rightSpread,
                      double lo, double hi);

    std::string_view GetTypeName() const override { return "gaussian"; }
    std::unique_ptr<CFuzzySet> Clone() const override;
    using CFuzzySet::Membership;
    double Membership(const double* point) const override;
    // The kernel at every level.
    CAlphaCut AlphaCut(double level) const override;
    int ParamCount() const override { return 4; }
    void GetParams(std::span<double> out) const override;
    void SetParams(std::span<const double> params) override;

  protected:
    // The spreads scale with the width of the universe, not with its square.
    void MoveParams(const BoundsChange& change) override;

  private:
    double leftSpread_ = 0.0;
    double leftKernel_ = 0.0;
    double rightKernel_ = 0.0;
    double rightSpread_ = 0.0;
};
