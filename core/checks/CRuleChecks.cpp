#include "core/checks/CRuleChecks.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "core/lang/CSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/CValue.h"

namespace {

// Only these kinds compare by the strength of their hedges.
bool IsAtomicKind(int kind) {
    return kind >= CLingTerm::kSmall && kind <= CLingTerm::kBig;
}

// One id per distinct row of count values starting at column first of a row-major table; -1
// for a row holding a negative value.
std::vector<int> RowKeys(const std::vector<int>& table, int columns, int first, int count) {
    const int rows = columns == 0 ? 0 : static_cast<int>(table.size()) / columns;
    std::vector<int> keys(rows, -1);
    std::unordered_map<std::string_view, int> ids;
    for (int r = 0; r < rows; ++r) {
        const int* row = table.data() + static_cast<std::size_t>(r) * columns + first;
        if (std::any_of(row, row + count, [](int value) { return value < 0; }))
            continue;
        const std::string_view bytes(reinterpret_cast<const char*>(row), count * sizeof(int));
        keys[r] = ids.emplace(bytes, static_cast<int>(ids.size())).first->second;
    }
    return keys;
}

}  // namespace

CRuleChecks::CRuleChecks(const CRuleBase& ruleBase)
    : ruleCount_(ruleBase.GetNumRules()),
      antecedentCount_(ruleBase.GetNumAntVariables()),
      succedentCount_(ruleBase.GetNumSucVariables()),
      columnCount_(antecedentCount_ + succedentCount_) {
    cellClasses_.assign(static_cast<std::size_t>(ruleCount_) * columnCount_, kNotExpression);

    std::map<std::tuple<int, int, int, std::string>, int> classIds;
    const auto classify = [&](const CSettings& settings, const std::string& text) {
        CLingTerm term;
        if (settings.IsLinearCombination()) {
            // Takagi-Sugeno conclusions are formulas, not expressions: they compare as texts.
            term.kind = CLingTerm::kNotParsed;
            term.hedge = CLingTerm::kNoHedge;
        } else if (!settings.TextToLingTerm(text, term)) {
            return kNotExpression;
        }
        const bool atomic = IsAtomicKind(term.kind);
        auto key = atomic ? std::make_tuple(term.kind, term.hedge, term.sign, std::string())
                          : std::make_tuple(term.kind, 0, 0, text);
        const auto [found, added] =
            classIds.emplace(std::move(key), static_cast<int>(terms_.size()));
        if (added) {
            terms_.push_back(term);
            specificity_.push_back(
                {atomic ? term.kind * 3 + term.sign + 1 : -1, atomic ? HedgeRank(term.hedge) : 0});
        }
        return found->second;
    };

    // Cells with one text share a pool value, so each value is converted once. The settings
    // are part of the cache key in case a variable was given other settings after its cells.
    std::vector<std::pair<const CSettings*, int>> classOfValue(ruleBase.GetValueCount(),
                                                               {nullptr, kNotExpression});
    for (int column = 0; column < columnCount_; ++column) {
        const int variable = column < antecedentCount_ ? column : antecedentCount_ - 1 - column;
        const CFuzzyVariable& owner = ruleBase.GetVariable(variable);
        const CSettings* settings = owner.GetSettings().get();
        const std::span<const int> indices = owner.GetValueIndices();
        if (settings == nullptr)
            continue;
        for (int r = 0; r < ruleCount_ && r < static_cast<int>(indices.size()); ++r) {
            const CValue* value = ruleBase.GetValue(indices[r]);
            if (value == nullptr)
                continue;
            auto& cached = classOfValue[indices[r]];
            if (cached.first != settings)
                cached = {settings, classify(*settings, value->GetText())};
            cellClasses_[static_cast<std::size_t>(r) * columnCount_ + column] = cached.second;
        }
    }

    antecedentKeys_ = RowKeys(cellClasses_, columnCount_, 0, antecedentCount_);
    succedentKeys_ = RowKeys(cellClasses_, columnCount_, antecedentCount_, succedentCount_);

    if (succedentCount_ > 0) {
        conclusionTexts_.resize(ruleCount_);
        std::unordered_map<std::string_view, int> textIds;
        for (int r = 0; r < ruleCount_; ++r) {
            const auto [found, added] =
                textIds.emplace(ruleBase.GetSucExpression(0, r), static_cast<int>(textIds.size()));
            if (added)
                rulesByConclusion_.emplace_back();
            conclusionTexts_[r] = found->second;
            rulesByConclusion_[found->second].push_back(r);
        }
    }
}

int CRuleChecks::ColumnOf(int variable) const {
    if (variable >= 0 && variable < antecedentCount_)
        return variable;
    if (variable < 0 && -1 - variable < succedentCount_)
        return antecedentCount_ - 1 - variable;
    throw std::out_of_range("no variable has the index " + std::to_string(variable));
}

void CRuleChecks::CheckRule(int r) const {
    if (r < 0 || r >= ruleCount_)
        throw std::out_of_range("no rule has the index " + std::to_string(r));
}

int CRuleChecks::CompareClasses(int a, int b) const {
    if (a < 0 || b < 0)
        return kNotExpression;
    if (a == b)
        return kEqual;
    // CompareSpecificity of the two terms. Distinct classes of one atomic term and sign differ
    // in the hedge, hence in its rank; kinds compared as texts are equal only within a class.
    const Specificity x = specificity_[a];
    const Specificity y = specificity_[b];
    if (x.group < 0 || x.group != y.group)
        return kNotComparable;
    return x.rank < y.rank ? kNarrower : kWider;
}

int CRuleChecks::CompareCells(int varA, int ruleA, int varB, int ruleB) const {
    CheckRule(ruleA);
    CheckRule(ruleB);
    return CompareClasses(ClassOf(ruleA, ColumnOf(varA)), ClassOf(ruleB, ColumnOf(varB)));
}

bool CRuleChecks::Related(int a, int b, CheckMode mode) const {
    const bool antecedentsDiffer =
        antecedentKeys_[a] < 0 || antecedentKeys_[a] != antecedentKeys_[b];
    const bool succedentsDiffer = succedentKeys_[a] < 0 || succedentKeys_[a] != succedentKeys_[b];
    switch (mode) {
        case kIdentical:
            return !antecedentsDiffer && !succedentsDiffer;
        case kInconsistent:
            return !antecedentsDiffer && succedentsDiffer;
        case kSameConclusion:
            return antecedentsDiffer && !succedentsDiffer;
        case kDifferentEverywhere:
            return antecedentsDiffer && succedentsDiffer;
        default:
            return true;
    }
}

int CRuleChecks::CompareRules(int a, int b, CheckMode mode) const {
    CheckRule(a);
    CheckRule(b);
    return Related(a, b, mode) ? 0 : -1;
}

int CRuleChecks::CompareAntecedentsUnchecked(int a, int b) const {
    int narrower = 0;
    int wider = 0;
    bool allEqual = true;
    for (int column = 0; column < antecedentCount_; ++column) {
        const int c = CompareClasses(ClassOf(a, column), ClassOf(b, column));
        if (c == kNotComparable)
            return kNotComparable;
        narrower += c == kNarrower;
        wider += c == kWider;
        allEqual = allEqual && c == kEqual;
    }
    if (allEqual)
        return kEqual;
    if (narrower > 0 && wider == 0)
        return kNarrower;
    if (wider > 0 && narrower == 0)
        return kWider;
    return kNotComparable;
}

int CRuleChecks::CompareAntecedents(int a, int b) const {
    CheckRule(a);
    CheckRule(b);
    return CompareAntecedentsUnchecked(a, b);
}

// Each rule i not yet taken opens a group with every later rule not yet taken that is related to
// i. Modes 0 and 1 relate only rules with the same antecedents, mode 2 only rules with the same
// succedents, so those walk the rules of i's key alone; the result is that of the full scan.
CRuleChecks::Groups CRuleChecks::Group(CheckMode mode) const {
    const std::vector<int>* keys = nullptr;
    if (mode == kIdentical || mode == kInconsistent)
        keys = &antecedentKeys_;
    else if (mode == kSameConclusion)
        keys = &succedentKeys_;

    // next[r]: the next rule after r that can be related to r, or -1.
    std::vector<int> next(ruleCount_, -1);
    if (keys != nullptr) {
        std::vector<int> following(ruleCount_, -1);  // keys are below the number of rules
        for (int r = ruleCount_ - 1; r >= 0; --r) {
            const int key = (*keys)[r];
            if (key < 0)
                continue;
            next[r] = following[key];
            following[key] = r;
        }
    } else {
        for (int r = 0; r + 1 < ruleCount_; ++r)
            next[r] = r + 1;
    }

    Groups groups;
    std::vector<std::uint8_t> taken(ruleCount_, 0);
    for (int i = 0; i < ruleCount_; ++i) {
        if (taken[i] || (keys != nullptr && (*keys)[i] < 0))
            continue;
        std::vector<int>* group = nullptr;
        for (int j = next[i]; j >= 0; j = next[j]) {
            if (taken[j] || !Related(i, j, mode))
                continue;
            if (group == nullptr) {
                group = &groups.emplace_back(1, i);
                taken[i] = 1;
            }
            group->push_back(j);
            taken[j] = 1;
        }
    }
    return groups;
}

std::unique_ptr<CIntPtrArray> CRuleChecks::ToResult(const Groups& groups) {
    if (groups.empty())
        return nullptr;
    auto result = std::make_unique<CIntPtrArray>();
    result->SetSize(static_cast<int>(groups.size()));
    for (std::size_t g = 0; g < groups.size(); ++g) {
        auto group = std::make_unique<CIntArray>();
        group->SetSize(static_cast<int>(groups[g].size()));
        std::copy(groups[g].begin(), groups[g].end(), group->begin());
        (*result)[static_cast<int>(g)] = std::move(group);
    }
    return result;
}

std::unique_ptr<CIntPtrArray> CRuleChecks::FindRuleGroups(CheckMode mode) const {
    return ToResult(Group(mode));
}

std::unique_ptr<CIntPtrArray> CRuleChecks::FindRedundantSucRules() const {
    // The term of a rule's first conclusion; null when it does not convert.
    const auto conclusion = [&](int r) -> const CLingTerm* {
        const int c = ClassOf(r, antecedentCount_);
        return c < 0 ? nullptr : &terms_[c];
    };
    Groups result;
    for (std::vector<int>& rest : Group(kInconsistent)) {
        // Split off, head by head, the rules whose conclusions share the head's term and sign.
        while (rest.size() > 1) {
            const CLingTerm* head = conclusion(rest.front());
            if (head == nullptr || !IsAtomicKind(head->kind)) {
                rest.erase(rest.begin());
                continue;
            }
            std::vector<int> group{rest.front()};
            std::vector<int> others;
            for (std::size_t k = 1; k < rest.size(); ++k) {
                const CLingTerm* term = conclusion(rest[k]);
                const bool alike =
                    term != nullptr && term->kind == head->kind && term->sign == head->sign;
                (alike ? group : others).push_back(rest[k]);
            }
            rest = std::move(others);
            if (group.size() >= 2)
                result.push_back(std::move(group));
        }
    }
    for (std::vector<int>& group : result) {
        std::size_t simplest = 0;
        for (std::size_t k = 1; k < group.size(); ++k) {
            if (Complexity(*conclusion(group[k])) < Complexity(*conclusion(group[simplest])))
                simplest = k;
        }
        std::swap(group[0], group[simplest]);
    }
    return ToResult(result);
}

std::unique_ptr<CIntPtrArray> CRuleChecks::FindRedundantAntRules() const {
    Groups result;
    for (const std::vector<int>& group : Group(kSameConclusion)) {
        for (int i : group) {
            std::vector<int> covered{i};
            for (int j : group) {
                if (j != i && CompareAntecedentsUnchecked(i, j) == kNarrower)
                    covered.push_back(j);
            }
            if (covered.size() > 1)
                result.push_back(std::move(covered));
        }
    }
    return ToResult(result);
}

bool CRuleChecks::IsRedundantRule(int r) const {
    if (ruleCount_ == 0)
        return false;
    CheckRule(r);
    if (succedentCount_ == 0)
        return false;
    // A narrower rule differs in an antecedent, so it is never identical to the covering rule.
    for (int s : rulesByConclusion_[conclusionTexts_[r]]) {
        if (s != r && CompareAntecedentsUnchecked(r, s) == kNarrower)
            return true;
    }
    return false;
}
