#include "core/sets/CAlphaCut.h"

#include <stdexcept>

CAlphaCut::CAlphaCut(double lo, double hi) : boxCount_(1), intervals_{Interval{lo, hi}} {}

CAlphaCut CAlphaCut::EmptyBoxes(int boxCount, int dimensions) {
    if (boxCount < 0 || dimensions < 1) {
        throw std::invalid_argument("an alpha-cut needs a box count >= 0 and dimensions >= 1");
    }
    CAlphaCut cut;
    cut.dimensions_ = dimensions;
    cut.boxCount_ = boxCount;
    cut.intervals_.assign(static_cast<std::size_t>(boxCount) * dimensions, Interval{1.0, -1.0});
    return cut;
}

bool CAlphaCut::Contains(const double* point) const {
    for (int box = 0; box < boxCount_; ++box) {
        const Interval* ranges = &intervals_[box * dimensions_];
        int dimension = 0;
        while (dimension < dimensions_ && point[dimension] >= ranges[dimension].lo &&
               point[dimension] <= ranges[dimension].hi) {
            ++dimension;
        }
        if (dimension == dimensions_)
            return true;
    }
    return false;
}
