// Seeded random texts: each must give a tree or a clear rejection, never a crash, a hang, a
// leak or a read past its end. Every text sits in a buffer of exactly its size, so the
// sanitized build catches a byte read too far.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/lang/CFEParser.h"
#include "core/lang/CLinCSettings.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "tests/core/lang/ExpressionTestSupport.h"

namespace {

struct Owner {
    const char* name;
    std::function<std::unique_ptr<CSettings>()> make;  // null: a parser without an owner
};

class CFEParserFuzz : public ::testing::TestWithParam<Owner> {
  protected:
    void Check(const std::string& text) {
        SCOPED_TRACE("text \"" + text.substr(0, 100) + "\"");
        std::vector<char> exact(text.begin(), text.end());
        exact.push_back('\0');
        const auto tree = parser_.Parse(exact.data());
        if (tree) {
            ++accepted_;
            ASSERT_EQ(parser_.State(), ParserState::kGood);
            const std::string printed = tree->ToText();
            const auto again = parser_.Parse(printed);
            ASSERT_NE(again, nullptr) << printed;
            EXPECT_EQ(again->ToText(), printed);
        } else {
            ASSERT_NE(parser_.State(), ParserState::kGood);
            ASSERT_GE(parser_.SavedTokenStart(), 0);
            ASSERT_LE(parser_.SavedTokenStart(), static_cast<int>(std::strlen(exact.data())));
            ASSERT_NE(parser_.LastError(), "");
        }
        if (!settings_)
            return;
        const std::string cell(exact.data());
        const std::optional<ESyntax> error = settings_->CheckExpression(cell);
        EXPECT_TRUE(tree ? !error || error->Position() == -2
                         : error && error->Position() == parser_.SavedTokenStart());
        CLingTerm term;
        EXPECT_EQ(settings_->TextToLingTerm(cell, term), tree != nullptr);
    }

    // User terms must not take a keyword's full form, or printed texts would read differently.
    std::unique_ptr<CSettings> settings_ = GetParam().make();
    CFEParser ownParser_{nullptr};
    CFEParser& parser_ = settings_ ? settings_->Parser() : ownParser_;
    int accepted_ = 0;
};

std::string RandomBytes(std::mt19937& random, std::size_t maxLength) {
    std::string text(random() % (maxLength + 1), ' ');
    const bool ascii = random() % 2;
    for (char& c : text)
        c = static_cast<char>(ascii ? 32 + random() % 95 : 1 + random() % 255);
    return text;
}

std::string TokenSoup(std::mt19937& random, std::size_t tokens) {
    static const char* const kWords[] = {
        "sm",           "small", "me",  "bi",    "big",      "ze",     "zero",
        "ex",           "ve",    "ra",  "ml",    "ro",       "qr",     "very roughly",
        "more or less", "and",   "or",  "about", "not",      "no",     "undef",
        "ignor",        "(",     ")",   "(",     ")",        "+",      "-",
        "0.5",          "-3",    "1e3", "nan",   "inf",      "0x1p-2", "1e",
        "warm",         "wa",    "\"",  "'",     "\xc3\xa9", "x1",     ",",
    };
    static const char* const kGaps[] = {" ", " ", " ", "", "  ", "\t", "\n"};
    std::string text;
    for (std::size_t i = 0; i < tokens; ++i) {
        text += kWords[random() % std::size(kWords)];
        text += kGaps[random() % std::size(kGaps)];
    }
    return text;
}

TEST_P(CFEParserFuzz, RandomBytesAndTokenSoups) {
    for (const unsigned seed : {11u, 12u, 13u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        for (int i = 0; i < 1000 && !HasFatalFailure(); ++i) {
            Check(RandomBytes(random, i % 50 == 0 ? 3000 : 40));
            Check(TokenSoup(random, 1 + random() % 6));
        }
    }
    // Short soups are often whole cells: the trees were checked too.
    EXPECT_GT(accepted_, 20);
}

TEST_P(CFEParserFuzz, HostileTexts) {
    std::mt19937 random(31);
    std::string allBytes, chain = "ze";
    for (int c = 1; c < 256; ++c)
        allBytes += static_cast<char>(c);
    while (chain.size() < 100000)
        chain += " or about 0 and -ro ze";
    for (const std::string& text :
         {std::string(), std::string(100000, ' '), std::string(100000, '('),
          std::string(100000, '-'), std::string(100000, '9'), std::string(100000, 'n'),
          "about " + std::string(5000, '1') + ".5", "nan(" + std::string(300, 'a'),
          std::string(20000, '(') + "sm" + std::string(20000, ')'), std::string("\"sm and 'bi"),
          RandomBytes(random, 100000), TokenSoup(random, 20000), allBytes, chain})
        Check(text);
}

INSTANTIATE_TEST_SUITE_P(
    Owners, CFEParserFuzz,
    ::testing::Values(
        Owner{"Linguistic", [] { return std::make_unique<CLinguisticSettings>(0, 1); }},
        Owner{"SymmetricWithUserTerms",
              [] {
                  auto settings = std::make_unique<CLinguisticSettings>(-1, 1);
                  for (auto names : std::vector<std::vector<std::string>>{{"warm", "wa"}, {"sm"}})
                      expression_test::AddUserTerm(*settings, names);
                  return settings;
              }},
        Owner{"Singleton", [] { return std::make_unique<CLinCSettings>(0, 1); }},
        Owner{"Triang", [] { return std::make_unique<CTriangSettings>(-3, 6); }},
        Owner{"NoOwner", []() -> std::unique_ptr<CSettings> { return nullptr; }}),
    [](const ::testing::TestParamInfo<Owner>& info) { return std::string(info.param.name); });

}  // namespace
