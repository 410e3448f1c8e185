#include "core/ftransform/TNDimArray.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace {

std::size_t ElementCount(const std::vector<int>& sizes) {
    std::int64_t total = 1;
    for (const int size : sizes) {
        if (size < 0) {
            throw std::invalid_argument("TNDimArray: negative size " + std::to_string(size));
        }
        total *= size;
        if (total > INT_MAX)
            throw std::length_error("TNDimArray: too many elements");
    }
    return static_cast<std::size_t>(total);
}

}  // namespace

TNDimArray::TNDimArray(std::vector<int> sizes)
    : sizes_(std::move(sizes)), data_(ElementCount(sizes_)), current_(sizes_.size(), 0) {
    atEnd_ = data_.empty();
}

int TNDimArray::LinearIndex(std::span<const int> index) const {
    int position = 0;
    for (std::size_t d = sizes_.size(); d-- > 0;)
        position = position * sizes_[d] + index[d];
    return position;
}

int TNDimArray::Set(std::span<const int> index, double value) {
    const int position = LinearIndex(index);
    data_[position] = value;
    return position;
}

void TNDimArray::Clear() {
    std::fill(data_.begin(), data_.end(), 0.0);
}

std::span<const int> TNDimArray::ResetIndex() {
    std::fill(current_.begin(), current_.end(), 0);
    atEnd_ = data_.empty();
    return current_;
}

std::span<const int> TNDimArray::NextIndex() {
    // With no dimensions the one element has been visited.
    if (current_.empty())
        atEnd_ = true;
    for (std::size_t d = 0; d < current_.size(); ++d) {
        if (++current_[d] < sizes_[d])
            break;
        current_[d] = 0;
        if (d + 1 == current_.size())
            atEnd_ = true;
    }
    return current_;
}
