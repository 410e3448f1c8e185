#include "core/lang/CLingTerm.h"

#include <array>

namespace {

constexpr std::array<const char*, 4> kAtomShort = {"sm", "me", "bi", "ze"};
constexpr std::array<const char*, 9> kHedgeShort = {"ex", "si", "ve", "ra", "ml",
                                                    "ro", "qr", "vr", "no"};

// Columns: none, ex, si, ve, ra, ml, ro, qr, vr, no.
constexpr int kComplexity[4][10] = {
    {19, 12, 17, 18, 20, 22, 24, 26, 28, 50},  // small
    {29, -1, -1, -1, -1, 32, 34, 36, 38, 45},  // medium
    {19, 12, 17, 18, 20, 22, 24, 26, 28, 50},  // big
    {8, -1, -1, -1, -1, -1, 12, -1, -1, 60},   // zero
};

}  // namespace

int CLingTerm::GetText(std::string& text) const {
    int result = 0;
    std::string atom;
    if (kind == kUndef) {
        atom = "undef";
    } else if (kind >= kSmall && kind <= kZero) {
        atom = kAtomShort[kind];
    } else {
        atom = "N/A";
        result = -1;
    }
    std::string hedgeText;
    if (hedge >= 0 && hedge <= kNegation) {
        hedgeText = kHedgeShort[hedge];
    } else if (hedge != kNoHedge) {
        hedgeText = "N/A";
        result = -1;
    }
    if (!hedgeText.empty())
        hedgeText += ' ';
    text = (sign == -1 ? "-" : "") + hedgeText + atom;
    return result;
}

int HedgeRank(int hedge) {
    if (hedge == CLingTerm::kNoHedge)
        return 3;
    return hedge < 3 ? hedge : hedge + 1;
}

bool Precedes(const CLingTerm& a, const CLingTerm& b) {
    if (b.sign != a.sign)
        return b.sign > a.sign;
    if (b.kind != a.kind)
        return a.sign == -1 ? b.kind < a.kind : b.kind > a.kind;
    const bool narrower = HedgeRank(a.hedge) < HedgeRank(b.hedge);
    const bool negative = a.sign == -1;
    switch (a.kind) {
        case CLingTerm::kSmall:
        case CLingTerm::kMedium:
            return negative ? !narrower : narrower;
        case CLingTerm::kBig:
            return negative ? narrower : !narrower;
        default:
            return false;
    }
}

bool Equals(const CLingTerm& a, const CLingTerm& b) {
    return a.kind == b.kind && a.hedge == b.hedge && a.sign == b.sign;
}

int CompareSpecificity(const CLingTerm& a, const CLingTerm& b) {
    if (Equals(a, b))
        return 0;
    if (a.kind < 0 || a.kind > CLingTerm::kBig || b.kind < 0 || b.kind > CLingTerm::kBig ||
        a.kind != b.kind || a.sign != b.sign) {
        return 100;
    }
    const int rankA = HedgeRank(a.hedge);
    const int rankB = HedgeRank(b.hedge);
    if (rankA < rankB)
        return 1;
    if (rankA > rankB)
        return 2;
    return 100;
}

int Complexity(const CLingTerm& term) {
    switch (term.kind) {
        case CLingTerm::kIgnor:
            return 0;
        case CLingTerm::kFuzzyNumber:
            return 8;
        case CLingTerm::kCompound:
            return 30;
        case CLingTerm::kUserTerm:
            return 10;
        case CLingTerm::kUndef:
            return 35;
        default:
            break;
    }
    if (term.kind < CLingTerm::kSmall || term.kind > CLingTerm::kZero)
        return -1;
    if (term.hedge < CLingTerm::kNoHedge || term.hedge > CLingTerm::kNegation)
        return -1;
    return kComplexity[term.kind][term.hedge + 1];
}
