#pragma once

#include <algorithm>
#include <cassert>
#include <memory>
#include <utility>

// Growable array with the core's growth rule: the first allocation is exact; later ones add the
// growth step, or, when none is set, size / 8 bounded to [4, 1024]. Elements are held by value,
// so an array of std::unique_ptr owns its elements and an array of raw pointers does not.
template <class T, class Arg = const T&>
class CArray {
  public:
    CArray() = default;
    CArray(const CArray& other) { CopyFrom(other); }
    CArray& operator=(const CArray& other) {
        if (this != &other) {
            RemoveAll();
            CopyFrom(other);
        }
        return *this;
    }
    CArray(CArray&& other) noexcept { Swap(other); }
    CArray& operator=(CArray&& other) noexcept {
        CArray(std::move(other)).Swap(*this);
        return *this;
    }
    ~CArray() = default;

    int GetSize() const { return size_; }
    int GetCapacity() const { return capacity_; }
    int GetGrowBy() const { return growBy_; }

    // growBy -1 keeps the stored growth step.
    void SetSize(int newSize, int growBy = -1);
    void RemoveAll() { SetSize(0, -1); }

    // No range test: the caller keeps 0 <= i < GetSize().
    T& ElementAt(int i) {
        assert(i >= 0 && i < size_);
        return data_[i];
    }
    const T& ElementAt(int i) const {
        assert(i >= 0 && i < size_);
        return data_[i];
    }
    T& operator[](int i) { return ElementAt(i); }
    const T& operator[](int i) const { return ElementAt(i); }

    void SetAtGrow(int i, Arg value) {
        if (i >= size_)
            SetSize(i + 1, -1);
        data_[i] = std::forward<Arg>(value);
    }
    // Returns the index of the new element.
    int Add(Arg value) {
        const int index = size_;
        SetAtGrow(index, std::forward<Arg>(value));
        return index;
    }
    // Removes count elements from index; capacity and storage stay.
    void RemoveAt(int index, int count = 1);

    T* begin() { return data_.get(); }
    T* end() { return data_.get() + size_; }
    const T* begin() const { return data_.get(); }
    const T* end() const { return data_.get() + size_; }

    void Swap(CArray& other) noexcept {
        std::swap(data_, other.data_);
        std::swap(size_, other.size_);
        std::swap(capacity_, other.capacity_);
        std::swap(growBy_, other.growBy_);
    }

  private:
    void CopyFrom(const CArray& other) {
        growBy_ = other.growBy_;
        if (other.size_ == 0)
            return;
        SetSize(other.size_);
        std::copy(other.begin(), other.end(), begin());
    }

    std::unique_ptr<T[]> data_;
    int size_ = 0;
    int capacity_ = 0;
    int growBy_ = 0;
};

template <class T, class Arg>
void CArray<T, Arg>::SetSize(int newSize, int growBy) {
    if (growBy != -1)
        growBy_ = growBy;
    if (newSize <= 0) {
        data_.reset();
        size_ = capacity_ = 0;
        return;
    }
    if (!data_) {
        data_ = std::make_unique<T[]>(newSize);
        size_ = capacity_ = newSize;
        return;
    }
    if (newSize <= capacity_) {
        // Growing within capacity clears the new slots; shrinking releases what the
        // dropped slots held (for owning element types).
        for (int i = std::min(size_, newSize); i < std::max(size_, newSize); ++i)
            data_[i] = T();
        size_ = newSize;
        return;
    }
    // The step follows the current size, not the capacity.
    const int step = growBy_ != 0 ? growBy_ : std::clamp(size_ / 8, 4, 1024);
    const int newCapacity = std::max(capacity_ + step, newSize);
    auto fresh = std::make_unique<T[]>(newCapacity);
    std::move(data_.get(), data_.get() + size_, fresh.get());
    data_ = std::move(fresh);
    size_ = newSize;
    capacity_ = newCapacity;
}

template <class T, class Arg>
void CArray<T, Arg>::RemoveAt(int index, int count) {
    assert(index >= 0 && count >= 0 && index + count <= size_);
    std::move(data_.get() + index + count, data_.get() + size_, data_.get() + index);
    for (int i = size_ - count; i < size_; ++i)
        data_[i] = T();
    size_ -= count;
}

using CIntArray = CArray<int, int>;
using CPtrArray = CArray<void*, void*>;
// A typed view over pointers it does not own; holders that own their elements use
// CArray<std::unique_ptr<T>> instead.
template <class T>
using CTypedPtrArray = CArray<T*, T*>;
// The groups of rule indices that a rule-base check returns.
using CIntPtrArray = CArray<std::unique_ptr<CIntArray>, std::unique_ptr<CIntArray>>;
