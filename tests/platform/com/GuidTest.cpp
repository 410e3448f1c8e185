#include "platform/com/Guid.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using platform::com::GuidFromString;
using platform::com::GuidToString;

constexpr CLSID kRuleBaseClass{
    0xCACC0193, 0xBEDF, 0x11D5, {0x94, 0xC0, 0x00, 0x30, 0x4F, 0x04, 0xDF, 0x79}};

TEST(Guid, PrintsAndReadsTheBracedUpperCaseForm) {
    EXPECT_EQ(GuidToString(kRuleBaseClass), "{CACC0193-BEDF-11D5-94C0-00304F04DF79}");
    EXPECT_EQ(GuidFromString("{CACC0193-BEDF-11D5-94C0-00304F04DF79}"), kRuleBaseClass);
    EXPECT_EQ(GuidFromString("{cacc0193-bedf-11d5-94c0-00304f04df79}"), kRuleBaseClass);
    EXPECT_EQ(GuidToString(GUID_NULL), "{00000000-0000-0000-0000-000000000000}");
}

TEST(Guid, RefusesEverythingButTheBracedForm) {
    for (const char* text :
         {"", "CACC0193-BEDF-11D5-94C0-00304F04DF79", "{CACC0193-BEDF-11D5-94C0-00304F04DF79",
          "{CACC0193-BEDF-11D5-94C0-00304F04DF7}", "{CACC0193-BEDF-11D5-94C0-00304F04DF79} ",
          " {CACC0193-BEDF-11D5-94C0-00304F04DF79}", "{CACC0193BEDF-11D5-94C0-00304F04DF79-}",
          "{CACC0193-BEDF-11D5-94C0-00304F04DF7G}", "(CACC0193-BEDF-11D5-94C0-00304F04DF79)",
          "{+ACC0193-BEDF-11D5-94C0-00304F04DF79}"}) {
        EXPECT_FALSE(GuidFromString(text).has_value()) << text;
    }
}

TEST(Guid, ComparesByValue) {
    GUID other = kRuleBaseClass;
    EXPECT_TRUE(IsEqualGUID(other, kRuleBaseClass));
    other.Data4[7] ^= 1;
    EXPECT_NE(other, kRuleBaseClass);
    EXPECT_LT(GUID_NULL, kRuleBaseClass);
}

TEST(Guid, RandomGuidsSurviveARoundTrip) {
    const unsigned seed = 20240611;
    std::mt19937 random(seed);
    for (int i = 0; i < 1000; ++i) {
        GUID guid{};
        guid.Data1 = static_cast<std::uint32_t>(random());
        guid.Data2 = static_cast<std::uint16_t>(random());
        guid.Data3 = static_cast<std::uint16_t>(random());
        for (auto& byte : guid.Data4)
            byte = static_cast<std::uint8_t>(random());
        const std::string text = GuidToString(guid);
        ASSERT_EQ(GuidFromString(text), guid) << "seed " << seed << ", text " << text;
    }
}

}  // namespace
