#pragma once

#include <span>
#include <vector>

// The box over which a fuzzy set is defined: one closed interval per dimension (a variable's
// context is a one-dimensional universe).
class CUniverse {
  public:
    struct Interval {
        double lo;
        double hi;
        bool operator==(const Interval&) const = default;
    };

    // dimensions intervals, each [lo, hi]. Throws std::invalid_argument for fewer than one.
    CUniverse(double lo, double hi, int dimensions = 1);
    // The intervals in order (the product universe of a Cartesian product is built this way).
    explicit CUniverse(std::span<const Interval> intervals);

    int Dimensions() const { return static_cast<int>(intervals_.size()); }
    const Interval& At(int dimension) const { return intervals_[dimension]; }
    Interval& At(int dimension) { return intervals_[dimension]; }
    std::span<const Interval> Intervals() const { return intervals_; }

    bool operator==(const CUniverse&) const = default;

  private:
    std::vector<Interval> intervals_;
};
