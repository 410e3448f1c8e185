#include "core/lang/CLinguisticSettings.h"

#include <algorithm>
#include <span>
#include <string>

#include "core/io/RuleBaseWriter.h"
#include "core/lang/WordTables.h"
#include "core/sets/CAlphaCut.h"
#include "core/sets/CFuzzyQuadraticSet.h"
#include "core/text/ESyntax.h"

namespace {

// T0..T11 of the shape table for the default parameters: the kernel end of "small" and its
// slope, the six points of "medium", the slope and kernel start of "big".
constexpr std::array<double, 12> kTemplate = {0.05,  0.24,  0.36,  0.304, 0.348, 0.392,
                                              0.408, 0.476, 0.544, 0.44,  0.6,   0.94};
constexpr std::array<double, 6> kZeroShape = {-0.05, -0.025, 0.0, 0.0, 0.025, 0.05};

constexpr int kRather = 3;
constexpr int kExtremely = 0;
constexpr int kVery = 2;
constexpr int kMoreOrLess = 4;
constexpr int kRoughly = 5;
constexpr int kVeryRoughly = 7;

// The code of the longest fixed word at the cursor, or kNoMatch.
int MatchLongestFixed(std::span<const FixedWord> table, const char*& cursor) {
    int code = kNoMatch;
    const char* end = cursor;
    for (size_t row = 0; row < table.size(); ++row) {
        for (std::string_view word : {table[row].full, table[row].shortForm}) {
            const char* probe = cursor;
            if (MatchWordAt(probe, word) && probe > end) {
                end = probe;
                code = kFixedCodeBase + static_cast<int>(row);
            }
        }
    }
    cursor = end;
    return code;
}

}  // namespace

CLinguisticSettings::CLinguisticSettings(double lo, double hi) : CBasicSettings(lo, hi) {
    UpdateSymmetry();
    SetLingParams(kDefaultLingParams);
    const int hedges[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7};
    for (int kind : {CLingTerm::kSmall, CLingTerm::kBig}) {
        for (int hedge : hedges)
            termTable_.emplace_back(kind, hedge, 0.0, 0.0);
    }
    for (int hedge : {-1, 4, 5, 6, 7})
        termTable_.emplace_back(CLingTerm::kMedium, hedge, 0.0, 0.0);
    for (int hedge : {-1, kRoughly})
        termTable_.emplace_back(CLingTerm::kZero, hedge, 0.0, 0.0);
    ComputeHedgeParameters();
}

CLinguisticSettings::~CLinguisticSettings() = default;

void CLinguisticSettings::SetContext(double lo, double hi) {
    CBasicSettings::SetContext(lo, hi);
    UpdateSymmetry();
}

void CLinguisticSettings::SetLingParams(const LingParams& params) {
    std::transform(params.begin(), params.end(), params_.begin(), RuleBaseNumber);
    ComputeShapeTable();
}

CLinguisticSettings::LingParams CLinguisticSettings::GetLingParams() const {
    return params_;
}

CLinguisticSettings::LingParams CLinguisticSettings::LingParamsFromFileOrder(
    const LingParams& fileNumbers) {
    return {fileNumbers[0], fileNumbers[3], fileNumbers[1], fileNumbers[2]};
}

CLinguisticSettings::LingParams CLinguisticSettings::LingParamsToFileOrder(
    const LingParams& params) {
    return {params[0], params[2], params[3], params[1]};
}

// The template bent to the parameters: the ends P0, P1, P2 are set, and every other point keeps
// its relative place between the centre P3 and its neighbours.
void CLinguisticSettings::ComputeShapeTable() {
    const auto& t = kTemplate;
    const double m = params_[3];
    const double w1 = (m - params_[2]) / (2 * m);
    const double w2 = (m - t[5]) / (2 * m);
    const double w3 = (m - t[2]) / (m - t[3]);
    const double w4 = (t[2] - t[1]) / (m - t[0]);
    const double w5 = (t[9] - m) / (t[8] - m);
    const double w6 = (t[10] - t[9]) / (t[11] - m);

    auto& s = shape_;
    s = kTemplate;
    s[0] = params_[0];
    s[11] = params_[1];
    s[3] = params_[2];
    s[8] = m + 2 * (1 - m) * w1;
    s[5] = m - 2 * m * w2;
    s[6] = m + 2 * m * w2;
    s[4] = (s[3] + s[5]) / 2;
    s[7] = (s[6] + s[8]) / 2;
    s[2] = m - (m - s[3]) * w3;
    s[1] = s[2] - (m - s[0]) * w4;
    s[9] = m + (s[8] - m) * w5;
    s[10] = s[9] + (s[11] - m) * w6;
}

// The widening hedges reach, at their widest ("very roughly"), the middle of the slope of the
// neighbouring term; the factors come from the template with the default centre and stay fixed.
void CLinguisticSettings::ComputeHedgeParameters() {
    const auto& t = kTemplate;
    const double m = kDefaultLingParams[3];
    const double a = ((t[3] + t[4]) / (2 * t[0]) - 1) / 4;
    const double b = ((t[8] + t[7] - 2) / (2 * (t[11] - 1)) - 1) / 4;
    const double c = ((t[2] + t[1] - 2 * m) / (2 * (t[5] - m)) - 1) / 4;
    const double e = ((t[9] + t[10] - 2 * m) / (2 * (t[6] - m)) - 1) / 4;
    for (CLingTerm& term : termTable_) {
        double d1 = 0.0;
        double d2 = 0.0;
        const int k = term.hedge - kMoreOrLess + 1;  // 1..4 for the widening hedges
        if (term.kind == CLingTerm::kSmall || term.kind == CLingTerm::kBig) {
            const double step = term.kind == CLingTerm::kSmall ? a : b;
            switch (term.hedge) {
                case CLingTerm::kNoHedge:
                    break;
                case kExtremely:
                    d1 = 0.2;
                    break;
                case 1:
                    d1 = 0.4;
                    break;
                case kVery:
                    d1 = 0.6;
                    break;
                case kRather:
                    d1 = 2.5;
                    break;
                default:
                    d1 = 1 + k * step;
                    break;
            }
            d2 = d1;
        } else if (term.kind == CLingTerm::kMedium && term.hedge != CLingTerm::kNoHedge) {
            d1 = 1 + k * c;
            d2 = 1 + k * e;
        }
        term.d1 = d1;
        term.d2 = d2;
    }
}

CLinguisticSettings::Shape CLinguisticSettings::ShapeRow(int baseKind) const {
    const auto& s = shape_;
    switch (baseKind) {
        case CLingTerm::kSmall:
            return {0.0, 0.0, 0.0, s[0], s[1], s[2]};
        case CLingTerm::kMedium:
            return {s[3], s[4], s[5], s[6], s[7], s[8]};
        case CLingTerm::kBig:
            return {s[9], s[10], s[11], 1.0, 1.0, 1.0};
        default:
            return kZeroShape;
    }
}

int CLinguisticSettings::FindTerm(int kind, int hedge) const {
    for (size_t row = 0; row < termTable_.size(); ++row) {
        if (termTable_[row].kind == kind && termTable_[row].hedge == hedge)
            return static_cast<int>(row);
    }
    return -1;
}

std::unique_ptr<CFuzzyQuadraticSet> CLinguisticSettings::MakeTermSet(int kind, int hedge) const {
    const bool known = kind >= 0 && kind < static_cast<int>(kAtomicTerms.size());
    const int baseKind = known ? kind % 4 : kind;
    const int row = known ? FindTerm(baseKind, hedge) : -1;
    if (row < 0) {
        CLingTerm term(baseKind, hedge, 0.0, 0.0);
        std::string text;
        term.GetText(text);
        throw ESyntax("hedge not applicable to this atomic term", 0, text);
    }
    const bool minus = kind >= 8;
    const double axisLo = IsSymmetric() ? -1.0 : 0.0;
    auto make = [axisLo](const Shape& p) {
        return std::make_unique<CFuzzyQuadraticSet>(p[0], p[1], p[2], p[3], p[4], p[5], axisLo,
                                                    1.0);
    };
    Shape p = ShapeRow(baseKind);

    if (baseKind == CLingTerm::kZero) {
        // The halves of "zero" stand for "+ze" and "-ze"; on [0, 1] only the right half exists.
        Shape form = p;
        if (axisLo == 0.0 || kind == 7) {
            form = {0.0, 0.0, 0.0, p[3], p[4], p[5]};
        } else if (kind == 11) {
            form = {p[0], p[1], p[2], 0.0, 0.0, 0.0};
        }
        if (hedge == kRoughly) {
            for (double& x : form)
                x *= 2;
        }
        return make(form);
    }

    // The slopes keep their proportions when a kernel end moves: rL places the left
    // equilibrium between support and kernel, rR the right one.
    const double rL = p[2] != p[0] ? (p[2] - p[1]) / (p[2] - p[0]) : 0.5;
    const double rR = p[3] != p[5] ? (p[4] - p[5]) / (p[3] - p[5]) : 0.5;
    const double m = params_[3];
    const double d1 = termTable_[row].d1;
    const double d2 = termTable_[row].d2;
    if (hedge == kRather) {
        constexpr double K = 1.0 / 3.0;
        if (baseKind == CLingTerm::kSmall) {
            p[5] = K * d2 * p[5];
            p[3] = d2 * p[3];
            p[4] = p[5] + (p[3] - p[5]) * rR;
        } else if (baseKind == CLingTerm::kBig) {
            p[0] = K * d1 * p[0] + (1 - K * d1) * p[3];
            p[2] = d1 * p[2] + (1 - d1) * p[3];
            p[1] = p[2] - (p[2] - p[0]) * rL;
        }
    } else if (hedge != CLingTerm::kNoHedge) {
        if (baseKind == CLingTerm::kSmall) {
            for (int i = 3; i < 6; ++i)
                p[i] *= d2;
            if (p[5] > m) {
                p[5] = m;
                p[4] = p[5] + (p[3] - p[5]) * rR;
            }
        } else if (baseKind == CLingTerm::kMedium) {
            for (int i = 0; i < 3; ++i)
                p[i] = d1 * p[i] + (1 - d1) * m;
            const double leftLimit = (shape_[0] + shape_[1]) / 2;
            if (p[0] < leftLimit) {
                p[0] = leftLimit;
                p[1] = p[2] - (p[2] - p[0]) * rL;
            }
            for (int i = 3; i < 6; ++i)
                p[i] = d2 * p[i] + (1 - d2) * m;
            const double rightLimit = (shape_[10] + shape_[11]) / 2;
            if (p[5] > rightLimit) {
                p[5] = rightLimit;
                p[4] = p[5] + (p[3] - p[5]) * rR;
            }
        } else {
            for (int i = 0; i < 3; ++i)
                p[i] = d1 * p[i] + (1 - d1);
            if (p[0] < m) {
                p[0] = m;
                p[1] = p[2] - (p[2] - p[0]) * rL;
            }
        }
    }
    if (minus)
        p = {-p[5], -p[4], -p[3], -p[2], -p[1], -p[0]};
    return make(p);
}

long double CLinguisticSettings::TypicalValue(const CLingTerm& term) const {
    const bool minus = term.kind >= 8 && term.kind < static_cast<int>(kAtomicTerms.size());
    const int kind = minus ? term.kind - 8 : term.kind;
    const auto set = MakeTermSet(kind, term.hedge);
    const bool small = kind % 4 == CLingTerm::kSmall;
    double alpha = 0.8;
    double fraction = 0.7;
    switch (term.hedge) {
        case kExtremely:
            alpha = 0.95;
            break;
        case kVery:
            alpha = small ? 0.8 : 0.85;
            break;
        case kMoreOrLess:
            alpha = 0.7;
            fraction = small ? 0.8 : 0.7;
            break;
        case kRoughly:
        case 6:
        case kVeryRoughly:
            fraction = 0.9;
            break;
        default:
            break;
    }
    const CAlphaCut cut = set->AlphaCut(alpha);
    const long double a = cut.At(0, 0).lo;
    const long double b = cut.At(0, 0).hi;
    // "small" leans to its right end, where it meets the rest of the axis.
    const long double value = small ? a + (b - a) * fraction : (a + b) / 2;
    return minus ? -value : value;
}

int CLinguisticSettings::DescribeValue(double x, CLingTerm& term, int mode,
                                       bool clampsToAxis) const {
    const double lo = GetLowerBound();
    const double hi = GetUpperBound();
    double u = 0.0;
    int sign = 0;
    if (!IsSymmetric()) {
        u = (x - lo) / (hi - lo);
        if (clampsToAxis)
            u = std::clamp(u, 0.0, 1.0);
    } else if (x < 0) {
        u = clampsToAxis ? std::min(x / lo, 1.0) : x / lo;
        sign = -1;
    } else {
        u = clampsToAxis ? std::min(x / hi, 1.0) : x / hi;
        sign = 1;
    }

    if (u == 0) {
        term.kind = CLingTerm::kZero;
        term.hedge = CLingTerm::kNoHedge;
    } else {
        // Above 0.9 every expression fits equally well, and the simplest of them wins.
        double bestDegree = 0.0;
        CLingTerm best(CLingTerm::kNotParsed, CLingTerm::kNoHedge, 0.0, 0.0);
        auto consider = [&](int kind, int hedge) {
            const bool admitted = hedge == CLingTerm::kNoHedge || mode >= 2 ||
                                  (mode == 1 && (hedge == kMoreOrLess ||
                                                 (hedge == kVery && kind != CLingTerm::kMedium)));
            if (!admitted)
                return;
            const double degree = std::min(MakeTermSet(kind, hedge)->Membership(u), 0.9);
            const CLingTerm candidate(kind, hedge, 0.0, 0.0);
            if (degree > bestDegree ||
                (degree == bestDegree && best.kind != CLingTerm::kNotParsed &&
                 Complexity(candidate) < Complexity(best))) {
                bestDegree = degree;
                best = candidate;
            }
        };
        const int side = u < params_[3] ? CLingTerm::kSmall : CLingTerm::kBig;
        for (int hedge : {-1, 0, 1, 2, 3, 4, 5, 6, 7})
            consider(side, hedge);
        for (int hedge : {-1, 4, 5, 6, 7})
            consider(CLingTerm::kMedium, hedge);
        if (best.kind != CLingTerm::kNotParsed) {
            term.kind = best.kind;
            term.hedge = best.hedge;
        }
    }
    term.sign = sign;
    return 0;
}

int CLinguisticSettings::CompareExpressions(const std::string& a, const std::string& b) const {
    if (CheckExpression(a) || CheckExpression(b))
        return -1;
    try {
        CLingTerm termA;
        CLingTerm termB;
        if (ParseLingTerm(a, termA) == 0 && ParseLingTerm(b, termB) == 0)
            return Precedes(termA, termB) ? 1 : 0;
    } catch (const ESyntax&) {
        return -1;
    }
    return CompareTexts(a, b);
}

int CLinguisticSettings::CompareTexts(const std::string& a, const std::string& b) {
    // Bytes compare as signed characters; only those above '`' fold, by 32.
    auto folded = [](char c) {
        const signed char s = static_cast<signed char>(c);
        return s > '`' ? s - 32 : static_cast<int>(s);
    };
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int x = folded(a[i]);
        const int y = folded(b[i]);
        if (x != y)
            return x < y ? 1 : 0;
    }
    return -1;
}

int CLinguisticSettings::MatchAtomicTerm(const char*& cursor) const {
    const int code = MatchLongestFixed(kAtomicTerms, cursor);
    return code != kNoMatch ? code : MatchOwnTerm(cursor);
}

int CLinguisticSettings::MatchModifier(const char*& cursor) const {
    const int code = MatchLongestFixed(kHedges, cursor);
    return code != kNoMatch ? code : MatchOwnModifier(cursor);
}

int CLinguisticSettings::MatchConnective(const char*& cursor) const {
    const int code = MatchLongestFixed(kLinguisticConnectives, cursor);
    return code != kNoMatch ? code : MatchOwnConnective(cursor);
}

bool CLinguisticSettings::ParseModifier() {
    const int row = MatchFixedWord(kHedges);
    if (row >= 0) {
        Emit(kHedges[row].full);
        if (ReadTerm())
            ReadTerm()->hedge = row;
        return true;
    }
    if (!CBasicSettings::ParseModifier())
        return false;
    // The own list holds only "not"; its hedge code is the negation's, not a hedge row.
    if (ReadTerm())
        ReadTerm()->hedge = CLingTerm::kNegation;
    return true;
}

bool CLinguisticSettings::ParseConnective() {
    const int row = MatchFixedWord(kLinguisticConnectives);
    if (row >= 0) {
        Emit(kLinguisticConnectives[row].full);
        return true;
    }
    return CBasicSettings::ParseConnective();
}

bool CLinguisticSettings::ParseAtomicTerm() {
    // The signed rows are read as a sign and a plain word.
    const int row = MatchFixedWord(std::span(kAtomicTerms).first(4));
    if (row < 0)
        return CBasicSettings::ParseAtomicTerm();
    Emit(kAtomicTerms[row].full);
    if (ReadTerm() && !ReadCompound())
        ReadTerm()->kind = row;
    return true;
}
