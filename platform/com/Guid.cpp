#include "platform/com/Guid.h"

namespace platform::com {

namespace {

constexpr std::string_view kUpperHex = "0123456789ABCDEF";

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Byte offsets of the groups in "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": the hex digit pairs
// of the 16 bytes in printing order.
constexpr int kPairOffsets[16] = {1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};
constexpr std::size_t kTextLength = 38;

void BytesInPrintingOrder(const GUID& guid, std::uint8_t (&bytes)[16]) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::uint8_t>(guid.Data1 >> (24 - 8 * i));
    bytes[4] = static_cast<std::uint8_t>(guid.Data2 >> 8);
    bytes[5] = static_cast<std::uint8_t>(guid.Data2);
    bytes[6] = static_cast<std::uint8_t>(guid.Data3 >> 8);
    bytes[7] = static_cast<std::uint8_t>(guid.Data3);
    for (int i = 0; i < 8; ++i)
        bytes[8 + i] = guid.Data4[i];
}

}  // namespace

std::string GuidToString(const GUID& guid) {
    std::string text = "{00000000-0000-0000-0000-000000000000}";
    std::uint8_t bytes[16];
    BytesInPrintingOrder(guid, bytes);
    for (int i = 0; i < 16; ++i) {
        text[kPairOffsets[i]] = kUpperHex[bytes[i] >> 4];
        text[kPairOffsets[i] + 1] = kUpperHex[bytes[i] & 0xf];
    }
    return text;
}

std::optional<GUID> GuidFromString(std::string_view text) noexcept {
    if (text.size() != kTextLength || text.front() != '{' || text.back() != '}')
        return std::nullopt;
    for (const std::size_t dash : {9u, 14u, 19u, 24u}) {
        if (text[dash] != '-')
            return std::nullopt;
    }
    std::uint8_t bytes[16];
    for (int i = 0; i < 16; ++i) {
        const int high = HexValue(text[kPairOffsets[i]]);
        const int low = HexValue(text[kPairOffsets[i] + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    GUID guid{};
    guid.Data1 = static_cast<std::uint32_t>(bytes[0]) << 24 |
                 static_cast<std::uint32_t>(bytes[1]) << 16 |
                 static_cast<std::uint32_t>(bytes[2]) << 8 | bytes[3];
    guid.Data2 = static_cast<std::uint16_t>(bytes[4] << 8 | bytes[5]);
    guid.Data3 = static_cast<std::uint16_t>(bytes[6] << 8 | bytes[7]);
    for (int i = 0; i < 8; ++i)
        guid.Data4[i] = bytes[8 + i];
    return guid;
}

}  // namespace platform::com
