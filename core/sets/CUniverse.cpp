#include "core/sets/CUniverse.h"

#include <stdexcept>

CUniverse::CUniverse(double lo, double hi, int dimensions) {
    if (dimensions < 1)
        throw std::invalid_argument("a universe needs at least one dimension");
    intervals_.assign(dimensions, Interval{lo, hi});
}

CUniverse::CUniverse(std::span<const Interval> intervals)
    : intervals_(intervals.begin(), intervals.end()) {
    if (intervals_.empty())
        throw std::invalid_argument("a universe needs at least one dimension");
}
