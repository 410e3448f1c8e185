#pragma once

#include "core/math/NumericUtils.h"

#include <cmath>

// Uniform partition of [low, high] into n equal steps; node k lies at low + k * Step().
class TPartition {
  public:
    TPartition(double low, double high, int n) : low_(low), high_(high), n_(n) {}

    double Low() const { return low_; }
    double High() const { return high_; }
    int Steps() const { return n_; }
    double Step() const { return (high_ - low_) / n_; }
    double Node(int k) const { return low_ + k * Step(); }

    // Index of the node at or below x, with x clamped into [low, high] first: 0 below the
    // interval, n at its upper end and above. An empty or reversed interval gives 0. The interval
    // must be finite.
    int NodeBelow(double x) const {
        const double clamped = Clamp(low_, x, high_);
        if (clamped >= high_)
            return high_ > low_ ? n_ : 0;
        return static_cast<int>(std::floor(n_ * (clamped - low_) / (high_ - low_)));
    }

  private:
    double low_;
    double high_;
    int n_;
};
