#include "core/lang/CLinCSettings.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/text/ESyntax.h"

namespace {

std::vector<double> Parse(std::string text, int n) {
    return CLinCSettings(0, 1).ParseValue(text, n);
}

TEST(CLinCSettingsParseValue, LinearCombinations) {
    struct Case {
        const char* text;
        int n;
        std::vector<double> coefficients;
    } cases[] = {
        {"0.5 + 2*x1 - x2", 2, {0.5, 2, -1}},
        {"1e-3 x1", 1, {0, 0.001}},
        {"x1", 3, {0, 1, 0, 0}},
        {"-x3", 3, {0, 0, 0, -1}},
        {"X2 * 4", 2, {0, 0, 4}},
        {"x2*-4", 2, {0, 0, -4}},
        {"  3   *   x1   +   7  ", 1, {7, 3}},
        {"2.5e+1*x1-1E-1", 1, {-0.1, 25}},
        {"-2", 0, {-2}},
        {"+ 4 x2 - 1.5 x1", 2, {0, -1.5, 4}},
        {"", 2, {0, 0, 0}},
        {"x1*2junk + 1", 1, {1, 2}},  // the rest of a coefficient up to the next sign is skipped
    };
    for (const Case& c : cases)
        EXPECT_EQ(Parse(c.text, c.n), c.coefficients) << c.text;
}

TEST(CLinCSettingsParseValue, BlanksAreCollapsedInPlace) {
    std::string text = "  1  +   x1 ";
    EXPECT_EQ(CLinCSettings(0, 1).ParseValue(text, 1), (std::vector<double>{1, 1}));
    EXPECT_EQ(text, "1 + x1");
}

TEST(CLinCSettingsParseValue, Errors) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"x1 x2", "plus, minus or end expected"},
        {"x1 3", "plus, minus or end expected"},
        {"x0", "nonzero integeral index expected"},
        {"x", "unexpected end"},
        {"xa", "nonzero integeral index expected"},
        {"x1 + x1", "each index should occure only once"},
        {"1 + 2", "each index should occure only once"},
        {"x1*0", "real number expected"},
        {"x1*nan", "real number expected"},
        {"x1*", "unexpected end"},
        {"x1+", "unexpected end"},
        {"x1 -", "unexpected end"},
        {"2 *", "unexpected end"},
        {"abc", "real number expected"},
        {"+-x1", "real number expected"},
        {"inf x1", "real number expected"},
        {"x3", "variable index out of range"},
        {"x-1", "variable index out of range"},
        {"x99999999999999999999", "variable index out of range"},
        {"4*x5", "variable index out of range"},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        try {
            CLinCSettings(0, 1).ParseValue(text, 2);
            ADD_FAILURE() << c.text << " parsed";
        } catch (const ESyntax& error) {
            EXPECT_EQ(error.Message(), c.message) << c.text;
            EXPECT_EQ(error.Position(), 0);
            EXPECT_EQ(error.Text(), "");
        }
    }
    std::string text = "1";
    EXPECT_THROW(CLinCSettings(0, 1).ParseValue(text, -1), std::invalid_argument);
}

}  // namespace
