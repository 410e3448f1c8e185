#include "core/math/NumericUtils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

TEST(NumericUtils, ClampAndMidpoint) {
    EXPECT_EQ(Clamp(0, 5, 1), 1.0);
    EXPECT_EQ(Clamp(0, -1, 1), 0.0);
    EXPECT_EQ(Clamp(0, 0.5, 1), 0.5);
    EXPECT_EQ(Clamp(0, std::nan(""), 1), 0.0);
    EXPECT_EQ(Midpoint(-1, 4), 1.5);
}

TEST(FormatNumber, ThreeSignificantDigitsPaddedToTheDecimals) {
    const struct {
        double value;
        int digits;
        const char* text;
    } cases[] = {
        {3.14159265, 6, "3.140000"},
        {523.456789, 6, "523.000000"},
        {0.00012356, 6, "0.000124"},
        {-1e-9, 6, "0.000000"},
        {0.5, 0, "1"},
        {0.05, 0, "0"},
        {1.125, 2, "1.13"},  // half away from zero
        {2.675, 2, "2.67"},  // the double lies below 2.675
        {-0.996, 2, "-1.00"},
        {999.6, 2, "1E3"},
        {-56789.0, 6, "-5.68E4"},
        {7.0, 25, "7.000000000000000000"},
        {7.0, -3, "7"},
        {-std::numeric_limits<double>::infinity(), 2, "-INF"},
        {std::nan(""), 2, "NAN"},
    };
    for (const auto& c : cases) {
        const std::string text = FormatNumber(c.value, c.digits);
        EXPECT_EQ(text, c.text) << c.value << " with " << c.digits;
        if (std::isfinite(c.value)) {  // the grid reads its texts back as numbers
            char* end = nullptr;
            EXPECT_NEAR(std::strtod(text.c_str(), &end), c.value, std::fabs(c.value) * 5e-3 + 0.5);
            EXPECT_EQ(*end, '\0') << text;
        }
    }
}

}  // namespace
