#include "core/rulebase/Rules.h"

#include <functional>

#include "core/io/FileReplace.h"

namespace {

std::size_t HashCells(const std::vector<std::string>& cells) {
    std::size_t hash = cells.size();
    for (const std::string& cell : cells) {
        hash ^= std::hash<std::string>{}(cell) + 0x9e3779b97f4a7c15ull + (hash << 6) + (hash >> 2);
    }
    return hash;
}

}  // namespace

bool Rules::AddRule(std::vector<std::string> cells) {
    if (!duplicateCheck_) {
        rows_.push_back(Rule{std::move(cells), 1});
        return true;
    }
    const std::size_t hash = HashCells(cells);
    const auto [first, last] = rowsByHash_.equal_range(hash);
    for (auto it = first; it != last; ++it) {
        Rule& stored = rows_[it->second];
        if (stored.cells == cells) {
            ++stored.count;
            return false;
        }
    }
    rows_.push_back(Rule{std::move(cells), 1});
    rowsByHash_.emplace(hash, rows_.size() - 1);
    return true;
}

void WriteRuleSetFile(const Rules& rules, const std::string& fileName) {
    std::string text;
    for (const Rule& row : rules) {
        for (const std::string& cell : row.cells) {
            text += cell;
            text += '\t';
        }
        text += std::to_string(row.count);  // no digit grouping, whatever the locale
        text += '\n';
    }
    ReplaceFileText(fileName, text);
}
