#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// What the perception-based deduction made of a selection of rules, kept for the length of one
// sweep. The deduction selects few rules, most often one, and the output set depends on nothing
// but those rules and their firing degrees; along a sweep's grid each degree is the least of
// per-input degrees and takes few distinct values, so most points repeat a selection seen
// before. Degrees are compared bit for bit and a selection not found is inferred as always, so
// what is kept never changes a result.
class SelectionMemo {
  public:
    // Selections of more rules are not kept.
    static constexpr int kMaxRules = 4;

    // The value kept for the rules selected[0 .. count) at their firing degrees, or null.
    const double* Find(const int* selected, int count, const double* firing);
    // Keeps the value of the selection last looked up and not found.
    void Keep(double value);

  private:
    struct Entry {
        std::array<std::uint64_t, kMaxRules> degrees{};
        std::array<std::int32_t, kMaxRules> rules{};
        // -1 marks a free slot.
        std::int32_t count = -1;
        double value = 0.0;

        bool SameSelection(const Entry& other) const {
            return count == other.count && rules == other.rules && degrees == other.degrees;
        }
    };

    std::size_t SlotOf(const Entry& key) const;
    void Grow();

    // Open addressing in a table of a power-of-two size, at most half full.
    std::vector<Entry> slots_;
    std::size_t used_ = 0;
    // The selection of the last Find, until Keep.
    Entry pending_;
    bool pendingKeepable_ = false;
};
