#include "core/lang/UserTermWords.h"

#include "core/lang/CFEParser.h"

std::vector<UserTermWord> FindUserTermWords(const ParserVocabulary& vocabulary,
                                            const std::string& text) {
    // A parser of its own: the vocabulary's parser may be in the middle of a parse.
    CFEParser lexer(&vocabulary);
    lexer.SetInput(text.c_str());
    std::vector<UserTermWord> words;
    for (int token = lexer.NextToken(); token != CFEParser::kEndOfText; token = lexer.NextToken()) {
        if (token == CFEParser::kUserTerm)
            words.push_back({static_cast<std::size_t>(lexer.TokenStart()),
                             static_cast<std::size_t>(lexer.Position() - lexer.TokenStart()),
                             lexer.TokenCode()});
    }
    return words;
}

bool UsesUserTermName(const ParserVocabulary& vocabulary, const std::string& text,
                      std::string_view name) {
    for (const UserTermWord& word : FindUserTermWords(vocabulary, text)) {
        if (std::string_view(text).substr(word.start, word.length) == name)
            return true;
    }
    return false;
}

std::string RenameUserTerms(const ParserVocabulary& vocabulary, const std::string& text,
                            const std::map<std::string, std::string>& renames) {
    std::string renamed;
    std::size_t copied = 0;
    for (const UserTermWord& word : FindUserTermWords(vocabulary, text)) {
        const auto found = renames.find(text.substr(word.start, word.length));
        if (found == renames.end())
            continue;
        renamed.append(text, copied, word.start - copied);
        renamed += found->second;
        copied = word.start + word.length;
    }
    renamed.append(text, copied);
    return renamed;
}
