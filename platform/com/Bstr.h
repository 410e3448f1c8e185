#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/com/Types.h"

// A BSTR is UTF-16 text with its byte length in the 4 bytes before the first character and a
// terminating zero after the last; the pointer points at the first character. Strings cross
// module boundaries as BSTRs: whoever receives one as a result frees it with SysFreeString.
extern "C" {
// Null for a null text and when memory runs out.
TAVOCOM_API BSTR SysAllocString(const OLECHAR* text) noexcept;
// Copies length characters (zeros may be among them); a null text gives length zeros.
TAVOCOM_API BSTR SysAllocStringLen(const OLECHAR* text, UINT length) noexcept;
TAVOCOM_API void SysFreeString(BSTR text) noexcept;
// Characters, not counting the terminator; 0 for null.
TAVOCOM_API UINT SysStringLen(BSTR text) noexcept;
TAVOCOM_API UINT SysStringByteLen(BSTR text) noexcept;
}

namespace platform::com {

struct BstrDeleter {
    void operator()(BSTR text) const noexcept { SysFreeString(text); }
};
using UniqueBstr = std::unique_ptr<OLECHAR, BstrDeleter>;

// Null only when memory runs out. Bytes that are not UTF-8 become U+FFFD each.
TAVOCOM_API BSTR Utf8ToBstr(std::string_view text) noexcept;
// text must be a BSTR or null (null reads as ""); its length prefix is used, so embedded zeros
// are kept. Unpaired surrogates become U+FFFD.
TAVOCOM_API std::string BstrToUtf8(BSTR text);

}  // namespace platform::com
