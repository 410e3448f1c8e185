#include "core/text/NumberScan.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(NumberScan, ReadsAsStrtodInTheCLocale) {
    struct Case {
        const char* text;
        double value;
        long length;  // bytes converted, 0 when none
    } cases[] = {{"  -1.5e2x", -150, 8}, {"+.5", 0.5, 3}, {"1e", 1, 1},  {"1,5", 1, 1},
                 {"0x10", 16, 4},        {"abc", 0, 0},   {"- 1", 0, 0}, {"1e999", HUGE_VAL, 5}};
    for (const Case& c : cases) {
        const char* end = nullptr;
        EXPECT_EQ(ScanDouble(c.text, &end), c.value) << c.text;
        EXPECT_EQ(end - c.text, c.length) << c.text;
    }
}

}  // namespace
