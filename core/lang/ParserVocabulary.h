#pragma once

#include <memory>
#include <span>

#include "core/lang/CNamedElement.h"

class CUniverse;

// What the expression parser, and the trees it builds, know of the settings that own them: the
// context that signs and numbers are checked against, whether cells are crisp numbers, and the
// user terms that the lexer matches by name. Every settings object is one; the parser and its
// trees keep a pointer to it and must not outlive it.
class ParserVocabulary {
  public:
    // Read at every use: it moves when the variable's bounds change.
    virtual const CUniverse& Context() const = 0;
    // True when cells are crisp numbers or linear combinations, never expressions.
    virtual bool IsLinearCombination() const = 0;
    // By row; a user term's row is what its tree node records.
    virtual std::span<const std::unique_ptr<CNamedTerm>> UserTerms() const = 0;

  protected:
    ParserVocabulary() = default;
    ~ParserVocabulary() = default;
};
