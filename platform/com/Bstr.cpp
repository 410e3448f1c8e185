#include "platform/com/Bstr.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

using Prefix = std::uint32_t;
constexpr char32_t kReplacement = 0xFFFD;

// Also keeps the byte count of the prefix within 32 bits.
constexpr UINT kMaxLength = (std::numeric_limits<Prefix>::max() - sizeof(Prefix) - 2) / 2;

char* Block(BSTR text) {
    return reinterpret_cast<char*>(text) - sizeof(Prefix);
}

// Decodes one UTF-8 sequence at text[at], advancing at; a malformed sequence yields U+FFFD and
// skips one byte, so that decoding always moves on.
char32_t DecodeUtf8(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80)
        return lead;
    int extra = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    if (at + extra > text.size())
        return kReplacement;
    for (int i = 0; i < extra; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80)
            return kReplacement;
        code = code << 6 | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not characters.
    if (code < minimum || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return kReplacement;
    }
    at += extra;
    return code;
}

void EncodeUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | code >> 6);
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | code >> 12);
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | code >> 18);
        out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

extern "C" {

BSTR SysAllocStringLen(const OLECHAR* text, UINT length) noexcept {
    if (length > kMaxLength)
        return nullptr;
    const std::size_t bytes = std::size_t{length} * sizeof(OLECHAR);
    // calloc: a null text asks for zeros, and the terminator is a zero too.
    auto* block = static_cast<char*>(std::calloc(1, sizeof(Prefix) + bytes + sizeof(OLECHAR)));
    if (block == nullptr)
        return nullptr;
    const auto prefix = static_cast<Prefix>(bytes);
    std::memcpy(block, &prefix, sizeof prefix);
    auto* characters = reinterpret_cast<BSTR>(block + sizeof(Prefix));
    if (text != nullptr && length > 0)
        std::memcpy(characters, text, bytes);
    return characters;
}

BSTR SysAllocString(const OLECHAR* text) noexcept {
    if (text == nullptr)
        return nullptr;
    std::size_t length = 0;
    while (text[length] != 0)
        ++length;
    if (length > kMaxLength)
        return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(length));
}

void SysFreeString(BSTR text) noexcept {
    if (text != nullptr)
        std::free(Block(text));
}

UINT SysStringByteLen(BSTR text) noexcept {
    if (text == nullptr)
        return 0;
    Prefix bytes;
    std::memcpy(&bytes, Block(text), sizeof bytes);
    return bytes;
}

UINT SysStringLen(BSTR text) noexcept {
    return SysStringByteLen(text) / sizeof(OLECHAR);
}

}  // extern "C"

namespace platform::com {

BSTR Utf8ToBstr(std::string_view text) noexcept {
    try {
        std::u16string utf16;
        utf16.reserve(text.size());
        for (std::size_t at = 0; at < text.size();) {
            const char32_t code = DecodeUtf8(text, at);
            if (code < 0x10000) {
                utf16 += static_cast<char16_t>(code);
            } else {
                utf16 += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
                utf16 += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
            }
        }
        if (utf16.size() > kMaxLength)
            return nullptr;
        return SysAllocStringLen(utf16.data(), static_cast<UINT>(utf16.size()));
    } catch (...) {
        return nullptr;
    }
}

std::string BstrToUtf8(BSTR text) {
    const UINT length = SysStringLen(text);
    std::string utf8;
    utf8.reserve(length);
    for (UINT i = 0; i < length; ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        EncodeUtf8(code, utf8);
    }
    return utf8;
}

}  // namespace platform::com
