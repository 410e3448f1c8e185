#include "core/text/Scanner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/text/ESyntax.h"

namespace {

const std::string kData = std::string(TAVO_TEST_DATA) + "/text/";

// How far a cursor operation moves over the text.
template <class Operation>
std::ptrdiff_t Advance(const std::string& text, Operation operation) {
    const char* cursor = text.c_str();
    operation(cursor);
    return cursor - text.c_str();
}

struct CursorCase {
    const char* text;
    std::ptrdiff_t expected;
};

TEST(ScannerCursor, SkipSpaceStopsAtNulAndAtHighBytes) {
    for (const CursorCase& c :
         {CursorCase{"", 0}, {" \t\r\n\x01x", 5}, {"  \x80 ", 2}, {"\x20\x21", 1}, {"   ", 3}}) {
        EXPECT_EQ(Advance(c.text, SkipSpace), c.expected) << c.text;
    }
}

TEST(ScannerCursor, SkipLineEndTakesOnePairOfDifferentBytes) {
    for (const CursorCase& c : {CursorCase{"\r\nx", 2},
                                {"\n\rx", 2},
                                {"\n\nx", 1},
                                {"\r\rx", 1},
                                {"\r", 1},
                                {"x\n", 0},
                                {"", 0}}) {
        EXPECT_EQ(Advance(c.text, SkipLineEnd), c.expected) << c.text;
    }
    EXPECT_TRUE(IsLineEnd("\r"));
    EXPECT_TRUE(IsLineEnd("\n"));
    EXPECT_FALSE(IsLineEnd(" "));
    EXPECT_FALSE(IsLineEnd(""));
}

TEST(ScannerCursor, BackOverLineEndStepsBackOneLineEndAndNotBeforeTheLimit) {
    const std::string text = "ab\r\n\n\r\rcd";
    const auto back = [&](std::size_t from, std::size_t limit) {
        const char* cursor = text.c_str() + from;
        BackOverLineEnd(cursor, text.c_str() + limit);
        return cursor - text.c_str();
    };
    EXPECT_EQ(back(4, 0), 2);  // CR LF
    EXPECT_EQ(back(5, 0), 4);  // LF after LF: one only
    EXPECT_EQ(back(6, 0), 4);  // LF CR
    EXPECT_EQ(back(7, 0), 6);  // CR after CR
    EXPECT_EQ(back(2, 0), 2);  // no line end before
    EXPECT_EQ(back(4, 3), 3);
    EXPECT_EQ(back(4, 4), 4);
}

TEST(ScannerCursor, NextLineNextItemAndSkipNumber) {
    for (const CursorCase& c :
         {CursorCase{"abc\r\ndef", 5}, {"abc", 3}, {"a\rb", 2}, {"\n\nx", 1}, {"", 0}}) {
        EXPECT_EQ(Advance(c.text, NextLine), c.expected) << c.text;
    }
    for (const CursorCase& c : {CursorCase{"ab, \tcd", 5},
                                {"ab\ncd", 2},
                                {"ab,\r\ncd", 3},
                                {"a,,  b", 5},
                                {"abc", 3},
                                {"", 0}}) {
        EXPECT_EQ(Advance(c.text, NextItem), c.expected) << c.text;
    }
    for (const CursorCase& c : {CursorCase{"-1.5e+3x", 7}, {"12E-4 5", 5}, {"x1", 0}, {"", 0}}) {
        EXPECT_EQ(Advance(c.text, SkipNumber), c.expected) << c.text;
    }
}

TEST(ScannerStrings, TrimRightAndCopyToken) {
    for (const auto& [input, expected] : std::vector<std::pair<std::string, std::string>>{
             {"ab \t\r\n", "ab"}, {"a b", "a b"}, {"ab\xc3\xa9", "ab"}, {"   ", ""}, {"", ""}}) {
        std::string s = input;
        TrimRight(s);
        EXPECT_EQ(s, expected) << input;
    }

    const char* text = "my var, rest\r\n";
    EXPECT_EQ(CopyToken(text), "my var");
    EXPECT_EQ(CopyToken(text + 8), "rest");
    EXPECT_EQ(CopyToken(text, text + 2), "my");
    EXPECT_EQ(CopyToken("a\tb"), "a");
    EXPECT_EQ(CopyToken("x\xe9y"), "x");
    EXPECT_EQ(CopyToken(""), "");
}

TEST(ScannerStrings, CountItemsCountsToTheEndOfTheLine) {
    const std::vector<std::pair<const char*, int>> cases = {
        {"", 0}, {" \r\n ", 0}, {"a", 1}, {" a, b,c\nd,e", 3}, {"a,\n", 2}, {"\n a,b", 2}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(CountItems(text), expected) << text;
}

TEST(ScannerStrings, SpaceOutSetsDelimitersApart) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"  a(b,c)  d", "a ( b , c ) d"},
        {"f<x>{y}", "f < x > { y }"},
        {"a\tb", "a \t b"},
        {"((", "( ("},
        {"a  ", "a"},
        {"   ", ""},
        {"", ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(SpaceOut(text), expected) << text;
}

TEST(ScannerStrings, SplitBySpacesKeepsEmptyPieces) {
    EXPECT_TRUE(SplitBySpaces("").empty());
    EXPECT_EQ(SplitBySpaces("a"), (std::vector<std::string>{"a"}));
    EXPECT_EQ(SplitBySpaces("ab c"), (std::vector<std::string>{"ab", "c"}));
    EXPECT_EQ(SplitBySpaces(" a  b "), (std::vector<std::string>{"", "a", "", "b", ""}));
}

TEST(ScannerReadNumbers, StopsAtMaxCountAndAtTheFirstNonNumber) {
    EXPECT_EQ(ReadNumbers("1 2 3", 4).size(), 3u);
    EXPECT_EQ(ReadNumbers("1 2 3 4 5", 4).size(), 4u);
    EXPECT_EQ(ReadNumbers("1 2 x 4", 4).size(), 2u);
    EXPECT_TRUE(ReadNumbers("", 4).empty());
    EXPECT_TRUE(ReadNumbers("1 2", 0).empty());
    EXPECT_EQ(ReadNumbers("\r\n 1.5\t\n-2e1 ,3", 4), (std::vector<double>{1.5, -20.0}));
    // The number skip passes '-', so a -2 glued to the 1 is skipped with it.
    EXPECT_EQ(ReadNumbers("1-2 3", 4), (std::vector<double>{1.0, 3.0}));
}

TEST(ScannerReadNumbers, KeepsSinglePrecision) {
    const std::vector<double> numbers = ReadNumbers("0.1 3.14159265358979", 2);
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_EQ(numbers[0], static_cast<double>(0.1f));
    EXPECT_NE(numbers[0], 0.1);
    EXPECT_EQ(numbers[1], static_cast<double>(3.14159265358979f));
}

// Whatever sscanf's "%f" makes of a field, the first number read is the same.
TEST(ScannerReadNumbers, ConvertsEveryFieldAsScanfDoes) {
    const char* fields[] = {"1e",    "1e+",   "1e+x",   "1.5e5x", "0x",   "0x1p3",   "0X1P-2",
                            "inf",   "INF",   "infin",  "nan",    "-nan", "nan(12)", "-",
                            "+.",    ".",     "-.5",    ".e1",    "1..2", "1e99",    "1e-50",
                            "-0",    "007",   "1,5",    "\x80",   "e5",   "+-1",     "3.4028236e38",
                            "1e-45", "1e-46", "0.1e1a", "9\x01",  "5\xe9"};
    for (const char* field : fields) {
        float expected = 0.0f;
        const int converted = std::sscanf(field, "%f", &expected);
        const std::vector<double> numbers = ReadNumbers(field, 1);
        if (converted != 1) {
            EXPECT_TRUE(numbers.empty()) << field;
            continue;
        }
        ASSERT_EQ(numbers.size(), 1u) << field;
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(numbers[0])) << field;
            EXPECT_EQ(std::signbit(numbers[0]), std::signbit(expected)) << field;
        } else {
            EXPECT_EQ(numbers[0], static_cast<double>(expected)) << field;
        }
    }
}

TEST(ScannerReadNumbers, MovesPastNumbersThatHoldLetters) {
    const std::vector<double> numbers = ReadNumbers("inf nan 0x1p3 2", 8);
    ASSERT_EQ(numbers.size(), 4u);
    EXPECT_TRUE(std::isinf(numbers[0]));
    EXPECT_TRUE(std::isnan(numbers[1]));
    EXPECT_EQ(numbers[2], 8.0);
    EXPECT_EQ(numbers[3], 2.0);
}

TEST(ScannerReadFileText, ReadsEveryByte) {
    const std::string text = ReadFileText(kData + "crlf_high_bytes.txt");
    const std::string expected("AntVariable1\r\n  name=x\xe9,y\r\nEnd\n\x80\xff\0tail", 38);
    EXPECT_EQ(text, expected);
    EXPECT_EQ(ReadFileText(kData + "empty.txt"), "");
}

TEST(ScannerReadFileText, FailuresCarryTheMessageAndTheFileName) {
    for (const std::string& name : {kData + "no such file.txt", kData, std::string()}) {
        try {
            ReadFileText(name);
            ADD_FAILURE() << name << " was read";
        } catch (const ESyntax& error) {
            EXPECT_EQ(error.Message(), "cannot read file by open");
            EXPECT_EQ(error.Text(), name);
            EXPECT_EQ(error.Position(), 0);
        }
    }
}

struct MarkerCase {
    const char* text;
    const char* start;
    const char* end;  // null: up to the line end or comma
    const char* expected;
};

TEST(ScannerExtractBetweenMarkers, TrimsOneLineBreakAndTheBlanksAtEachMarker) {
    const MarkerCase cases[] = {
        {"!C!\r\n  text\r\n!E!", "!C!", "!E!", "  text"},
        {"x !C!  \n a\n\n b \n!E! y", "!C!", "!E!", " a\n\n b "},
        {"!C! text  !E!", "!C!", "!E!", "text"},
        {"!C!\n\n!E!", "!C!", "!E!", ""},
        {"!C!!E!", "!C!", "!E!", ""},
        {"!C!\ra\r!E!", "!C!", "!E!", "a"},
        {"!C! a\r", "!C!", nullptr, "a"},
        // Nothing but a line break between the markers: the trims must not overlap.
        {"!C! \r\n!E!", "!C!", "!E!", ""},
        {"!C!\r\n\r\n!E!", "!C!", "!E!", ""},
        {"alias (other) x", "(", ")", "other"},
        {"name= word, more\n", "name=", nullptr, "word"},
        {"name=\r\nnext line\n", "name=", nullptr, "next line"},
        {"name=", "name=", nullptr, ""},
        {"!E! before !C! a !E!", "!C!", "!E!", "a"},
    };
    for (const MarkerCase& c : cases) {
        const std::optional<std::string_view> end =
            c.end ? std::optional<std::string_view>(c.end) : std::nullopt;
        for (const bool strict : {false, true}) {
            const std::optional<std::string> found =
                ExtractBetweenMarkers(c.text, c.start, end, strict);
            ASSERT_TRUE(found.has_value()) << c.text;
            EXPECT_EQ(*found, c.expected) << c.text;
        }
    }
}

TEST(ScannerExtractBetweenMarkers, MissingMarkers) {
    const char* text = "START only";
    EXPECT_FALSE(ExtractBetweenMarkers(text, "BEGIN", "END", false).has_value());
    EXPECT_FALSE(ExtractBetweenMarkers(text, "START", "END", false).has_value());
    EXPECT_FALSE(ExtractBetweenMarkers("END START", "START", "END", false).has_value());
    try {
        ExtractBetweenMarkers(text, "BEGIN", "END", true);
        ADD_FAILURE() << "no error";
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Message(), "missing: BEGIN");
        EXPECT_EQ(error.Text(), text);
        EXPECT_EQ(error.Position(), 0);
    }
    try {
        ExtractBetweenMarkers(text, "START", "END", true);
        ADD_FAILURE() << "no error";
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Message(), "missing: END");
        EXPECT_EQ(error.Text(), text);
    }
}

// Random bytes, weighted towards the ones the scanner treats specially, in buffers of exactly
// their size: the sanitized build reports any read past the NUL. Cursors must stay inside.
TEST(ScannerRandomBytes, NeverLeavesTheText) {
    const unsigned seed = 20240611;
    std::mt19937 random(seed);
    const std::string special = "\r\n\t ,.+-eE0123456789()<>{}!inf_nax\x01\x1f\x7f\x80\xe9\xff";
    for (int round = 0; round < 3000; ++round) {
        const std::size_t length = random() % 48;
        auto buffer = std::make_unique<char[]>(length + 1);
        for (std::size_t i = 0; i < length; ++i) {
            buffer[i] = random() % 4 != 0 ? special[random() % special.size()]
                                          : static_cast<char>(1 + random() % 255);
        }
        const char* text = buffer.get();
        const char* textEnd = text + std::strlen(text);
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));

        for (const char* from = text; from <= textEnd; ++from) {
            for (void (*operation)(const char*&) :
                 {SkipSpace, SkipLineEnd, NextLine, NextItem, SkipNumber}) {
                const char* cursor = from;
                operation(cursor);
                ASSERT_GE(cursor, from);
                ASSERT_LE(cursor, textEnd);
            }
            const char* back = from;
            BackOverLineEnd(back, text);
            ASSERT_GE(back, text);
            ASSERT_LE(back, from);
            ASSERT_LE(CopyToken(from).size(), static_cast<std::size_t>(textEnd - from));
            ASSERT_GE(CountItems(from), 0);
            ASSERT_LE(ReadNumbers(from, 64).size(), 64u);
        }
        std::string trimmed(text);
        TrimRight(trimmed);
        ASSERT_LE(SpaceOut(text).size(), 2 * std::strlen(text));
        const auto blanks = static_cast<std::size_t>(std::count(text, textEnd, ' '));
        ASSERT_EQ(SplitBySpaces(text).size(), text == textEnd ? 0 : 1 + blanks);
        for (const char* end : {"!", ")", "\n"}) {
            const std::optional<std::string> between = ExtractBetweenMarkers(text, "(", end, false);
            if (between) {
                ASSERT_NE(std::string_view(text).find(*between), std::string_view::npos);
            }
        }
        const std::optional<std::string> item =
            ExtractBetweenMarkers(text, "n", std::nullopt, false);
        if (item) {
            ASSERT_NE(std::string_view(text).find(*item), std::string_view::npos);
        }
    }
}

}  // namespace
