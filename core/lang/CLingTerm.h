#pragma once

#include <string>

// One evaluative linguistic expression without its text: an atomic term with an optional hedge
// and sign, or a marker for the other kinds of cell.
class CLingTerm {
  public:
    enum Kind {
        kSmall = 0,
        kMedium = 1,
        kBig = 2,
        kZero = 3,
        kUndef = -2,
        kUserTerm = -3,
        kCompound = -4,
        kFuzzyNumber = -5,
        kIgnor = -6,
        kNotParsed = -10,
    };
    // Hedge rows 0..7 of the hedge table, the negation, and no hedge.
    static constexpr int kNegation = 8;
    static constexpr int kNoHedge = -1;

    CLingTerm() = default;
    CLingTerm(int kind, int hedge, double d1, double d2)
        : kind(kind), hedge(hedge), d1(d1), d2(d2) {}
    virtual ~CLingTerm() = default;
    CLingTerm(const CLingTerm&) = default;
    CLingTerm& operator=(const CLingTerm&) = default;

    // The short form ("-ve sm"); returns 0, or -1 when the kind or the hedge has none
    // (the text then holds "N/A" in its place).
    virtual int GetText(std::string& text) const;

    int kind = 0;
    int userIndex = -1;  // row of a user term when kind is kUserTerm
    int hedge = 0;
    double d1 = 0.0;  // hedge factors, used only by the linguistic settings' term table
    double d2 = 0.0;
    int sign = 0;  // -1 "-", 1 "+", 0 none
};

// The rank of a hedge along "narrow to wide": ex, si, ve, none, ra, ml, ro, qr, vr, no.
int HedgeRank(int hedge);

// True when a stands before b along the axis from the left end of the context.
bool Precedes(const CLingTerm& a, const CLingTerm& b);
// Kind, hedge and sign equal; the user index and the factors are not compared.
bool Equals(const CLingTerm& a, const CLingTerm& b);
// 0 equal, 1 a narrower than b, 2 a wider, 100 not comparable.
int CompareSpecificity(const CLingTerm& a, const CLingTerm& b);
// Lower for a simpler or more specific expression; -1 for a combination without a score.
int Complexity(const CLingTerm& term);
