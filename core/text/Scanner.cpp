#include "core/text/Scanner.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <stdexcept>
#include <system_error>

#include "core/text/ESyntax.h"
#include "core/text/NumberScan.h"

namespace {

// The texts come from files written on systems where char is signed; the tests against 32
// depend on it.
int SignedByte(char c) {
    return static_cast<signed char>(c);
}

bool IsSpaceByte(char c) {
    return SignedByte(c) >= 1 && SignedByte(c) <= 32;
}

bool IsBlankInLine(const char* p) {
    return IsSpaceByte(*p) && !IsLineEnd(p);
}

bool IsNumberChar(char c) {
    return (c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'e' || c == 'E' || c == '.';
}

bool IsSpaceOutDelimiter(char c) {
    switch (c) {
        case '(':
        case ')':
        case '<':
        case '>':
        case '{':
        case '}':
        case ',':
            return true;
        default:
            return SignedByte(c) <= 32;
    }
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

bool IsLineEnd(const char* p) {
    return *p == '\n' || *p == '\r';
}

void SkipSpace(const char*& p) {
    while (IsSpaceByte(*p))
        ++p;
}

void SkipLineEnd(const char*& p) {
    if (!IsLineEnd(p))
        return;
    const char first = *p++;
    if (IsLineEnd(p) && *p != first)
        ++p;
}

void BackOverLineEnd(const char*& p, const char* limit) {
    if (p <= limit || !IsLineEnd(p - 1))
        return;
    const char last = *--p;
    if (p > limit && IsLineEnd(p - 1) && p[-1] != last)
        --p;
}

void NextLine(const char*& p) {
    while (*p != '\0' && !IsLineEnd(p))
        ++p;
    SkipLineEnd(p);
}

void NextItem(const char*& p) {
    while (*p != '\0' && *p != ',' && !IsLineEnd(p))
        ++p;
    while (*p == ',' || IsBlankInLine(p))
        ++p;
}

void SkipNumber(const char*& p) {
    while (IsNumberChar(*p))
        ++p;
}

void TrimRight(std::string& s) {
    const auto kept =
        std::find_if(s.rbegin(), s.rend(), [](char c) { return SignedByte(c) >= 33; });
    s.erase(kept.base(), s.end());
}

std::string CopyToken(const char* start, const char* end) {
    if (end == nullptr) {
        end = start;
        while (SignedByte(*end) >= 32 && *end != ',')
            ++end;
    }
    return std::string(start, end);
}

int CountItems(const char* s) {
    SkipSpace(s);
    if (*s == '\0')
        return 0;
    int count = 1;
    for (; *s != '\0' && !IsLineEnd(s); ++s) {
        if (*s == ',')
            ++count;
    }
    return count;
}

std::vector<double> ReadNumbers(const char* s, int maxCount) {
    std::vector<double> numbers;
    std::string field;
    const char* p = s;
    const ClassicNumbersScope classicNumbers;
    while (static_cast<int>(numbers.size()) < maxCount) {
        SkipSpace(p);
        // sscanf measures its whole input first; handing it only the field and the byte that
        // ends it keeps the cost per number independent of the text behind it. A "%f"
        // conversion never reaches beyond that byte, so the result is the same.
        const char* fieldEnd = p;
        while (SignedByte(*fieldEnd) >= 33)
            ++fieldEnd;
        field.assign(p, fieldEnd);
        if (*fieldEnd != '\0')
            field.push_back(*fieldEnd);

        float value = 0.0f;
        int consumed = 0;
        if (std::sscanf(field.c_str(), "%f%n", &value, &consumed) != 1)
            break;
        numbers.push_back(value);

        // "inf", "nan" and hex numbers hold letters that the number skip does not pass; the
        // cursor must still move past what was converted, or the same number is read again.
        const char* afterNumber = p;
        SkipNumber(afterNumber);
        p = std::max(afterNumber, p + consumed);
    }
    return numbers;
}

std::string SpaceOut(const char* s) {
    std::string out;
    while (*s == ' ')
        ++s;
    for (; *s != '\0'; ++s) {
        const char c = *s;
        const bool setApart = c != ' ' && IsSpaceOutDelimiter(c);
        if (setApart && !out.empty() && out.back() != ' ')
            out.push_back(' ');
        out.push_back(c);
        if (setApart)
            out.push_back(' ');
        if (out.size() >= 2 && out.back() == ' ' && out[out.size() - 2] == ' ')
            out.pop_back();
    }
    if (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::vector<std::string> SplitBySpaces(const char* s) {
    std::vector<std::string> pieces;
    if (*s == '\0')
        return pieces;
    const char* pieceStart = s;
    for (;; ++s) {
        if (*s == ' ' || *s == '\0') {
            pieces.emplace_back(pieceStart, s);
            if (*s == '\0')
                break;
            pieceStart = s + 1;
        }
    }
    return pieces;
}

std::string ReadFileText(const std::string& fileName) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(fileName.c_str(), "rb"));
    // A directory opens for reading here but has no bytes to give.
    std::error_code ignored;
    if (!file || std::filesystem::is_directory(fileName, ignored)) {
        throw ESyntax("cannot read file by open", 0, fileName);
    }
    if (std::fseek(file.get(), 0, SEEK_END) != 0) {
        throw ESyntax("cannot read file by seek 1", 0, fileName);
    }
    const long length = std::ftell(file.get());
    if (length < 0)
        throw ESyntax("cannot read file by seek 1", 0, fileName);
    if (std::fseek(file.get(), 0, SEEK_SET) != 0) {
        throw ESyntax("cannot read file by seek 2", 0, fileName);
    }

    std::string text;
    try {
        text.resize(static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        throw ESyntax("cannot read file by read", 0, fileName);
    } catch (const std::length_error&) {
        throw ESyntax("cannot read file by read", 0, fileName);
    }
    if (std::fread(text.data(), 1, text.size(), file.get()) != text.size()) {
        throw ESyntax("cannot read file by read", 0, fileName);
    }
    return text;
}

std::optional<std::string> ExtractBetweenMarkers(const char* text, std::string_view startMarker,
                                                 std::optional<std::string_view> endMarker,
                                                 bool strict) {
    const std::string_view whole(text);
    const std::size_t startAt = whole.find(startMarker);
    if (startAt == std::string_view::npos) {
        if (strict)
            throw ESyntax("missing: " + std::string(startMarker), 0, text);
        return std::nullopt;
    }

    const char* cursor = text + startAt + startMarker.size();
    while (IsBlankInLine(cursor))
        ++cursor;
    SkipLineEnd(cursor);
    if (!endMarker)
        return CopyToken(cursor);

    const std::size_t endAt = std::string_view(cursor).find(*endMarker);
    if (endAt == std::string_view::npos) {
        if (strict)
            throw ESyntax("missing: " + std::string(*endMarker), 0, text);
        return std::nullopt;
    }
    // Stepping back stops at the cursor: with nothing but a line break between the markers the
    // two trims would otherwise overlap.
    const char* end = cursor + endAt;
    while (end > cursor && IsBlankInLine(end - 1))
        --end;
    BackOverLineEnd(end, cursor);
    return std::string(cursor, end);
}
