#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/lang/ParserVocabulary.h"
#include "core/sets/CUniverse.h"
#include "core/text/ESyntax.h"

class CFEParser;
class CLingTerm;

// The language definition of a variable: its context and the vocabulary and parsers of its cells.
// One object may serve several variables of a rule base. Its parser sees it as a vocabulary.
class CSettings : public ParserVocabulary {
  public:
    virtual ~CSettings();
    CSettings(const CSettings&) = delete;
    CSettings& operator=(const CSettings&) = delete;

    // "basic", "triang", "linguistic" or "linc": also the settings word of the rulebase file.
    virtual std::string_view GetTypeName() const = 0;
    bool IsLinearCombination() const override { return false; }
    // None here; the basic family keeps a list.
    std::span<const std::unique_ptr<CNamedTerm>> UserTerms() const override { return {}; }

    const CUniverse& Context() const final { return context_; }
    double GetLowerBound() const { return context_.At(0).lo; }
    double GetUpperBound() const { return context_.At(0).hi; }
    // The context is kept as the rulebase file holds it (RuleBaseNumber). Callers that change a
    // context of the basic family call UpdateSymmetry afterwards.
    virtual void SetContext(double lo, double hi);

    // The error of a cell text, or nothing when the text is a valid cell of this variable.
    // Syntax errors carry the text and the position of the offending token; context errors
    // ("fuzzy number out of context") carry position -2 and no text.
    virtual std::optional<ESyntax> CheckExpression(const std::string& text) const;
    // Parses text into term, which starts as kind "not parsed", no user index and no hedge.
    // False when the text does not parse; a hedge the parser completed last (the text "ro")
    // is then left in term.
    bool TextToLingTerm(const std::string& text, CLingTerm& term) const;

    // This settings object's parser: scratch state, reused by every parse, hence available
    // through a const object too. Not for concurrent use.
    CFEParser& Parser() const { return *parser_; }

  protected:
    CSettings(double lo, double hi);

  private:
    CUniverse context_;
    std::unique_ptr<CFEParser> parser_;
};
