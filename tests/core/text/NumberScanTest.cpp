#include "core/text/NumberScan.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Scanned {
    double value;
    int length;  // bytes converted, 0 when none
};

Scanned Scan(const char* text) {
    const char* end = nullptr;
    const double value = ScanDouble(text, &end);
    return {value, static_cast<int>(end - text)};
}

TEST(NumberScan, ReadsAsStrtodInTheCLocale) {
    struct Case {
        const char* text;
        double value;
        int length;
    } cases[] = {
        {"3", 3, 1},
        {"  -1.5e2x", -150, 8},
        {"+.5", 0.5, 3},
        {"1e-3 x1", 0.001, 4},
        {"2.", 2, 2},
        {"1e", 1, 1},
        {"0x10", 16, 4},
        {"abc", 0, 0},
        {"", 0, 0},
        {"-", 0, 0},
        {"- 1", 0, 0},
        {"1,5", 1, 1},
        {"1e999", HUGE_VAL, 5},
    };
    for (const Case& c : cases) {
        const Scanned scanned = Scan(c.text);
        EXPECT_EQ(scanned.value, c.value) << c.text;
        EXPECT_EQ(scanned.length, c.length) << c.text;
    }
    EXPECT_TRUE(std::isnan(Scan("nan").value));
}

}  // namespace
