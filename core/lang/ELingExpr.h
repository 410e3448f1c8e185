#pragma once

#include <cstdint>
#include <memory>
#include <string>

class CLingTerm;
class ParserVocabulary;

// A node of the tree that the expression parser builds from a cell text. The tree prints the
// normalised long form of the text, converts to a term record, checks itself against the
// variable's context and moves or clamps its numbers when a context changes. Term nodes point
// to the vocabulary of the settings that parsed them (not owned): a tree must not outlive its
// settings.
class ELingExpr {
  public:
    enum NodeKind : std::uint8_t {
        kLingExpr = 0,
        kSingleton = 1,
        kSpecial = 2,
        kFuzzyExpr = 3,
        kUndef = 4,
        kIgnor = 5,
        kModifTerm = 6,
        kTerm = 7,
        kUserTerm = 8,
        kFuzzyTerm = 9,
        kFuzzyNumber = 10,
        kZeroTerm = 11,
        kBinary = 12,
    };

    virtual ~ELingExpr() = default;
    ELingExpr(const ELingExpr&) = delete;
    ELingExpr& operator=(const ELingExpr&) = delete;

    NodeKind Kind() const { return kind_; }
    // Set on the node that stood inside "(" ")"; only a compound node prints the parentheses.
    bool IsParenthesised() const { return parenthesised_; }
    void SetParenthesised(bool parenthesised) { parenthesised_ = parenthesised; }

    // True only for this very node.
    virtual bool IsSameNode(const ELingExpr& other) const { return &other == this; }
    // Replaces text with the normalised long form ("ve sm" gives "very small").
    void ToText(std::string& text) const;
    std::string ToText() const;
    // Sets only the fields this kind of node knows; the caller starts from a default term.
    virtual void ToLingTerm(CLingTerm& /*term*/) const {}
    // Throws ESyntax (position -2, no text) when the node does not fit its settings' context.
    virtual bool Validate() const { return true; }
    // Numbers only: moves the value linearly from [oldLo, oldHi] onto [newLo, newHi].
    virtual void Rescale(double /*newLo*/, double /*newHi*/, double /*oldLo*/, double /*oldHi*/) {}
    virtual void Clamp(double /*lo*/, double /*hi*/) {}
    virtual bool IsInRange(double /*lo*/, double /*hi*/) const { return true; }

    // Appends the text of ToText.
    virtual void AppendText(std::string& /*text*/) const {}

  protected:
    explicit ELingExpr(NodeKind kind) : kind_(kind) {}

  private:
    NodeKind kind_;
    bool parenthesised_ = false;
};

// A crisp number: the cell of a singleton variable.
class ESingletonExpr : public ELingExpr {
  public:
    explicit ESingletonExpr(double value) : ELingExpr(kSingleton), value_(value) {}

    double Value() const { return value_; }

    void AppendText(std::string& text) const override;
    void Rescale(double newLo, double newHi, double oldLo, double oldHi) override;
    void Clamp(double lo, double hi) override;
    bool IsInRange(double lo, double hi) const override;

  private:
    double value_;
};

class ESpecialExpr : public ELingExpr {
  protected:
    using ELingExpr::ELingExpr;
};

// "undef"
class EUndefExpr : public ESpecialExpr {
  public:
    EUndefExpr() : ESpecialExpr(kUndef) {}

    void AppendText(std::string& text) const override;
    void ToLingTerm(CLingTerm& term) const override;
};

// "ignor"
class EIgnorExpr : public ESpecialExpr {
  public:
    EIgnorExpr() : ESpecialExpr(kIgnor) {}

    void AppendText(std::string& text) const override;
    void ToLingTerm(CLingTerm& term) const override;
};

class EFuzzyExpr : public ELingExpr {
  protected:
    using ELingExpr::ELingExpr;
};

// A term of a variable; the vocabulary is null for a parser without an owner.
class ETerm : public EFuzzyExpr {
  public:
    const ParserVocabulary* Vocabulary() const { return vocabulary_; }

  protected:
    ETerm(NodeKind kind, const ParserVocabulary* vocabulary)
        : EFuzzyExpr(kind), vocabulary_(vocabulary) {}

  private:
    const ParserVocabulary* vocabulary_;
};

// A term with an optional modifier: a hedge row 0..7, the negation, "about", or none.
class EModifTerm : public ETerm {
  public:
    static constexpr std::int8_t kNoModifier = -1;
    static constexpr std::int8_t kNegation = 8;
    static constexpr std::int8_t kAbout = 10;

    std::int8_t Modifier() const { return modifier_; }

  protected:
    EModifTerm(NodeKind kind, const ParserVocabulary* vocabulary, int modifier)
        : ETerm(kind, vocabulary), modifier_(static_cast<std::int8_t>(modifier)) {}

    void AppendModifierText(std::string& text) const;

  private:
    std::int8_t modifier_;
};

// [sign] [hedge] small / medium / big
class EFuzzyTerm : public EModifTerm {
  public:
    // atom: 0 small, 1 medium, 2 big.
    EFuzzyTerm(const ParserVocabulary* vocabulary, int hedge, int atom)
        : EModifTerm(kFuzzyTerm, vocabulary, hedge), atom_(static_cast<std::uint8_t>(atom)) {}

    int Sign() const { return sign_; }
    void SetSign(int sign) { sign_ = static_cast<std::int8_t>(sign); }
    int Atom() const { return atom_; }

    void AppendText(std::string& text) const override;
    void ToLingTerm(CLingTerm& term) const override;
    bool Validate() const override;

  private:
    std::int8_t sign_ = 0;
    std::uint8_t atom_;
};

// [sign] [hedge] zero
class EZeroTerm : public EModifTerm {
  public:
    EZeroTerm(const ParserVocabulary* vocabulary, int hedge)
        : EModifTerm(kZeroTerm, vocabulary, hedge) {}

    int Sign() const { return sign_; }
    void SetSign(int sign) { sign_ = static_cast<std::int8_t>(sign); }

    void AppendText(std::string& text) const override;
    void ToLingTerm(CLingTerm& term) const override;

  private:
    std::int8_t sign_ = 0;
};

// about x
class EFuzzyNumber : public EModifTerm {
  public:
    EFuzzyNumber(const ParserVocabulary* vocabulary, double number)
        : EModifTerm(kFuzzyNumber, vocabulary, kAbout), number_(number) {}

    double Number() const { return number_; }

    void AppendText(std::string& text) const override;
    void ToLingTerm(CLingTerm& term) const override;
    bool Validate() const override;
    void Rescale(double newLo, double newHi, double oldLo, double oldHi) override;
    void Clamp(double lo, double hi) override;
    bool IsInRange(double lo, double hi) const override;

  private:
    double number_;
};

// A user term, by its row in the vocabulary's user terms.
class EUserTerm : public ETerm {
  public:
    EUserTerm(const ParserVocabulary* vocabulary, int row)
        : ETerm(kUserTerm, vocabulary), row_(row) {}

    int Row() const { return row_; }

    // The term's full name; empty without a vocabulary or when the row no longer exists.
    void AppendText(std::string& text) const override;
    void ToLingTerm(CLingTerm& term) const override;

  private:
    int row_;
};

// left and/or right; owns both operands.
class EBinaryExpr : public EFuzzyExpr {
  public:
    static constexpr std::uint8_t kAnd = 0;
    static constexpr std::uint8_t kOr = 1;

    // Both operands must be non-null.
    EBinaryExpr(std::unique_ptr<ELingExpr> left, int connective, std::unique_ptr<ELingExpr> right);
    ~EBinaryExpr() override;

    const ELingExpr& Left() const { return *left_; }
    const ELingExpr& Right() const { return *right_; }
    ELingExpr& Left() { return *left_; }
    ELingExpr& Right() { return *right_; }
    int Connective() const { return connective_; }

    void AppendText(std::string& text) const override;
    void ToLingTerm(CLingTerm& term) const override;
    // Valid when both operands are; the leftmost failing operand's error is thrown.
    bool Validate() const override;

  private:
    std::unique_ptr<ELingExpr> left_;
    std::unique_ptr<ELingExpr> right_;
    std::uint8_t connective_;
};
