#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com/Types.h"

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
    friend constexpr std::strong_ordering operator<=>(const GUID&, const GUID&) = default;
};

using IID = GUID;
using CLSID = GUID;
using REFGUID = const GUID&;
using REFIID = const IID&;
using REFCLSID = const CLSID&;

constexpr GUID GUID_NULL{};

constexpr bool IsEqualGUID(REFGUID a, REFGUID b) {
    return a == b;
}

namespace platform::com {

// The registry form: braces, upper-case hexadecimal, "{CACC0193-BEDF-11D5-94C0-00304F04DF79}".
TAVOCOM_API std::string GuidToString(const GUID& guid);
// Reads the braced form in either case; nothing else (no missing braces, no spaces).
TAVOCOM_API std::optional<GUID> GuidFromString(std::string_view text) noexcept;

}  // namespace platform::com
