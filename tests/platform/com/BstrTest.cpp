#include "platform/com/Bstr.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using platform::com::BstrToUtf8;
using platform::com::UniqueBstr;
using platform::com::Utf8ToBstr;

std::uint32_t Prefix(BSTR text) {
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, reinterpret_cast<const char*>(text) - 4, 4);
    return bytes;
}

TEST(Bstr, HoldsItsByteLengthBeforeTheTextAndAZeroAfterIt) {
    const UniqueBstr text(SysAllocString(u"RuleBase"));
    ASSERT_TRUE(text);
    EXPECT_EQ(SysStringLen(text.get()), 8u);
    EXPECT_EQ(SysStringByteLen(text.get()), 16u);
    EXPECT_EQ(Prefix(text.get()), 16u);
    EXPECT_EQ(text.get()[8], u'\0');
    EXPECT_EQ(std::u16string(text.get()), u"RuleBase");
}

TEST(Bstr, KeepsEmbeddedZerosAndZeroFillsWithoutSource) {
    const char16_t withZero[] = {u'a', 0, u'b'};
    const UniqueBstr copy(SysAllocStringLen(withZero, 3));
    EXPECT_EQ(SysStringLen(copy.get()), 3u);
    EXPECT_EQ(std::u16string(copy.get(), 3), std::u16string(withZero, 3));

    const UniqueBstr blank(SysAllocStringLen(nullptr, 4));
    ASSERT_TRUE(blank);
    EXPECT_EQ(SysStringLen(blank.get()), 4u);
    EXPECT_EQ(std::u16string(blank.get(), 5), std::u16string(5, u'\0'));
}

TEST(Bstr, NullIsAnEmptyStringEverywhere) {
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysStringByteLen(nullptr), 0u);
    SysFreeString(nullptr);
    EXPECT_EQ(BstrToUtf8(nullptr), "");
    const UniqueBstr empty(SysAllocString(u""));
    ASSERT_TRUE(empty);  // empty, not null
    EXPECT_EQ(SysStringLen(empty.get()), 0u);
}

TEST(Bstr, ALengthPastThePrefixIsRefused) {
    EXPECT_EQ(SysAllocStringLen(nullptr, 0x80000000u), nullptr);
}

TEST(Bstr, Utf8RoundTripsIncludingCharactersBeyondTheBasicPlane) {
    for (const std::string& text : std::vector<std::string>{
             "", "C:\\rules\\model.rb", "příliš žluťoučký", "€ 𝄞 😀", std::string("a\0b", 3)}) {
        const UniqueBstr bstr(Utf8ToBstr(text));
        ASSERT_TRUE(bstr);
        EXPECT_EQ(BstrToUtf8(bstr.get()), text);
    }
    const UniqueBstr clef(Utf8ToBstr("𝄞"));
    EXPECT_EQ(std::u16string(clef.get()), u"𝄞");
    EXPECT_EQ(SysStringLen(clef.get()), 2u);  // a surrogate pair
}

TEST(Bstr, MalformedTextBecomesReplacementCharacters) {
    struct Case {
        std::string utf8;
        std::u16string utf16;
    };
    for (const Case& c :
         {Case{"a\xff"
               "b",
               u"a\uFFFDb"},
          Case{"\xc0\xaf", u"\uFFFD\uFFFD"}, Case{"\xed\xa0\x80", u"\uFFFD\uFFFD\uFFFD"},
          Case{"\xe2\x82", u"\uFFFD\uFFFD"},
          Case{"\xf4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}}) {
        const UniqueBstr bstr(Utf8ToBstr(c.utf8));
        EXPECT_EQ(std::u16string(bstr.get(), SysStringLen(bstr.get())), c.utf16);
    }
    const char16_t loneSurrogates[] = {0xD800, u'x', 0xDC00};
    const UniqueBstr bstr(SysAllocStringLen(loneSurrogates, 3));
    EXPECT_EQ(BstrToUtf8(bstr.get()), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

}  // namespace
