#pragma once

#include <initializer_list>

// A set of values of a small enumeration (at most 32 values), as the class library's set types.
template <class E>
class TEnumSet {
  public:
    constexpr TEnumSet() = default;
    constexpr TEnumSet(std::initializer_list<E> values) {
        for (E value : values)
            bits_ |= Bit(value);
    }

    constexpr bool Contains(E value) const { return (bits_ & Bit(value)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr void Include(E value) { bits_ |= Bit(value); }
    constexpr void Exclude(E value) { bits_ &= ~Bit(value); }

    friend constexpr bool operator==(TEnumSet, TEnumSet) = default;

  private:
    static constexpr unsigned Bit(E value) { return 1u << static_cast<unsigned>(value); }

    unsigned bits_ = 0;
};
