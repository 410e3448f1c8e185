#include "core/inference/SelectionMemo.h"

#include <bit>

namespace {

// A sweep meets a few hundred selections, a filter's grid a few thousand; beyond 8,192 (a table
// of 1 MB per worker) the rest are inferred each time.
constexpr std::size_t kFirstSize = 256;
constexpr std::size_t kLargestSize = std::size_t{1} << 14;

std::uint64_t Mix(std::uint64_t h, std::uint64_t x) {
    h ^= x + 0x9e3779b97f4a7c15 + (h << 6) + (h >> 2);
    return h;
}

}  // namespace

const double* SelectionMemo::Find(const int* selected, int count, const double* firing) {
    pendingKeepable_ = count <= kMaxRules;
    if (!pendingKeepable_)
        return nullptr;
    pending_ = Entry{};
    pending_.count = count;
    for (int i = 0; i < count; ++i) {
        pending_.rules[i] = selected[i];
        pending_.degrees[i] = std::bit_cast<std::uint64_t>(firing[selected[i]]);
    }
    if (slots_.empty())
        return nullptr;
    const Entry& slot = slots_[SlotOf(pending_)];
    return slot.count >= 0 ? &slot.value : nullptr;
}

void SelectionMemo::Keep(double value) {
    if (!pendingKeepable_)
        return;
    pendingKeepable_ = false;
    if (2 * (used_ + 1) > slots_.size()) {
        if (slots_.size() >= kLargestSize)
            return;
        Grow();
    }
    Entry& slot = slots_[SlotOf(pending_)];
    if (slot.count >= 0)
        return;
    slot = pending_;
    slot.value = value;
    ++used_;
}

// The slot holding the key's selection, or the free slot where it would go.
std::size_t SelectionMemo::SlotOf(const Entry& key) const {
    std::uint64_t h = static_cast<std::uint64_t>(key.count);
    for (int i = 0; i < key.count; ++i)
        h = Mix(Mix(h, static_cast<std::uint64_t>(key.rules[i])), key.degrees[i]);
    h ^= h >> 33;
    h *= 0xff51afd7ed558ccd;
    h ^= h >> 33;
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = h & mask;; i = (i + 1) & mask) {
        const Entry& slot = slots_[i];
        if (slot.count < 0 || slot.SameSelection(key))
            return i;
    }
}

void SelectionMemo::Grow() {
    std::vector<Entry> old(slots_.empty() ? kFirstSize : 2 * slots_.size());
    old.swap(slots_);
    for (const Entry& entry : old) {
        if (entry.count >= 0)
            slots_[SlotOf(entry)] = entry;
    }
}
