#pragma once

#include <cstdint>
#include <string_view>

// The state byte of a parse: good until the text is rejected.
enum class ParserState : std::uint8_t {
    kFailed = 0,
    kGood = 1,
    kForbiddenSign = 2,  // a "-" in a context that is not symmetric about zero
};

// Cursor state shared by the expression parsers. The derived parser keeps the token start and
// records the start of the offending token as the saved token start when it rejects a text.
class BaseParser {
  public:
    BaseParser() = default;
    BaseParser(const BaseParser&) = delete;
    BaseParser& operator=(const BaseParser&) = delete;
    virtual ~BaseParser() = default;

    // Starts scanning a NUL-terminated text, which is not copied and must outlive the scan.
    virtual void SetInput(const char* input);

    static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
    void SkipBlanks();
    // Exact, case-sensitive; the word must not continue with a letter or a digit in the text.
    // On a match the position moves past the word.
    bool MatchWord(std::string_view word);

    int Position() const { return position; }
    int TokenStart() const { return tokenStart; }
    const char* Text() const { return text; }
    ParserState State() const { return state; }
    int SavedTokenStart() const { return savedTokenStart; }

  protected:
    int position = 0;
    int tokenStart = 0;
    const char* text = nullptr;
    // Good after SetInput; the derived parser sets the others.
    ParserState state = ParserState::kFailed;
    int savedTokenStart = 0;
};
