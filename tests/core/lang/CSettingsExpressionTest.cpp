// CheckExpression and TextToLingTerm: the settings' operations over the expression parser.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/lang/CFEParser.h"
#include "core/lang/CLinCSettings.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "tests/core/lang/ExpressionTestSupport.h"

namespace {

// "valid", or the error's message, position and text.
std::string Check(const CSettings& settings, const std::string& text) {
    const std::optional<ESyntax> error = settings.CheckExpression(text);
    if (!error)
        return "valid";
    return error->Message() + " at " + std::to_string(error->Position()) + " in \"" +
           error->Text() + "\"";
}

TEST(CSettingsCheckExpression, SyntaxSignAndContextErrors) {
    CLinguisticSettings unit(0, 1), symmetric(-5, 5);
    CLinCSettings crisp(0, 1);
    CTriangSettings triang(0, 10);
    const struct {
        const CSettings& settings;
        const char* text;
        const char* outcome;
    } cases[] = {
        {unit, "ve sm and bi", "valid"},
        {unit, "ve", "parse error at 2 in \"ve\""},
        {unit, "0.5", "parse error at 0 in \"0.5\""},
        {unit, "-sm", "negative term is not allowed in this context at 0 in \"-sm\""},
        {unit, "bi or -sm", "negative term is not allowed in this context at 6 in \"bi or -sm\""},
        {unit, "about 7", "fuzzy number out of context at -2 in \"\""},
        {unit, "about 1", "valid"},
        {unit, "sm or (bi and about 7)", "fuzzy number out of context at -2 in \"\""},
        {symmetric, "-ve sm", "valid"},
        {symmetric, "about -6", "fuzzy number out of context at -2 in \"\""},
        {crisp, "7", "valid"},  // crisp numbers are not held to the context
        {crisp, "0.5 + 2*x1", "parse error at 4 in \"0.5 + 2*x1\""},
        {triang, "small or me", "valid"},
        {triang, "ex sm", "parse error at 3 in \"ex sm\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Check(c.settings, c.text), c.outcome) << c.text;
}

TEST(CSettingsTextToLingTerm, FillsTheTermOrLeavesTheUnfinishedHedge) {
    CLinguisticSettings settings(-1, 1);
    expression_test::AddUserTerm(settings, {"mine"});
    constexpr int kNone = CLingTerm::kNotParsed;
    struct Case {
        const char* text;
        bool parsed;
        int kind, hedge, sign, userIndex;
    };
    // The record starts with sign 9 and user index 7; every call resets the index and hedge.
    const Case cases[] = {
        {"ve sm", true, 0, 2, 0, -1},
        {"-ro ze", true, 3, 5, -1, -1},
        {"mine", true, CLingTerm::kUserTerm, -1, 9, 0},
        {"about 0.5", true, CLingTerm::kFuzzyNumber, -1, 9, -1},
        {"sm or bi", true, CLingTerm::kCompound, -1, 9, -1},
        {"ro", false, kNone, 5, 9, -1},
        {"ve", false, kNone, 2, 9, -1},
        {"ml", false, kNone, 4, 9, -1},
        {"not", false, kNone, 8, 9, -1},
        {"sm and vr", false, kNone, 7, 9, -1},
        {"ve me", false, kNone, 2, 9, -1},
        {"sm and", false, kNone, -1, 9, -1},
        {"", false, kNone, -1, 9, -1},
    };
    for (const Case& c : cases) {
        CLingTerm term;
        term.sign = 9;
        term.userIndex = 7;
        EXPECT_EQ(settings.TextToLingTerm(c.text, term), c.parsed) << c.text;
        EXPECT_EQ((std::vector<int>{term.kind, term.hedge, term.sign, term.userIndex}),
                  (std::vector<int>{c.kind, c.hedge, c.sign, c.userIndex}))
            << c.text;
    }
    EXPECT_EQ(settings.Parser().LastItem(), CFEParser::kLastNone);
}

}  // namespace
