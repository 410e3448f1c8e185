#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/lang/CNamedElement.h"
#include "core/lang/CSettings.h"
#include "core/lang/WordTables.h"

class CFuzzyDiscreteSet;
class CFuzzyQuadraticSet;
class CLingTerm;

// Settings whose cells are fuzzy expressions over user terms, joined by "and" and "or" and
// negated by "not". Match codes 0..n-1 are rows of this object's own lists, codes from
// kFixedCodeBase on rows of the fixed word tables, kNoMatch nothing.
class CBasicSettings : public CSettings {
  public:
    CBasicSettings(double lo, double hi);
    ~CBasicSettings() override;

    std::string_view GetTypeName() const override { return "basic"; }

    // The cell text as a new set of n samples on the context, not marked temporary. Operands are
    // combined strictly left to right within a pair of parentheses. The text ends at its first
    // NUL byte. Throws ESyntax with the message, the position in the spaced-out text and that
    // text; also for n below 1 ("bad value of discretization").
    virtual std::unique_ptr<CFuzzyDiscreteSet> ParseValue(std::string_view text, int n) const;
    // The meaning of a fixed evaluative term (atomic-term row 0..11, hedge row or -1) on the
    // normalised axis: none in these settings.
    virtual std::unique_ptr<CFuzzyQuadraticSet> MakeTermSet(int kind, int hedge) const;
    // "about x" on the normalised axis ([0, 1], or [-1, 1] in a symmetric context); x is not
    // checked against the context.
    virtual std::unique_ptr<CFuzzyQuadraticSet> MakeFuzzyNumber(double x) const;
    // Reads fixed evaluative terms up to the first word that is neither a term nor a hedge; the
    // last one read sets kind (0..3), hedge and sign of term. 0 when one was read, else -1 (term
    // then keeps its kind and hedge). Throws ESyntax ("bad sign").
    virtual int ParseLingTerm(std::string_view text, CLingTerm& term) const;

    std::span<const std::unique_ptr<CNamedTerm>> UserTerms() const override { return terms_; }
    const std::vector<std::unique_ptr<CNamedTerm>>& Terms() const { return terms_; }
    std::vector<std::unique_ptr<CNamedTerm>>& MutableTerms() { return terms_; }
    // Returns the new term's row. A set of one of the file's shapes is kept as the file gives it
    // back: that shape on the context, its parameters as the file holds them (RuleBaseNumber).
    int AddTerm(std::unique_ptr<CNamedTerm> term);

    // The user terms stay where they are and are put on the new context as AddTerm puts them.
    void SetContext(double lo, double hi) override;
    // The user terms move along with the context (their parameters mapped affinely from the old
    // context onto the new one), then are kept as AddTerm keeps them.
    void MoveContext(double lo, double hi);
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
    // Merges a clicked word or expression b into the expression a and returns the new text of
    // a, in short form: b's term replaces a's atomic term and sign, b's hedge a's hedge ("big" on
    // "ve sm" gives "ve bi", "ro" on "ve sm" gives "ro sm"). When the merged term has no text
    // (a compound expression or a number given a hedge, or an empty cell given only a hedge),
    // a is returned unchanged.
    std::string CombineExpressions(const std::string& a, const std::string& b) const;

    // Reads text with the recursive-descent grammar and returns it in long form, every word
    // written out in full ("ve sm and (ml bi)" gives "very small and (more or less big)"). When
    // term is given it receives kind, hedge, sign and user index of what was read. Throws
    // ESyntax with the cursor position and the text.
    virtual std::string NormalizeText(std::string_view text, CLingTerm* term = nullptr);

  protected:
    std::vector<std::unique_ptr<CNamedModifier>>& MutableModifiers() { return modifiers_; }

    // The search of this object's own lists.
    int MatchOwnTerm(const char*& cursor) const;
    int MatchOwnModifier(const char*& cursor) const;
    int MatchOwnConnective(const char*& cursor) const;

    // The grammar of NormalizeText; each returns true when it read its part.
    virtual void Emit(std::string_view piece);
    virtual bool ParseExpression();
    virtual bool ParseOperand();
    virtual bool ParseSignedTerm();
    virtual bool ParseModifier();
    virtual bool ParseConnective();
    virtual bool ParseAtomicTerm();

    // Scanner of the grammar. Match skips blanks first (unless word starts with one); with
    // blankBefore a blank must have been seen since the last word, with delimiterAfter a blank,
    // ")" or the end must follow. On a match the cursor moves past the word and, with echo, the
    // word is emitted.
    bool Match(std::string_view word, bool blankBefore, bool delimiterAfter, bool echo);
    // The row of the longest full or short form at the cursor that Match(word, true, true, ...)
    // would take, which is then read without echo; -1 when none is.
    int MatchFixedWord(std::span<const FixedWord> rows);
    bool AtEnd();
    [[noreturn]] void Fail(const char* message) const;
    // The term being filled, null when only the syntax is read.
    CLingTerm* ReadTerm() const { return reader_.term; }
    bool ReadCompound() const;

  private:
    void KeepAsFileHolds(CNamedTerm& term) const;

    struct Reader {
        std::string text;
        std::size_t cursor = 0;
        bool blankSeen = true;
        bool echo = false;
        bool glue = false;  // no blank before the next emitted piece
        int depth = 0;      // of open parentheses
        std::string output;
        CLingTerm* term = nullptr;
    };

    void SkipBlanks();

    std::vector<std::unique_ptr<CNamedTerm>> terms_;
    std::vector<std::unique_ptr<CNamedModifier>> modifiers_;
    std::vector<std::unique_ptr<CNamedConnective>> connectives_;
    bool symmetric_ = false;
    Reader reader_;
};
