#pragma once

#include <span>
#include <vector>

// Dense array of doubles over n dimensions, first index fastest: (i0, i1, ..., i(n-1)) lies at
// i0 + s0 * (i1 + s1 * (i2 + ...)). Carries one odometer-style iteration index:
//   for (a.ResetIndex(); !a.AtEnd(); a.NextIndex()) use(a.Get());
class TNDimArray {
  public:
    // Elements start at 0.0. Throws std::invalid_argument for a negative size and
    // std::length_error when the element count does not fit in an int. A size of 0 gives an
    // array without elements; no dimensions give one element.
    explicit TNDimArray(std::vector<int> sizes);

    int Dimensions() const { return static_cast<int>(sizes_.size()); }
    int Total() const { return static_cast<int>(data_.size()); }
    std::span<const int> Sizes() const { return sizes_; }

    // No range test: the caller keeps every index[d] within [0, Sizes()[d]).
    int LinearIndex(std::span<const int> index) const;
    double Get(std::span<const int> index) const { return data_[LinearIndex(index)]; }
    // Stores the value and returns its linear position.
    int Set(std::span<const int> index, double value);

    // Elements in linear order.
    std::span<double> Data() { return data_; }
    std::span<const double> Data() const { return data_; }

    void Clear();

    // Iteration: the current index starts at all zeros; AtEnd() turns true after the last
    // element (at once for an array without elements), when the index is all zeros again.
    std::span<const int> ResetIndex();
    std::span<const int> NextIndex();
    std::span<const int> CurrentIndex() const { return current_; }
    bool AtEnd() const { return atEnd_; }
    double Get() const { return Get(current_); }

  private:
    std::vector<int> sizes_;
    std::vector<double> data_;
    std::vector<int> current_;
    bool atEnd_ = false;
};
