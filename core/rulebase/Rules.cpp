#include "core/rulebase/Rules.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <locale>
#include <system_error>

#include "core/text/ESyntax.h"

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
    const std::string temporaryName = fileName + ".tmp";
    {
        std::ofstream out(temporaryName, std::ios::binary | std::ios::trunc);
        if (!out)
            throw ESyntax("cannot write file by open", 0, fileName);
        out.imbue(std::locale::classic());  // counts without digit grouping
        for (const Rule& row : rules) {
            for (const std::string& cell : row.cells)
                out << cell << '\t';
            out << row.count << '\n';
        }
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporaryName, ignored);
            throw ESyntax("cannot write file by write", 0, fileName);
        }
    }
    std::error_code error;
    std::filesystem::rename(temporaryName, fileName, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporaryName, ignored);
        throw ESyntax("cannot write file by rename", 0, fileName);
    }
}
