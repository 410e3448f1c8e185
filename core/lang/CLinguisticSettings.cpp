#include "core/lang/CLinguisticSettings.h"

#include <span>

#include "core/lang/WordTables.h"

namespace {

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
}

CLinguisticSettings::~CLinguisticSettings() = default;

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
