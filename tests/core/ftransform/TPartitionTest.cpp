#include "core/ftransform/TPartition.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <utility>

namespace {

TEST(TPartition, NodeBelowClampsThenFloors) {
    const TPartition partition(0.0, 1.0, 4);
    const std::pair<double, int> cases[] = {{0.3, 1}, {0.25, 1}, {1.0, 4}, {-2.0, 0}, {7.0, 4}};
    for (const auto& [x, node] : cases)
        EXPECT_EQ(partition.NodeBelow(x), node) << x;
    EXPECT_EQ(partition.NodeBelow(std::nan("")), 0);
    EXPECT_EQ(TPartition(2.0, 2.0, 5).NodeBelow(3.0), 0);  // no division by an empty width
}

TEST(TPartition, NodesCoverTheInterval) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        const double low = -1000.0 + 2000.0 * unit(random);
        const double high = low + 1e-3 + 1000.0 * unit(random);
        const TPartition partition(low, high, 1 + trial);
        const int n = partition.Steps();
        const double slack = (high - low) * 1e-12;
        EXPECT_NEAR(partition.Node(n), high, slack);
        EXPECT_EQ(partition.NodeBelow(high), n);
        const double x = low + (high - low) * unit(random);
        const int k = partition.NodeBelow(x);
        ASSERT_TRUE(k >= 0 && k <= n) << k;
        EXPECT_LE(partition.Node(k), x + slack) << "trial " << trial;
        EXPECT_GE(partition.Node(k + 1), x - slack) << "trial " << trial;
    }
}

}  // namespace
