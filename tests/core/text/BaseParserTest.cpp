#include "core/text/BaseParser.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(BaseParser, SetInputStartsAtTheBeginningInTheGoodState) {
    BaseParser parser;
    EXPECT_EQ(parser.Text(), nullptr);
    EXPECT_FALSE(parser.MatchWord("x"));
    parser.SkipBlanks();

    const char* text = "  \t sm";
    parser.SetInput(text);
    EXPECT_EQ(parser.Text(), text);
    EXPECT_EQ(parser.Position(), 0);
    EXPECT_EQ(parser.State(), ParserState::kGood);
    parser.SkipBlanks();
    EXPECT_EQ(parser.Position(), 4);
    parser.SkipBlanks();
    EXPECT_EQ(parser.Position(), 4);

    parser.SetInput("ve");
    EXPECT_EQ(parser.Position(), 0);
}

TEST(BaseParser, OnlySpaceAndTabAreBlank) {
    EXPECT_TRUE(BaseParser::IsBlank(' '));
    EXPECT_TRUE(BaseParser::IsBlank('\t'));
    for (const char c : {'\n', '\r', '\v', '\0', 'a', '\xa0'})
        EXPECT_FALSE(BaseParser::IsBlank(c));
}

struct WordCase {
    const char* text;
    const char* word;
    bool matches;
};

TEST(BaseParser, MatchWordNeedsAWordBoundary) {
    const WordCase cases[] = {
        {"small)", "small", true},  {"small big", "small", true},
        {"small", "small", true},   {"small-1", "small", true},
        {"smallx", "small", false}, {"small1", "small", false},
        {"Small", "small", false},  {"sm", "small", false},
        {"", "sm", false},          {"sm_", "sm", true},
        {"sm\xe9", "sm", true},     {"more or less x", "more or less", true},
    };
    for (const WordCase& c : cases) {
        BaseParser parser;
        parser.SetInput(c.text);
        EXPECT_EQ(parser.MatchWord(c.word), c.matches) << c.text << " / " << c.word;
        EXPECT_EQ(parser.Position(), c.matches ? static_cast<int>(std::strlen(c.word)) : 0)
            << c.text;
    }
}

TEST(BaseParser, MatchWordGoesOnFromThePosition) {
    BaseParser parser;
    parser.SetInput("ve sm and bi");
    EXPECT_TRUE(parser.MatchWord("ve"));
    parser.SkipBlanks();
    EXPECT_FALSE(parser.MatchWord("s"));
    EXPECT_TRUE(parser.MatchWord("sm"));
    parser.SkipBlanks();
    EXPECT_TRUE(parser.MatchWord("and"));
    parser.SkipBlanks();
    EXPECT_TRUE(parser.MatchWord("bi"));
    EXPECT_EQ(parser.Position(), 12);
    EXPECT_FALSE(parser.MatchWord("bi"));
    // A word with an embedded NUL cannot match past the end of the text.
    parser.SetInput("ab");
    EXPECT_FALSE(parser.MatchWord(std::string_view("ab\0c", 4)));
}

}  // namespace
