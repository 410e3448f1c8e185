#include "core/inference/SelectionMemo.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Selections of one to kMaxRules rules with made-up degrees, far more than the memo keeps: every
// value found must be the one kept for that very selection, through growth and once full.
TEST(SelectionMemo, FindsOnlyWhatWasKeptForTheSameSelection) {
    SelectionMemo memo;
    std::vector<double> firing(64);
    std::vector<int> selected(SelectionMemo::kMaxRules + 1);
    const auto select = [&](int key) {
        const int count = 1 + key % SelectionMemo::kMaxRules;
        for (int i = 0; i < count; ++i) {
            selected[i] = (key / 7 + 5 * i) % 64;
            firing[selected[i]] = 0.5 + (key % 1000) * 1e-4 + i * 1e-6;
        }
        return count;
    };
    int kept = 0;
    for (int key = 0; key < 20000; ++key) {
        const int count = select(key);
        if (const double* found = memo.Find(selected.data(), count, firing.data())) {
            ADD_FAILURE() << "selection " << key << " found before it was kept: " << *found;
            continue;
        }
        memo.Keep(key);
    }
    for (int key = 0; key < 20000; ++key) {
        const int count = select(key);
        if (const double* found = memo.Find(selected.data(), count, firing.data())) {
            EXPECT_EQ(*found, key);
            ++kept;
        }
    }
    EXPECT_GT(kept, 4000);
    EXPECT_LT(kept, 20000);

    // The same rules at another degree, even one differing only in sign, are another selection.
    selected[0] = 3;
    firing[3] = 0.0;
    memo = SelectionMemo();
    memo.Find(selected.data(), 1, firing.data());
    memo.Keep(1.0);
    firing[3] = -0.0;
    EXPECT_EQ(memo.Find(selected.data(), 1, firing.data()), nullptr);
    // Too many rules: never kept.
    for (int i = 0; i <= SelectionMemo::kMaxRules; ++i)
        selected[i] = i;
    EXPECT_EQ(memo.Find(selected.data(), SelectionMemo::kMaxRules + 1, firing.data()), nullptr);
    memo.Keep(2.0);
    EXPECT_EQ(memo.Find(selected.data(), SelectionMemo::kMaxRules + 1, firing.data()), nullptr);
}

}  // namespace
