#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/lang/CNamedElement.h"
#include "core/lang/CSettings.h"

class CLingTerm;

// Settings whose cells are fuzzy expressions over user terms, joined by "and" and "or" and
// negated by "not". Match codes 0..n-1 are rows of this object's own lists, codes from
// kFixedCodeBase on rows of the fixed word tables, kNoMatch nothing.
class CBasicSettings : public CSettings {
  public:
    CBasicSettings(double lo, double hi);
    ~CBasicSettings() override;

    std::string_view GetTypeName() const override { return "basic"; }

    const std::vector<std::unique_ptr<CNamedTerm>>& Terms() const { return terms_; }
    std::vector<std::unique_ptr<CNamedTerm>>& MutableTerms() { return terms_; }
    // Returns the new term's row.
    int AddTerm(std::unique_ptr<CNamedTerm> term);
    const std::vector<std::unique_ptr<CNamedModifier>>& Modifiers() const { return modifiers_; }
    const std::vector<std::unique_ptr<CNamedConnective>>& Connectives() const {
        return connectives_;
    }

    // 1 when the context is symmetric about zero (lo = -hi), else 0; stored for the parsers.
    int UpdateSymmetry();
    bool IsSymmetric() const { return symmetric_; }

    // Each advances the cursor past the word (and one blank after it) on a match.
    virtual int MatchAtomicTerm(const char*& cursor) const;
    virtual int MatchModifier(const char*& cursor) const;
    virtual int MatchConnective(const char*& cursor) const;

    // The user term with the highest membership at x (the first of equal ones) as a term of
    // kind user term; false, with term untouched, when there are no user terms.
    bool BestTerm(double x, CLingTerm& term) const;
    // Appends copies of other's user terms, their parameters unscaled, on this context.
    int CopyTerms(const CBasicSettings& other);
    // The full name of a user term, else the term's short form; 0, or -1 when it has none.
    int TermToText(const CLingTerm& term, std::string& text) const;

  protected:
    std::vector<std::unique_ptr<CNamedModifier>>& MutableModifiers() { return modifiers_; }

    // The search of this object's own lists.
    int MatchOwnTerm(const char*& cursor) const;
    int MatchOwnModifier(const char*& cursor) const;
    int MatchOwnConnective(const char*& cursor) const;

  private:
    std::vector<std::unique_ptr<CNamedTerm>> terms_;
    std::vector<std::unique_ptr<CNamedModifier>> modifiers_;
    std::vector<std::unique_ptr<CNamedConnective>> connectives_;
    bool symmetric_ = false;
};
