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
    for (const Triangle& t : triangles) {
        const FixedWord& word = kAtomicTerms[t.row];
        AddTerm(std::make_unique<CNamedTerm>(
            std::vector<std::string>{std::string(word.full), std::string(word.shortForm)},
            std::make_unique<CFuzzyTriangSet>(t.a, t.b, t.c, lo, hi)));
    }
}

CTriangSettings::~CTriangSettings() = default;
