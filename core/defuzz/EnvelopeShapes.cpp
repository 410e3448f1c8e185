#include "core/defuzz/EnvelopeShapes.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "core/defuzz/DefuzzificationMethods.h"

using enum OutputShapeCode;

namespace {

// More cuts than this go the way of the samples: the checks below compare each cut with all.
constexpr int kMostCuts = 8;

// The t-norms as the Zadeh kernels compute them (core/inference/SetKernelLoops.h), a sample at a
// time. Each is non-decreasing in the consequent's sample, and with a degree of at most 1 a
// sample of 0 gives 0. kKeepsAbove: a degree and a sample above 0 give a value above 0.
struct MinimumCut {
    static constexpr bool kKeepsAbove = true;
    double operator()(double a, double c) const { return c < a ? c : a; }
};
struct ProductCut {
    static constexpr bool kKeepsAbove = false;  // products of tiny degrees and samples round to 0
    double operator()(double a, double c) const { return a * c; }
};
struct LukasiewiczCut {
    static constexpr bool kKeepsAbove = false;
    double operator()(double a, double c) const {
        const double t = a + c - 1;
        return t > 0 ? t : 0.0;
    }
};

// One consequent cut by its degree: non-decreasing up to `from`, at its height over [from, to],
// below it and non-increasing after; above 0 over [first, last].
struct Cut {
    const SampleRun* run;
    double degree;
    double height;
    int first;
    int last;
    int from;
    int to;
};

// The first index in [from, to] where test holds; it fails before that index and holds at to.
// The search starts at near and widens its steps from there: a point's cuts mostly lie where
// those of the point before lay.
template <class Test>
int FirstWhere(int from, int to, int near, Test test) {
    near = std::clamp(near, from, to);
    for (int step = 1;; step *= 2) {
        if (test(near)) {
            to = near;
            near -= step;
            if (near <= from)
                break;
        } else {
            from = near + 1;
            near += step;
            if (near >= to)
                break;
        }
    }
    while (from < to) {
        const int middle = (from + to) >> 1;
        if (test(middle))
            to = middle;
        else
            from = middle + 1;
    }
    return from;
}

// The last index in [from, to] where test holds; it holds at from and fails after that index.
template <class Test>
int LastWhere(int from, int to, int near, Test test) {
    return -FirstWhere(-to, -from, -near, [&](int j) { return test(-j); });
}

// Whether sample j of the set, without cut skip, reaches height.
template <class Norm>
bool OthersReach(Norm norm, const Cut* cuts, int count, int skip, int j, double height) {
    for (int m = 0; m < count; ++m) {
        if (m != skip && norm(cuts[m].degree, (*cuts[m].run)[j]) >= height)
            return true;
    }
    return false;
}

// The middle index of the samples at the top: those of the stretches [from, to] of the cuts of
// that height, which may overlap.
int MiddleOfTop(const Cut* cuts, int count, double top) {
    int from[kMostCuts];
    int to[kMostCuts];
    int stretches = 0;
    for (int k = 0; k < count; ++k) {
        if (cuts[k].height != top)
            continue;
        // Sorted by start as they come.
        int at = stretches++;
        for (; at > 0 && from[at - 1] > cuts[k].from; --at) {
            from[at] = from[at - 1];
            to[at] = to[at - 1];
        }
        from[at] = cuts[k].from;
        to[at] = cuts[k].to;
    }
    // The samples of the union, stretch after stretch, without those counted already.
    int merged = 0;
    int reached = -1;
    for (int s = 0; s < stretches; ++s) {
        const int start = std::max(from[s], reached + 1);
        if (to[s] >= start) {
            merged += to[s] - start + 1;
            reached = to[s];
        }
    }
    int wanted = merged / 2;
    reached = -1;
    for (int s = 0; s < stretches; ++s) {
        const int start = std::max(from[s], reached + 1);
        if (to[s] < start)
            continue;
        if (wanted <= to[s] - start)
            return start + wanted;
        wanted -= to[s] - start + 1;
        reached = to[s];
    }
    return 0;
}

template <class Norm>
std::optional<double> ValueOfCuts(Norm norm, std::span<const PeakedRun> consequents,
                                  const double* degrees, const DefuzzificationGrid& grid,
                                  std::span<CutBounds> near) {
    const int n = grid.samples;
    if (n < 2)
        return std::nullopt;
    Cut cuts[kMostCuts];
    int count = 0;
    OutputShape shape{kFlatShape, n, -1, n, -1};
    double top = 0.0;
    for (std::size_t k = 0; k < consequents.size(); ++k) {
        const double a = degrees[k];
        // The kernels raise no sample with such a degree.
        if (!(a > 0))
            continue;
        const PeakedRun& c = consequents[k];
        if (!c.peaked || !(a <= 1))
            return std::nullopt;
        if (c.last < c.first)
            continue;
        const auto cut = [&](int j) { return norm(a, c.run.values[j - c.run.first]); };
        const double height = norm(a, c.peak);
        if (!(height > 0))
            continue;
        if (count == kMostCuts)
            return std::nullopt;
        Cut& made = cuts[count++];
        made.run = &c.run;
        made.degree = a;
        made.height = height;
        top = height > top ? height : top;
        CutBounds& before = near[k];
        // Points next to each other often cut a consequent at the same degree.
        if (before.degree == a) {
            made.first = before.first;
            made.last = before.last;
            made.from = before.from;
            made.to = before.to;
        } else {
            const auto above = [&](int j) { return cut(j) > 0; };
            made.first = Norm::kKeepsAbove || above(c.first)
                             ? c.first
                             : FirstWhere(c.first, c.peakFirst, before.first, above);
            made.last = Norm::kKeepsAbove || above(c.last)
                            ? c.last
                            : LastWhere(c.peakLast, c.last, before.last, above);
            const auto atHeight = [&](int j) { return cut(j) >= height; };
            made.from = made.first == c.peakFirst || !atHeight(c.peakFirst - 1)
                            ? c.peakFirst
                            : FirstWhere(made.first, c.peakFirst - 1, before.from, atHeight);
            made.to = made.last == c.peakLast || !atHeight(c.peakLast + 1)
                          ? c.peakLast
                          : LastWhere(c.peakLast + 1, made.last, before.to, atHeight);
            before = {made.first, made.last, made.from, made.to, a};
        }
        shape.p1 = std::min(shape.p1, made.first);
        shape.p2 = std::max(shape.p2, made.last);
    }

    if (count == 0)
        return SimpleLinguisticShapeValue({kFlatShape, 0, n - 1, 0, n - 1}, 0, grid);
    // Otherwise the least sample may be above 0.
    if (shape.p1 == 0 && shape.p2 == n - 1)
        return std::nullopt;
    for (int k = 0; k < count; ++k) {
        if (cuts[k].height == top) {
            shape.p3 = std::min(shape.p3, cuts[k].from);
            shape.p4 = std::max(shape.p4, cuts[k].to);
        }
    }
    const auto atTop = [&](int j) {
        for (int k = 0; k < count; ++k) {
            if (cuts[k].height == top && cuts[k].from <= j && j <= cuts[k].to)
                return true;
        }
        return false;
    };

    shape.code = kOtherShape;
    const int mid = n / 2;
    if (shape.p1 == shape.p2) {
        shape.code = kOnePointShape;
    } else if (grid.symmetric && atTop(mid)) {
        // Level below the middle where the set is 0 there, not where it rises from 0 there.
        if (shape.p1 >= mid || mid <= 1)
            shape.code = kFallingShape;
        else if (shape.p1 == 0)
            return std::nullopt;
        else if (shape.p2 <= mid || mid + 1 >= n - 1)
            shape.code = kRisingShape;
        else if (shape.p2 == n - 1)
            return std::nullopt;
    }
    if (shape.code == kOtherShape) {
        if (shape.p3 == 0) {
            shape.code = kFallingShape;
        } else if (shape.p4 == n - 1) {
            shape.code = kRisingShape;
        } else {
            // The set falls before p3 only just past the stretch of a cut that ends before it,
            // and only if no other cut is as high there; it rises after p3 likewise.
            bool singlePeak = true;
            for (int k = 0; k < count && singlePeak; ++k) {
                const Cut& c = cuts[k];
                if (c.to < shape.p3)
                    singlePeak = OthersReach(norm, cuts, count, k, c.to + 1, c.height);
                if (singlePeak && c.from > shape.p3)
                    singlePeak = OthersReach(norm, cuts, count, k, c.from - 1, c.height);
            }
            if (singlePeak)
                shape.code = kSinglePeakShape;
        }
    }
    const int middle = shape.code == kOtherShape ? MiddleOfTop(cuts, count, top) : 0;
    return SimpleLinguisticShapeValue(shape, middle, grid);
}

}  // namespace

PeakedRun PeakedRunOf(const SampleRun& run, int n) {
    PeakedRun made;
    const int end = run.end < n ? run.end : n;
    made.run = {run.values, run.first, end > run.first ? end : run.first};
    if (run.first < 0)
        return made;
    const auto values = [&](int j) { return run.values[j - run.first]; };
    for (int j = run.first; j < end; ++j) {
        const double c = values(j);
        if (!(c >= 0) || !std::isfinite(c))
            return made;
        if (c > 0) {
            if (made.last < made.first)
                made.first = j;
            made.last = j;
        }
        if (c > made.peak) {
            made.peak = c;
            made.peakFirst = j;
        }
        if (c == made.peak)
            made.peakLast = j;
    }
    for (int j = made.first + 1; j <= made.peakFirst; ++j) {
        if (values(j) < values(j - 1))
            return made;
    }
    for (int j = made.peakFirst + 1; j <= made.last; ++j) {
        if (values(j) > values(j - 1))
            return made;
    }
    made.peaked = true;
    return made;
}

std::optional<double> EnvelopeLinguisticValue(SetKernel kernel,
                                              std::span<const PeakedRun> consequents,
                                              const double* degrees,
                                              const DefuzzificationGrid& grid,
                                              std::span<CutBounds> near) {
    if (near.size() < consequents.size())
        throw std::invalid_argument("one place to start from per consequent is needed");
    switch (kernel) {
        case SetKernel::kZadehMinimum:
            return ValueOfCuts(MinimumCut{}, consequents, degrees, grid, near);
        case SetKernel::kZadehProduct:
            return ValueOfCuts(ProductCut{}, consequents, degrees, grid, near);
        case SetKernel::kZadehLukasiewicz:
            return ValueOfCuts(LukasiewiczCut{}, consequents, degrees, grid, near);
        case SetKernel::kLogical:
            break;
    }
    return std::nullopt;
}
