#include "core/containers/CArray.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> CapacitiesWhileAdding(int count) {
    CIntArray array;
    std::vector<int> capacities;
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(array.Add(i), i);
        capacities.push_back(array.GetCapacity());
    }
    return capacities;
}

TEST(CArrayGrowth, FirstAllocationIsExactThenSizeOverEightBoundedToFourAnd1024) {
    const std::vector<int> capacities = CapacitiesWhileAdding(10);
    EXPECT_EQ(capacities, (std::vector<int>{1, 5, 5, 5, 5, 9, 9, 9, 9, 13}));

    CIntArray eighty;
    eighty.SetSize(80);
    eighty.Add(0);
    EXPECT_EQ(eighty.GetCapacity(), 90);

    CIntArray large;
    large.SetSize(10000);
    large.Add(0);
    EXPECT_EQ(large.GetCapacity(), 10000 + 1024);
}

TEST(CArrayGrowth, StoredStepAndLargeJumps) {
    CIntArray array;
    array.SetSize(3, 100);
    array.SetSize(4);
    EXPECT_EQ(array.GetCapacity(), 103);
    array.SetSize(500);
    EXPECT_EQ(array.GetCapacity(), 500);  // the requested size beats capacity + step
}

TEST(CArray, SetAtGrowClearsTheGap) {
    CTypedPtrArray<int> array;
    int value = 7;
    array.SetAtGrow(7, &value);
    ASSERT_EQ(array.GetSize(), 8);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(array[i], nullptr);
    EXPECT_EQ(array[7], &value);
}

TEST(CArray, ShrinkKeepsStorageAndRegrowClearsSlots) {
    CIntArray array;
    for (int i = 1; i <= 5; ++i)
        array.Add(i);
    array.SetSize(2);
    EXPECT_EQ(array.GetCapacity(), 5);
    array.SetSize(4);
    EXPECT_EQ(array[1], 2);
    EXPECT_EQ(array[2], 0);
    EXPECT_EQ(array[3], 0);
    array.RemoveAll();
    EXPECT_EQ(array.GetSize(), 0);
    EXPECT_EQ(array.GetCapacity(), 0);
}

TEST(CArray, RemoveAtMovesTheTailDown) {
    CIntArray array;
    for (int i = 0; i < 6; ++i)
        array.Add(i);
    array.RemoveAt(1, 2);
    EXPECT_EQ(std::vector<int>(array.begin(), array.end()), (std::vector<int>{0, 3, 4, 5}));
    EXPECT_EQ(array.GetCapacity(), 9);
    array.RemoveAt(2, 2);  // at the end: nothing moves
    EXPECT_EQ(std::vector<int>(array.begin(), array.end()), (std::vector<int>{0, 3}));
}

TEST(CArray, OwningElementsAreReleasedOnShrinkAndRemove) {
    CIntPtrArray groups;
    groups.Add(std::make_unique<CIntArray>());
    groups.Add(std::make_unique<CIntArray>());
    groups[1]->Add(42);
    groups.RemoveAt(0);
    ASSERT_EQ(groups.GetSize(), 1);
    EXPECT_EQ(groups[0]->ElementAt(0), 42);
    groups.SetSize(0);  // the sanitized build proves nothing leaks
}

}  // namespace
