#include "core/lang/CBasicSettings.h"

#include "core/lang/CLingTerm.h"
#include "core/lang/WordTables.h"
#include "core/norms/CMaxTConorm.h"
#include "core/norms/CMinTNorm.h"
#include "core/norms/CNegation.h"
#include "core/sets/CFuzzyParamSet.h"
#include "core/sets/ShapeFactory.h"

#include <algorithm>
#include <vector>

namespace {

// The row of the first element one of whose names stands at the cursor.
template <class Element>
int MatchNamed(const std::vector<std::unique_ptr<Element>>& elements, const char*& cursor) {
    for (size_t row = 0; row < elements.size(); ++row) {
        for (const std::string& name : elements[row]->Names()) {
            if (MatchWordAt(cursor, name))
                return static_cast<int>(row);
        }
    }
    return kNoMatch;
}

}  // namespace

CBasicSettings::CBasicSettings(double lo, double hi) : CSettings(lo, hi) {
    modifiers_.push_back(std::make_unique<CNamedModifier>(std::vector<std::string>{"not", "no"},
                                                          std::make_unique<CNegation>()));
    connectives_.push_back(std::make_unique<CNamedConnective>(std::vector<std::string>{"and"},
                                                              std::make_unique<CMinTNorm>()));
    connectives_.push_back(std::make_unique<CNamedConnective>(std::vector<std::string>{"or"},
                                                              std::make_unique<CMaxTConorm>()));
}

CBasicSettings::~CBasicSettings() = default;

int CBasicSettings::AddTerm(std::unique_ptr<CNamedTerm> term) {
    terms_.push_back(std::move(term));
    return static_cast<int>(terms_.size()) - 1;
}

int CBasicSettings::UpdateSymmetry() {
    symmetric_ = -GetUpperBound() == GetLowerBound();
    return symmetric_ ? 1 : 0;
}

int CBasicSettings::MatchOwnTerm(const char*& cursor) const {
    return MatchNamed(terms_, cursor);
}

int CBasicSettings::MatchOwnModifier(const char*& cursor) const {
    return MatchNamed(modifiers_, cursor);
}

int CBasicSettings::MatchOwnConnective(const char*& cursor) const {
    return MatchNamed(connectives_, cursor);
}

int CBasicSettings::MatchAtomicTerm(const char*& cursor) const {
    return MatchOwnTerm(cursor);
}

int CBasicSettings::MatchModifier(const char*& cursor) const {
    return MatchOwnModifier(cursor);
}

int CBasicSettings::MatchConnective(const char*& cursor) const {
    return MatchOwnConnective(cursor);
}

bool CBasicSettings::BestTerm(double x, CLingTerm& term) const {
    int best = -1;
    double bestDegree = -1.0;
    for (size_t row = 0; row < terms_.size(); ++row) {
        const double degree = terms_[row]->Element().Membership(x);
        if (degree > bestDegree) {
            bestDegree = degree;
            best = static_cast<int>(row);
        }
    }
    if (best < 0)
        return false;
    term.kind = CLingTerm::kUserTerm;
    term.userIndex = best;
    return true;
}

int CBasicSettings::CopyTerms(const CBasicSettings& other) {
    for (const auto& term : other.terms_) {
        const CFuzzySet& source = term->Element();
        std::unique_ptr<CFuzzySet> copy;
        if (auto shape = CreateShapeSet(source.GetTypeName(), GetLowerBound(), GetUpperBound())) {
            const auto& parametric = static_cast<const CFuzzyParamSet&>(source);
            std::vector<double> params(parametric.ParamCount());
            parametric.GetParams(params);
            shape->SetParams(params);
            copy = std::move(shape);
        } else {
            // Not one of the file's shapes: keep the set as it is rather than lose the term.
            copy = source.Clone();
        }
        terms_.push_back(std::make_unique<CNamedTerm>(term->Names(), std::move(copy)));
    }
    return 0;
}

int CBasicSettings::TermToText(const CLingTerm& term, std::string& text) const {
    if (term.kind != CLingTerm::kUserTerm)
        return term.GetText(text);
    if (term.userIndex < 0 || term.userIndex >= static_cast<int>(terms_.size())) {
        text = "N/A";
        return -1;
    }
    text = terms_[term.userIndex]->Name();
    return 0;
}
