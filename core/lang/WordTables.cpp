#include "core/lang/WordTables.h"

#include <cstring>

bool MatchWordAt(const char*& cursor, std::string_view word) {
    // strncmp stops at the text's NUL, so a shorter text never matches and is never overread.
    if (word.empty() || std::strncmp(cursor, word.data(), word.size()) != 0)
        return false;
    const char after = cursor[word.size()];
    if (after != ' ' && after != '\0')
        return false;
    cursor += word.size();
    if (*cursor == ' ')
        ++cursor;
    return true;
}
