#pragma once

#include <vector>

#include "core/sets/CUniverse.h"

// One alpha-cut of a fuzzy set: a union of boxes, each the product of one interval per
// dimension. A cut without boxes contains nothing.
class CAlphaCut {
  public:
    using Interval = CUniverse::Interval;

    CAlphaCut() = default;
    // One box of one dimension.
    CAlphaCut(double lo, double hi);
    // boxCount boxes whose intervals are all empty ([1, -1]) until the caller sets them. A named
    // factory rather than a constructor, so that CAlphaCut(0, 1) cannot silently mean "no boxes".
    static CAlphaCut EmptyBoxes(int boxCount, int dimensions);

    int BoxCount() const { return boxCount_; }
    int Dimensions() const { return dimensions_; }
    const Interval& At(int box, int dimension) const {
        return intervals_[box * dimensions_ + dimension];
    }
    Interval& At(int box, int dimension) { return intervals_[box * dimensions_ + dimension]; }

    // point holds Dimensions() coordinates; both ends of every interval belong to the box.
    bool Contains(const double* point) const;

    bool operator==(const CAlphaCut&) const = default;

  private:
    int dimensions_ = 1;
    int boxCount_ = 0;
    std::vector<Interval> intervals_;  // box after box, Dimensions() intervals each
};
