// Random texts for the cell readers: each gives a result or an ESyntax that points into its text,
// never a crash, a hang or a read out of bounds (which the sanitized build catches).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/lang/CLinCSettings.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "core/sets/CFuzzyDiscreteSet.h"
#include "core/sets/CFuzzyTriangSet.h"
#include "core/text/ESyntax.h"

namespace {

constexpr unsigned kSeed = 1234567;

const std::vector<std::string> kCellWords = {
    "sm",  "me",    "bi", "ze",           "+sm",  "-bi", "small", "+",     "-",     "(",
    ")",   "ve",    "vr", "very roughly", "ra",   "not", "no",    "and",   "or",    "land",
    "lor", "about", "3",  "-0.2",         "1e-3", "nan", "1e999", "undef", "ignor", "mine",
    "\"",  "'",     "\t", "\xc3\xa9",     "\xff", ",",   "<",     "}"};
const std::vector<std::string> kLinearWords = {"x", "X", "x1",  "x2", "x0",  "x-1",
                                               "*", "+", "-",   "0",  "2.5", "1e-3",
                                               "e", " ", "nan", ".",  "\xff"};

class Texts {
  public:
    explicit Texts(unsigned seed) : random_(seed) {}

    std::string Bytes(int maxLength) {
        std::string text(Below(maxLength + 1), '\0');
        for (char& c : text)
            c = static_cast<char>(Below(256));
        return text;
    }

    std::string Soup(const std::vector<std::string>& words, int maxWords) {
        std::string text;
        for (int i = Below(maxWords + 1); i > 0; --i)
            text += words[Below(static_cast<int>(words.size()))] + std::string(Below(3), ' ');
        return text;
    }

  private:
    int Below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(random_); }
    std::mt19937 random_;
};

std::vector<std::unique_ptr<CBasicSettings>> AllSettings() {
    std::vector<std::unique_ptr<CBasicSettings>> all;
    all.push_back(std::make_unique<CBasicSettings>(0, 10));
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
}

// One text through every reader of one settings object. Reading twice gives the same, so no
// state of a reading stays behind.
void Check(CBasicSettings& settings, const std::string& text, int n) {
    std::vector<std::vector<double>> readings;
    for (int reading = 0; reading < 2; ++reading) {
        try {
            const auto value = settings.ParseValue(text, n);
            ASSERT_EQ(value->Count(), n);
            readings.emplace_back(value->Values().begin(), value->Values().end());
            for (double degree : readings.back())
                ASSERT_TRUE(degree >= 0 && degree <= 1) << degree;
        } catch (const ESyntax& error) {
            ExpectPointsIntoText(error);
        }
    }
    EXPECT_TRUE(readings.size() != 1 && (readings.empty() || readings[0] == readings[1]));

    CLingTerm term(-10, -1, 0, 0);
    try {
        if (settings.ParseLingTerm(text, term) == 0) {
            EXPECT_TRUE(term.kind >= 0 && term.kind <= 3 && term.hedge >= -1 && term.hedge <= 7);
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

void CheckLinear(std::string text, int n) {
    try {
        for (double c : CLinCSettings(0, 1).ParseValue(text, n))
            EXPECT_TRUE(std::isfinite(c));
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Position(), 0);
    }
}

TEST(ValueParsersFuzz, RandomBytesAndTokenSoups) {
    SCOPED_TRACE("seed " + std::to_string(kSeed));
    Texts texts(kSeed);
    auto all = AllSettings();
    for (int round = 0; round < 600; ++round) {
        const std::string cells[] = {texts.Bytes(48), texts.Soup(kCellWords, 12)};
        for (auto& settings : all) {
            for (const std::string& text : cells) {
                SCOPED_TRACE("round " + std::to_string(round) + " [" + text + "]");
                Check(*settings, text, 1 + round % 17);
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
    std::string soup, chain;
    while (soup.size() < 100000)
        soup += texts.Soup(kCellWords, 50);
    while (chain.size() < 100000)
        chain += "sm and (";
    const std::string longTexts[] = {
        soup,
        texts.Bytes(100000),
        std::string(50000, '(') + "sm" + std::string(50000, ')'),
        std::string(100000, ')'),
        chain,
        std::string(100000, ' ') + "sm",
        std::string(100000, '"'),
    };
    for (auto& settings : AllSettings()) {
        for (const std::string& text : longTexts)
            Check(*settings, text, 5);
    }
    const std::string deep = std::string(50000, '(') + "sm" + std::string(50000, ')');
    EXPECT_EQ(CLinguisticSettings(0, 1).ParseValue(deep, 11)->Sample(0), 1.0);
    CheckLinear(std::string(100000, 'x'), 3);
    CheckLinear(texts.Soup(kLinearWords, 30000), 3);
}

}  // namespace
