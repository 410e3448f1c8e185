#include "core/lang/CLinCSettings.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/text/ESyntax.h"

namespace {

// The coefficients over two variables as text, or the message of the error.
std::string Read(std::string text) {
    try {
        std::string result;
        for (double c : CLinCSettings(0, 1).ParseValue(text, 2)) {
            if (!result.empty())
                result += ' ';
            result += std::to_string(c).substr(0, 6);
        }
        return result;
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Position(), 0);
        EXPECT_EQ(error.Text(), "");
        return error.Message();
    }
}

TEST(CLinCSettingsParseValue, LinearCombinationsAndErrors) {
    struct Case {
        const char *text, *result;
    } cases[] = {
        {"0.5 + 2*x1 - x2", "0.5000 2.0000 -1.000"},
        {"1e-3 x1", "0.0000 0.0010 0.0000"},
        {"  3   *   X2   +   7  ", "7.0000 0.0000 3.0000"},
        {"x2*-4 - 1E-1", "-0.100 0.0000 -4.000"},
        {"+ 4 x2 - 1.5 x1", "0.0000 -1.500 4.0000"},
        {"", "0.0000 0.0000 0.0000"},
        {"x1*2junk + 1", "1.0000 2.0000 0.0000"},  // the rest of a factor up to a sign is skipped
        {"x1 x2", "plus, minus or end expected"},
        {"x0", "nonzero integeral index expected"},
        {"x", "unexpected end"},
        {"x1*", "unexpected end"},
        {"x1+", "unexpected end"},
        {"2 *", "unexpected end"},
        {"x1 + x1", "each index should occure only once"},
        {"1 + 2", "each index should occure only once"},
        {"x1*0", "real number expected"},
        {"x1*nan", "real number expected"},
        {"abc", "real number expected"},
        {"inf x1", "real number expected"},
        {"x3", "variable index out of range"},
        {"x-1", "variable index out of range"},
        {"x99999999999999999999", "variable index out of range"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Read(c.text), c.result) << c.text;
}

TEST(CLinCSettingsParseValue, BlanksAreCollapsedInPlace) {
    CLinCSettings settings(0, 1);
    std::string text = "  1  +   x1 ";
    EXPECT_EQ(settings.ParseValue(text, 1), (std::vector<double>{1, 1}));
    EXPECT_EQ(text, "1 + x1");
    text = "-2";
    EXPECT_EQ(settings.ParseValue(text, 0), std::vector<double>{-2});
    EXPECT_THROW(settings.ParseValue(text, -1), std::invalid_argument);
}

}  // namespace
