// Random texts for the value readers: each gives a result or an ESyntax that points into its
// text, never a crash, a hang or a read out of bounds (the sanitized build checks the latter).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/lang/CBasicSettings.h"
#include "core/lang/CLinCSettings.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "core/sets/CFuzzyDiscreteSet.h"
#include "core/sets/CFuzzyTriangSet.h"
#include "core/text/ESyntax.h"

namespace {

constexpr unsigned kSeed = 1234567;

const char* const kCellWords[] = {
    "sm",
    "me",
    "bi",
    "ze",
    "+sm",
    "-bi",
    "small",
    "big",
    "zero",
    "+",
    "-",
    "(",
    ")",
    "ve",
    "ex",
    "ml",
    "vr",
    "very",
    "very roughly",
    "ro",
    "ra",
    "not",
    "no",
    "and",
    "or",
    "land",
    "lor",
    "fug ho or az",
    "about",
    "3",
    "0.5",
    "-0.2",
    "1e-3",
    "nan",
    "1e999",
    "undef",
    "ignor",
    "mine",
    "mi",
    "\"",
    "'",
    "\t",
    "\xc3\xa9",
    "\xff",
    ",",
    "<",
    "}",
};
const char* const kLinearWords[] = {"x", "X",   "x1",   "x2", "x0", "x-1", "*",   "+", "-",   "0",
                                    "1", "2.5", "1e-3", "e",  " ",  "  ",  "nan", ".", "\xff"};

class Texts {
  public:
    explicit Texts(unsigned seed) : random_(seed) {}

    std::string Bytes(int maxLength) {
        std::string text(Below(maxLength + 1), '\0');
        for (char& c : text)
            c = static_cast<char>(Below(256));
        return text;
    }

    template <size_t N>
    std::string Soup(const char* const (&words)[N], int maxWords) {
        std::string text;
        const int count = Below(maxWords + 1);
        for (int i = 0; i < count; ++i) {
            text += words[Below(N)];
            const int gap = Below(4);
            text += gap == 0 ? "" : gap == 3 ? "  " : " ";
        }
        return text;
    }

    int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }

  private:
    std::mt19937 random_;
};

std::vector<std::unique_ptr<CBasicSettings>> AllSettings() {
    std::vector<std::unique_ptr<CBasicSettings>> all;
    all.push_back(std::make_unique<CBasicSettings>(0, 10));
    all.push_back(std::make_unique<CTriangSettings>(0, 10));
    all.push_back(std::make_unique<CTriangSettings>(-3, 3));
    all.push_back(std::make_unique<CLinguisticSettings>(0, 10));
    all.push_back(std::make_unique<CLinguisticSettings>(-10, 10));
    for (auto& settings : all) {
        settings->UpdateSymmetry();
        settings->AddTerm(
            std::make_unique<CNamedTerm>(std::vector<std::string>{"mine", "mi"},
                                         std::make_unique<CFuzzyTriangSet>(-1, 0, 4, -10, 10)));
    }
    return all;
}

void ExpectPointsIntoText(const ESyntax& error) {
    EXPECT_GE(error.Position(), 0) << error.Message();
    EXPECT_LE(error.Position(), static_cast<int>(error.Text().size())) << error.Message();
    EXPECT_FALSE(error.Message().empty());
}

// One text through every reader of one settings object.
void Check(CBasicSettings& settings, const std::string& text, int n) {
    std::vector<double> first;
    try {
        const auto value = settings.ParseValue(text, n);
        ASSERT_EQ(value->Count(), n);
        for (int k = 0; k < n; ++k) {
            const double degree = value->Sample(k);
            ASSERT_TRUE(degree >= 0 && degree <= 1) << "sample " << k << " is " << degree;
            first.push_back(degree);
        }
    } catch (const ESyntax& error) {
        ExpectPointsIntoText(error);
    }
    // A second reading gives the same: nothing of the first stays behind.
    try {
        const auto again = settings.ParseValue(text, n);
        std::vector<double> second;
        for (int k = 0; k < n; ++k)
            second.push_back(again->Sample(k));
        EXPECT_EQ(second, first);
    } catch (const ESyntax&) {
        EXPECT_TRUE(first.empty());
    }

    CLingTerm term(-10, -1, 0, 0);
    try {
        if (settings.ParseLingTerm(text, term) == 0) {
            EXPECT_GE(term.kind, 0);
            EXPECT_LE(term.kind, 3);
            EXPECT_GE(term.hedge, -1);
            EXPECT_LE(term.hedge, 7);
            EXPECT_TRUE(term.sign == 0 || term.sign == -1);
        }
    } catch (const ESyntax& error) {
        ExpectPointsIntoText(error);
    }

    try {
        settings.NormalizeText(text, &term);
    } catch (const ESyntax& error) {
        ExpectPointsIntoText(error);
    }
}

void CheckLinear(const std::string& original, int n) {
    std::string text = original;
    try {
        const std::vector<double> coefficients = CLinCSettings(0, 1).ParseValue(text, n);
        ASSERT_EQ(coefficients.size(), static_cast<size_t>(n) + 1);
        for (double c : coefficients)
            EXPECT_TRUE(std::isfinite(c));
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Position(), 0);
    }
    EXPECT_LE(text.size(), original.size());
}

TEST(ValueParsersFuzz, RandomBytesAndTokenSoups) {
    SCOPED_TRACE("seed " + std::to_string(kSeed));
    Texts texts(kSeed);
    auto all = AllSettings();
    const int sizes[] = {1, 2, 17};
    for (int round = 0; round < 600; ++round) {
        const std::string bytes = texts.Bytes(48);
        const std::string soup = texts.Soup(kCellWords, 12);
        for (auto& settings : all) {
            for (const std::string& text : {bytes, soup}) {
                SCOPED_TRACE("round " + std::to_string(round) + " text [" + text + "]");
                Check(*settings, text, sizes[round % 3]);
                if (HasFatalFailure())
                    return;
            }
        }
        CheckLinear(texts.Bytes(24), 2);
        CheckLinear(texts.Soup(kLinearWords, 10), round % 4);
    }
}

TEST(ValueParsersFuzz, LongAndDeepTexts) {
    Texts texts(kSeed + 1);
    auto all = AllSettings();
    std::string soup;
    while (soup.size() < 100000)
        soup += texts.Soup(kCellWords, 50);
    std::string chain;
    while (chain.size() < 100000)
        chain += "sm and (";
    const std::string texts100k[] = {
        soup,
        texts.Bytes(100000),
        std::string(50000, '(') + "sm" + std::string(50000, ')'),
        std::string(100000, '('),
        std::string(100000, ')'),
        chain,
        std::string(100000, ' ') + "sm",
        std::string(100000, '"'),
        std::string(100000, '\xe9'),
    };
    for (auto& settings : all) {
        for (const std::string& text : texts100k) {
            SCOPED_TRACE(std::string(settings->GetTypeName()) + " [" + text.substr(0, 20) + "...]");
            Check(*settings, text, 5);
        }
    }
    CLinguisticSettings settings(0, 1);
    const std::string deep = std::string(50000, '(') + "sm" + std::string(50000, ')');
    EXPECT_EQ(settings.ParseValue(deep, 11)->Sample(0), 1.0);
    CheckLinear(std::string(100000, 'x'), 3);
    CheckLinear(texts.Bytes(100000), 3);
    std::string sum;
    for (int i = 0; i < 20000; ++i)
        sum += "+ 0 ";
    CheckLinear(sum, 1);
}

}  // namespace
