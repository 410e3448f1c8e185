#pragma once

#include <array>
#include <string_view>

// The fixed evaluative words. The row of a word is the code that terms and parsers use.
struct FixedWord {
    std::string_view full;
    std::string_view shortForm;
};

// Rows 0-3 plain, 4-7 "+", 8-11 "-": small, medium, big, zero.
inline constexpr std::array<FixedWord, 12> kAtomicTerms = {{
    {"small", "sm"},
    {"medium", "me"},
    {"big", "bi"},
    {"zero", "ze"},
    {"+small", "+sm"},
    {"+medium", "+me"},
    {"+big", "+bi"},
    {"+zero", "+ze"},
    {"-small", "-sm"},
    {"-medium", "-me"},
    {"-big", "-bi"},
    {"-zero", "-ze"},
}};

inline constexpr std::array<FixedWord, 8> kHedges = {{
    {"extremely", "ex"},
    {"significantly", "si"},
    {"very", "ve"},
    {"rather", "ra"},
    {"more or less", "ml"},
    {"roughly", "ro"},
    {"quite roughly", "qr"},
    {"very roughly", "vr"},
}};

// The hedge code of the negation ("not", short form "no").
inline constexpr int kNegationCode = 8;

inline constexpr std::array<FixedWord, 2> kLinguisticConnectives = {{
    {"shem ham and az", "land"},
    {"fug ho or az", "lor"},
}};

// Codes of the fixed tables start here; codes below are rows of a settings object's own lists.
inline constexpr int kFixedCodeBase = 100;
inline constexpr int kNoMatch = -1;

// Moves the cursor past word and one following blank when the text there is the word followed
// by a blank or the end of the text.
bool MatchWordAt(const char*& cursor, std::string_view word);
