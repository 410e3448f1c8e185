#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "core/lang/CBasicSettings.h"
#include "core/lang/CLingTerm.h"

// Settings of evaluative linguistic expressions: the fixed words ("very small", "roughly big",
// "about 3") besides user terms, "not", "and" and "or". Every evaluative term means a quadratic
// set on the normalised axis, [0, 1], or [-1, 1] when the context is symmetric about zero; the
// value parser maps it onto the context.
class CLinguisticSettings : public CBasicSettings {
  public:
    // P0 the right end of the kernel of "small", P1 the left end of the kernel of "big", P2 the
    // left end of the support of "medium", P3 the centre of the axis. They are kept as the
    // rulebase file holds them (RuleBaseNumber), the defaults too.
    using LingParams = std::array<double, 4>;
    static constexpr LingParams kDefaultLingParams = {0.05, 0.94, 0.304, 0.4};

    CLinguisticSettings(double lo, double hi);
    ~CLinguisticSettings() override;
    // The symmetry follows the context here only: a file's "basic" and "triang" settings are
    // never symmetric, and what is built in memory must compute as its file reads back.
    void SetContext(double lo, double hi) override;

    std::string_view GetTypeName() const override { return "linguistic"; }

    // P0, P1, P2, P3 in this order. Setting them reshapes every term; the hedge factors stay.
    void SetLingParams(const LingParams& params);
    LingParams GetLingParams() const;
    // The rulebase file lists them ascending along the axis: P0, P2, P3, P1.
    static LingParams LingParamsFromFileOrder(const LingParams& fileNumbers);
    static LingParams LingParamsToFileOrder(const LingParams& params);

    // The 25 evaluative expressions with a meaning, in a fixed order ("sm", "ex sm", ...,
    // "vr bi", "me", "ml me", ..., "ze", "ro ze"); d1 and d2 are their hedge factors.
    std::span<const CLingTerm> TermTable() const { return termTable_; }

    // kind: atomic-term row 0..11 (plain, "+" and "-" forms); hedge: hedge row or -1. Throws
    // ESyntax ("hedge not applicable to this atomic term", with the term's short form) for a
    // pair that is not in the term table, such as "ra me", "ve ze" or a negated term.
    std::unique_ptr<CFuzzyQuadraticSet> MakeTermSet(int kind, int hedge) const override;

    // A representative point of the expression (kind, hedge) on the normalised axis. For the
    // "-" rows the value of the plain row, negated. Throws as MakeTermSet.
    long double TypicalValue(const CLingTerm& term) const;
    // Fills kind, hedge and sign of term with the simplest expression that fits the crisp value
    // x best. mode 0 admits no hedge, mode 1 only "very" and "more or less", mode 2 every hedge.
    // When nothing fits at all, kind and hedge stay. Returns 0. Without clampsToAxis a value
    // beyond the context is described as it lies (the component server's way).
    int DescribeValue(double x, CLingTerm& term, int mode, bool clampsToAxis = true) const;
    // The order of two cell texts along the axis: 1 when a comes before b, 0 when after, -1
    // when either is not a valid cell or nothing decides. Two evaluative terms compare by their
    // place on the axis, anything else by its text, letters folded to upper case.
    int CompareExpressions(const std::string& a, const std::string& b) const;
    // The text part of that order: 1, 0, or -1 when one text starts the other.
    static int CompareTexts(const std::string& a, const std::string& b);

    int MatchAtomicTerm(const char*& cursor) const override;
    int MatchModifier(const char*& cursor) const override;
    int MatchConnective(const char*& cursor) const override;

  protected:
    bool ParseModifier() override;
    bool ParseConnective() override;
    bool ParseAtomicTerm() override;

  private:
    using Shape = std::array<double, 6>;

    void ComputeShapeTable();
    void ComputeHedgeParameters();
    // The shape-table row of "small", "medium", "big" or "zero".
    Shape ShapeRow(int baseKind) const;
    // The first term-table row of (kind, hedge), or -1.
    int FindTerm(int kind, int hedge) const;

    std::vector<CLingTerm> termTable_;
    LingParams params_{};
    // T0..T11, the variable entries of the shape table.
    std::array<double, 12> shape_{};
};
