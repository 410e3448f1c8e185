#include "desktop/userterms/UserTermRows.h"

#include "core/lang/CBasicSettings.h"
#include "core/sets/CFuzzyParamSet.h"

using namespace userterm;

void UserTermRows::Load(const CBasicSettings& settings) {
    rows_.clear();
    loadedNames_.clear();
    for (const auto& term : settings.Terms()) {
        TermRow row;
        row.name = QString::fromStdString(term->Name());
        row.loaded = static_cast<int>(loadedNames_.size());
        loadedNames_.push_back(term->Names());
        const CFuzzySet& set = term->Element();
        const std::string_view type = set.GetTypeName();
        row.type = QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size()));
        const auto shape = FindShape(type);
        if (const auto* params = dynamic_cast<const CFuzzyParamSet*>(&set); shape && params) {
            std::vector<double> values(static_cast<std::size_t>(params->ParamCount()));
            params->GetParams(values);
            WriteShape(row, *shape, values, false);
        }
        rows_.push_back(std::move(row));
    }
}

void UserTermRows::Insert(int at, TermRow row) {
    rows_.insert(rows_.begin() + at, std::move(row));
}

void UserTermRows::Remove(int at) {
    rows_.erase(rows_.begin() + at);
}

bool UserTermRows::HasName(const QString& name) const {
    for (const TermRow& row : rows_) {
        if (row.name == name)
            return true;
    }
    return false;
}

std::vector<QString> UserTermRows::NamesInRules(int index) const {
    const TermRow& row = (*this)[index];
    if (row.loaded < 0)
        return {row.name};
    std::vector<QString> names;
    for (const std::string& name : loadedNames_[static_cast<std::size_t>(row.loaded)])
        names.push_back(QString::fromStdString(name));
    return names;
}

std::map<std::string, std::string> UserTermRows::Renames() const {
    std::map<std::string, std::string> renames;
    for (const TermRow& row : rows_) {
        if (row.loaded < 0)
            continue;
        const std::string& old = loadedNames_[static_cast<std::size_t>(row.loaded)].front();
        if (row.name.toStdString() != old)
            renames.emplace(old, row.name.toStdString());
    }
    return renames;
}

std::vector<std::unique_ptr<CNamedTerm>> UserTermRows::Terms(double lo, double hi) const {
    std::vector<std::unique_ptr<CNamedTerm>> terms;
    for (const TermRow& row : rows_) {
        std::unique_ptr<CFuzzySet> set = BuildSet(row, lo, hi);
        if (!set)
            continue;
        // Rules may name a term by a short form from the file; pasted and added rows have none.
        std::vector<std::string> names{row.name.toStdString()};
        if (row.loaded >= 0) {
            const auto& loaded = loadedNames_[static_cast<std::size_t>(row.loaded)];
            names.insert(names.end(), loaded.begin() + 1, loaded.end());
        }
        terms.push_back(std::make_unique<CNamedTerm>(std::move(names), std::move(set)));
    }
    return terms;
}
