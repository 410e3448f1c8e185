#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

class ParserVocabulary;

// Where a cell text names user terms, as the expression parser's lexer reads it: user terms
// before keywords, each name as a whole word. A name inside a longer word, or where another
// term's name is read first, is no use of that term. Renames and the test whether a term is in
// use go through these, so that they agree with what the parser will make of the cell.

struct UserTermWord {
    std::size_t start = 0;
    std::size_t length = 0;
    int row = 0;  // the term's row in the vocabulary
};

// In text order; nothing for a vocabulary whose cells are not expressions.
std::vector<UserTermWord> FindUserTermWords(const ParserVocabulary& vocabulary,
                                            const std::string& text);

// Whether a user-term word of the text reads name.
bool UsesUserTermName(const ParserVocabulary& vocabulary, const std::string& text,
                      std::string_view name);

// The text with every user-term word that is a key of renames replaced by its value, all at
// once, so that two names can swap; every other character stays as it was.
std::string RenameUserTerms(const ParserVocabulary& vocabulary, const std::string& text,
                            const std::map<std::string, std::string>& renames);
