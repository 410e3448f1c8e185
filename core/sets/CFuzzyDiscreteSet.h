#pragma once

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "core/sets/CFuzzySet.h"
#include "core/sets/CTempBase.h"

// A membership function sampled on a regular grid. Sample i of dimension k lies at
// lo_k + i * (hi_k - lo_k) / (s_k - 1); the multi-index (i_0, ..., i_(d-1)) is stored at the flat
// index i_0 + s_0 * (i_1 + s_1 * (i_2 + ...)), dimension 0 fastest.
//
// A set stores all Count() samples, or none (then every sample reads 0). The compressed form
// (CCompressedFuzzyDiscreteSet) stores only the run from its first to its last nonzero sample;
// Sample() and everything built on it read both forms.
class CFuzzyDiscreteSet : public CFuzzySet, public CTempBase {
  public:
    CFuzzyDiscreteSet() = default;
    // One dimension of values.size() samples over [lo, hi]. Throws std::invalid_argument when
    // values is empty.
    CFuzzyDiscreteSet(std::vector<double> values, double lo, double hi);
    // sizes: one per dimension of the universe (copied); values: the product of the sizes of
    // them, or none. Throws std::invalid_argument when the counts do not fit.
    CFuzzyDiscreteSet(std::vector<int> sizes, std::vector<double> values,
                      const CUniverse& universe);
    // A deep copy holding all samples; not temporary.
    CFuzzyDiscreteSet(const CFuzzyDiscreteSet& other);

    std::string_view GetTypeName() const override { return "discrete"; }
    std::unique_ptr<CFuzzySet> Clone() const override;
    void Clear() override;
    void Detach() override;
    using CFuzzySet::Membership;
    // One dimension: linear interpolation between neighbouring samples. Several: the nearest
    // sample. Points outside the universe read the nearest end.
    double Membership(const double* point) const override;
    // The box [0, 1] whatever the level.
    CAlphaCut AlphaCut(double level) const override;

    // Copies Count() samples, or holds none when values is empty. Throws std::invalid_argument
    // for any other length.
    virtual void SetValues(std::span<const double> values);
    // index holds one index per dimension.
    virtual double ValueAt(const int* index) const;
    // The first flat index whose sample is above 0, or Count() when none is.
    virtual int FirstNonZero() const;
    // The last flat index whose sample is above 0, or -1 when none is.
    virtual int LastNonZero() const;
    // Advances index like an odometer, dimension 0 fastest; false after the last index (which
    // wraps to all zeros).
    virtual bool NextIndex(int* index) const;
    // Becomes a copy of a lent set.
    virtual void Assign(const CFuzzyDiscreteSet& source);
    // Takes over a handed-over set: its universe and its very sample buffer (a compressed source
    // is expanded); the source is destroyed.
    virtual void Assign(std::unique_ptr<CFuzzyDiscreteSet> source);
    // Takes the source's universe, sizes and samples, leaving it empty.
    virtual void AdoptData(CFuzzyDiscreteSet&& source);
    virtual double SumOfValues() const;
    virtual double SumOfSquares() const;

    int Count() const { return count_; }
    std::span<const int> Sizes() const { return sizes_; }
    // Sample at a flat index; 0 where nothing is stored.
    double Sample(int flatIndex) const {
        const auto stored = static_cast<std::size_t>(flatIndex - storedFrom_);
        return stored < values_.size() ? values_[stored] : 0.0;
    }
    // One dimension of samples over [lo, hi] at x, as Membership reads it; sample(i) gives
    // sample i. Shared with the inference, which reads the samples without a virtual call.
    template <class SampleAt>
    static double Interpolate(const SampleAt& sample, int samples, double lo, double hi, double x) {
        const double t = (samples - 1) * (x - lo) / (hi - lo);
        // Also catches NaN; at t = 0 the interpolation below gives sample 0 as well.
        if (!(t > 0))
            return sample(0);
        if (t >= samples - 1)
            return sample(samples - 1);
        const int k = static_cast<int>(t);  // floor, as t > 0
        const double f = t - k;
        return sample(k + 1) * f + (1 - f) * sample(k);
    }

    // The stored samples: all Count() of them, none, or in the compressed form the run that
    // starts at FirstNonZero().
    std::span<const double> Values() const { return values_; }
    std::span<double> Values() { return values_; }

  protected:
    // The stored samples expanded to all Count() of them (or none).
    std::vector<double> AllValues() const;

    std::vector<int> sizes_;
    std::vector<double> values_;
    int count_ = 0;
    int storedFrom_ = 0;  // flat index of values_[0]; nonzero only in the compressed form
};
