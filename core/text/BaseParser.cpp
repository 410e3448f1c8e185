#include "core/text/BaseParser.h"

namespace {

bool IsLetterOrDigit(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

}  // namespace

void BaseParser::SetInput(const char* input) {
    position = 0;
    text = input;
    state = ParserState::kGood;
}

void BaseParser::SkipBlanks() {
    if (text == nullptr)
        return;
    while (IsBlank(text[position]))
        ++position;
}

bool BaseParser::MatchWord(std::string_view word) {
    if (text == nullptr)
        return false;
    const char* at = text + position;
    std::size_t length = 0;
    for (; length < word.size(); ++length) {
        // The NUL test keeps a word with an embedded NUL from reading past the text's end.
        if (at[length] == '\0' || at[length] != word[length])
            return false;
    }
    if (IsLetterOrDigit(at[length]))
        return false;
    position += static_cast<int>(length);
    return true;
}
