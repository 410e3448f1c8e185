#include "platform/com/ErrorInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/com/Bstr.h"
#include "platform/com/ComPtr.h"

namespace {

using platform::com::ComPtr;

constexpr IID kSomeInterface{0x12345678, 0x9ABC, 0xDEF0, {1, 2, 3, 4, 5, 6, 7, 8}};

std::string DescriptionOf(IErrorInfo& info) {
    BSTR text = nullptr;
    EXPECT_EQ(info.GetDescription(&text), S_OK);
    const platform::com::UniqueBstr owned(text);
    return platform::com::BstrToUtf8(owned.get());
}

// The thread's error information, taken.
std::string Taken() {
    ComPtr<IErrorInfo> info;
    const HRESULT status = GetErrorInfo(0, info.ReleaseAndGetAddressOf());
    if (status == S_FALSE) {
        EXPECT_FALSE(info);
        return "(none)";
    }
    EXPECT_EQ(status, S_OK);
    return DescriptionOf(*info.Get());
}

TEST(ErrorInfo, TakenOnceAndReplacedOrClearedBySetErrorInfo) {
    EXPECT_EQ(Taken(), "(none)");
    ASSERT_EQ(platform::com::ReportError(kSomeInterface, "Test.Source", "first ü"), S_OK);
    ASSERT_EQ(platform::com::ReportError(kSomeInterface, "Test.Source", "second"), S_OK);
    EXPECT_EQ(Taken(), "second");
    EXPECT_EQ(Taken(), "(none)");

    ComPtr<IErrorInfo> info;
    ASSERT_EQ(platform::com::CreateErrorInfo(kSomeInterface, "Test.Source", "kept",
                                             info.ReleaseAndGetAddressOf()),
              S_OK);
    GUID guid{};
    EXPECT_EQ(info->GetGUID(&guid), S_OK);
    EXPECT_EQ(guid, kSomeInterface);
    BSTR helpFile = SysAllocString(u"x");
    EXPECT_EQ(info->GetHelpFile(&helpFile), S_OK);
    EXPECT_EQ(helpFile, nullptr);
    ASSERT_EQ(SetErrorInfo(0, info.Get()), S_OK);
    ASSERT_EQ(SetErrorInfo(0, nullptr), S_OK);
    EXPECT_EQ(Taken(), "(none)");
    EXPECT_EQ(DescriptionOf(*info.Get()), "kept");  // the caller's reference outlives the clear

    EXPECT_EQ(SetErrorInfo(1, info.Get()), E_INVALIDARG);
    EXPECT_EQ(GetErrorInfo(0, nullptr), E_POINTER);
}

TEST(ErrorInfo, EachThreadHasItsOwn) {
    ASSERT_EQ(platform::com::ReportError(kSomeInterface, "Test.Source", "main"), S_OK);
    std::string seenByOther;
    std::thread([&] {
        seenByOther = Taken();
        // Left behind on purpose: it goes with the thread.
        platform::com::ReportError(kSomeInterface, "Test.Source", "other");
    }).join();
    EXPECT_EQ(seenByOther, "(none)");
    EXPECT_EQ(Taken(), "main");
}

}  // namespace
