#include "core/lang/CTriangSettings.h"

#include "core/lang/WordTables.h"
#include "core/norms/CModifier.h"
#include "core/sets/CFuzzyTriangSet.h"

namespace {

struct Triangle {
    int row;  // of the fixed atomic-term table, for the names
    double a, b, c;
};

}  // namespace

CTriangSettings::CTriangSettings(double lo, double hi) : CBasicSettings(lo, hi) {
    // "very" is the square root and "roughly" the square: p < 1 widens, p > 1 narrows.
    MutableModifiers().push_back(std::make_unique<CNamedModifier>(
        std::vector<std::string>{"very", "ve"}, std::make_unique<CModifier>(0.5)));
    MutableModifiers().push_back(std::make_unique<CNamedModifier>(
        std::vector<std::string>{"roughly", "ro"}, std::make_unique<CModifier>(2.0)));

    // Not AddTerm: the atomic terms are computed from the context, not read from a file.
    for (auto& term : AtomicTerms())
        MutableTerms().push_back(std::move(term));
}

CTriangSettings::~CTriangSettings() = default;

void CTriangSettings::SetContext(double lo, double hi) {
    CBasicSettings::SetContext(lo, hi);
    const std::size_t count = AtomicTermCount();
    auto fresh = AtomicTerms();
    auto& terms = MutableTerms();
    for (std::size_t t = 0; t < count; ++t)
        terms[t] = std::move(fresh[t]);
}

std::size_t CTriangSettings::AtomicTermCount() const {
    const auto atomic = AtomicTerms();
    const auto& terms = Terms();
    std::size_t count = 0;
    while (count < atomic.size() && count < terms.size() &&
           terms[count]->Names() == atomic[count]->Names())
        ++count;
    return count;
}

std::vector<std::unique_ptr<CNamedTerm>> CTriangSettings::AtomicTerms() const {
    const double lo = GetLowerBound();
    const double hi = GetUpperBound();
    const double m = (lo + hi) * 0.5;
    std::vector<Triangle> triangles;
    if (lo == 0) {
        triangles = {
            {0, lo, lo, m}, {1, lo + 0.25 * (hi - lo), m, lo + 0.75 * (hi - lo)}, {2, m, hi, hi}};
    } else if (lo < 0 && hi > 0) {
        const double a = lo / 3, b = 2 * lo / 3, c = hi / 3, d = 2 * hi / 3;
        triangles = {{10, lo, lo, b}, {9, lo, b, a}, {8, b, a, 0},  {3, a, 0, c},
                     {4, 0, c, d},    {5, c, d, hi}, {6, d, hi, hi}};
    }
    std::vector<std::unique_ptr<CNamedTerm>> terms;
    for (const Triangle& t : triangles) {
        const FixedWord& word = kAtomicTerms[t.row];
        terms.push_back(std::make_unique<CNamedTerm>(
            std::vector<std::string>{std::string(word.full), std::string(word.shortForm)},
            std::make_unique<CFuzzyTriangSet>(t.a, t.b, t.c, lo, hi)));
    }
    return terms;
}
