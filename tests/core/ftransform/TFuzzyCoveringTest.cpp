#include "core/ftransform/TFuzzyCovering.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

namespace {

TEST(TFuzzyCovering, AxesThatCannotBePartitionedAreRefused) {
    const FTDimensionSettings refused[] = {{0.0, 1.0, 0, ftTriangular},
                                           {2.0, 2.0, 10, ftTriangular},
                                           {3.0, 1.0, 10, ftTriangular},
                                           {0.0, INFINITY, 10, ftSinusoidal},
                                           {0.0, 1.0, 10, 4}};
    for (const FTDimensionSettings& settings : refused) {
        EXPECT_THROW(TFuzzyCovering{settings}, std::invalid_argument) << settings.high;
    }
    try {
        TFuzzyCovering{FTDimensionSettings{0.0, 1.0, 1, ftTriangular}};
        ADD_FAILURE() << "one node accepted";
    } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "F-transform: an axis needs at least 2 nodes, not 1");
    }
}

}  // namespace
