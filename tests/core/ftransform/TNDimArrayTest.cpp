#include "core/ftransform/TNDimArray.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

std::vector<std::vector<int>> Visit(TNDimArray& array) {
    std::vector<std::vector<int>> visited;
    for (array.ResetIndex(); !array.AtEnd() && visited.size() < 100; array.NextIndex()) {
        visited.emplace_back(array.CurrentIndex().begin(), array.CurrentIndex().end());
    }
    return visited;
}

TEST(TNDimArray, FirstIndexRunsFastestInPositionsAndIteration) {
    TNDimArray array({3, 2});
    EXPECT_EQ(array.Total(), 6);
    EXPECT_EQ(array.LinearIndex(std::vector{2, 0}), 2);
    EXPECT_EQ(array.LinearIndex(std::vector{0, 1}), 3);
    EXPECT_EQ(array.Set(std::vector{2, 1}, 7.5), 5);
    EXPECT_EQ(array.Data()[5], 7.5);
    EXPECT_EQ(Visit(array),
              (std::vector<std::vector<int>>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}));
    EXPECT_TRUE(array.AtEnd());
    EXPECT_EQ(array.CurrentIndex()[1], 0);
    EXPECT_EQ(TNDimArray({2, 3, 4}).LinearIndex(std::vector{1, 2, 3}), 1 + 2 * (2 + 3 * 3));
}

TEST(TNDimArray, DegenerateShapesIterateSafelyAndBadOnesAreRefused) {
    TNDimArray empty({3, 0});
    EXPECT_EQ(empty.Total(), 0);
    EXPECT_TRUE(Visit(empty).empty());
    TNDimArray scalar(std::vector<int>{});
    EXPECT_EQ(Visit(scalar).size(), 1u);
    EXPECT_THROW(TNDimArray({2, -1}), std::invalid_argument);
    EXPECT_THROW(TNDimArray({65536, 65536}), std::length_error);
}

}  // namespace
