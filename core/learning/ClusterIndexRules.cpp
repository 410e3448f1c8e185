#include "core/learning/ClusterIndexRules.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <unordered_map>

#include "core/rulebase/Rules.h"

namespace {

// An optional sign and the leading digits, saturated to the range of int.
int LeadingInteger(std::string_view text) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    std::int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = std::min<std::int64_t>(value * 10 + (text[at] - '0'), std::int64_t{INT_MAX} + 1);
    }
    if (negative)
        value = -value;
    return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

struct IndicesHash {
    std::size_t operator()(const std::vector<int>& indices) const {
        std::uint64_t hash = 1469598103934665603ull;
        for (const int index : indices) {
            hash = (hash ^ static_cast<std::uint32_t>(index)) * 1099511628211ull;
            hash ^= hash >> 29;
        }
        return static_cast<std::size_t>(hash);
    }
};

}  // namespace

int CellTermNumber(std::string_view cell) {
    const std::size_t lastUnderscore = cell.rfind('_');
    return LeadingInteger(
        lastUnderscore == std::string_view::npos ? cell : cell.substr(lastUnderscore + 1));
}

int CellPrefixNumber(std::string_view cell) {
    if (cell.size() < 2)
        return 0;
    const std::size_t lastUnderscore = cell.rfind('_');
    if (lastUnderscore == std::string_view::npos)
        return LeadingInteger(cell.substr(1));
    if (lastUnderscore < 1)
        return 0;
    return LeadingInteger(cell.substr(1, lastUnderscore - 1));
}

std::vector<std::string> ClusterIndexRules::ClusterNames(const IndexRules& cluster) const {
    const std::vector<int>& first = cluster.members.front().indices;
    std::vector<int> low = first;
    std::vector<int> high = first;
    for (const IndexRule& member : cluster.members) {
        for (std::size_t i = 0; i < first.size(); ++i) {
            low[i] = std::min(low[i], member.indices[i]);
            high[i] = std::max(high[i], member.indices[i]);
        }
    }
    std::vector<std::string> names(first.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        // Appended piece by piece: GCC 12 at -O3 reports an impossible overlap (-Wrestrict) in
        // a literal + std::string chain.
        std::string& name = names[i];
        if (low[i] == high[i]) {
            name += 'p';
            name += std::to_string(prefixes_[i]);
        } else {
            name += "t_";
            name += std::to_string(low[i]);
        }
        name += '_';
        name += std::to_string(high[i]);
    }
    return names;
}

// Two rules are adjacent when their outputs are equal and their antecedents are equal or differ
// by one in exactly one place. Instead of testing every member of every cluster, the new rule
// looks up its own indices and its 2 (n - 1) neighbours in a table of the clusters that hold
// them; clusters merged away forward to the one that took their members.
void ApproxLearnRules(ClusterIndexRules& learner, const Rules& rules) {
    const std::size_t width = rules.Empty() ? 0 : rules[0].cells.size();
    for (const Rule& row : rules) {
        if (row.cells.size() != width) {
            throw std::invalid_argument("rules to learn from differ in their number of cells");
        }
    }
    learner = ClusterIndexRules{};
    if (rules.Empty())
        return;

    const std::vector<std::string>& firstRow = rules[0].cells;
    learner.variableCount_ = static_cast<int>(width);
    for (const std::string& cell : firstRow)
        learner.prefixes_.push_back(CellPrefixNumber(cell));
    learner.newTerms_.resize(width);

    std::unordered_map<std::vector<int>, std::size_t, IndicesHash> clusterHolding;
    std::vector<std::size_t> mergedInto;
    const auto current = [&mergedInto](std::size_t cluster) {
        while (mergedInto[cluster] != cluster) {
            mergedInto[cluster] = mergedInto[mergedInto[cluster]];
            cluster = mergedInto[cluster];
        }
        return cluster;
    };

    std::vector<int> probe;
    std::vector<std::size_t> adjacent;
    const auto lookUp = [&] {
        const auto found = clusterHolding.find(probe);
        if (found != clusterHolding.end())
            adjacent.push_back(current(found->second));
    };
    clusterHolding.reserve(rules.Size());

    for (const Rule& row : rules) {
        IndexRule rule;
        rule.indices.reserve(width);
        for (const std::string& cell : row.cells)
            rule.indices.push_back(CellTermNumber(cell));

        adjacent.clear();
        probe = rule.indices;
        lookUp();
        for (std::size_t i = 0; i + 1 < width; ++i) {
            const int index = probe[i];
            if (index > INT_MIN) {
                probe[i] = index - 1;
                lookUp();
            }
            if (index < INT_MAX) {
                probe[i] = index + 1;
                lookUp();
            }
            probe[i] = index;
        }
        // Clusters are listed in creation order, so the walk meets them by ascending number.
        std::sort(adjacent.begin(), adjacent.end());
        adjacent.erase(std::unique(adjacent.begin(), adjacent.end()), adjacent.end());

        std::vector<IndexRules>& clusters = learner.clusters_;
        if (adjacent.empty()) {
            const std::size_t created = clusters.size();
            clusterHolding.emplace(rule.indices, created);
            clusters.emplace_back().members.push_back(std::move(rule));
            mergedInto.push_back(created);
            continue;
        }
        const std::size_t target = adjacent.front();
        clusterHolding.emplace(rule.indices, target);
        std::list<IndexRule>& members = clusters[target].members;
        members.push_back(std::move(rule));
        for (std::size_t k = 1; k < adjacent.size(); ++k) {
            members.splice(members.end(), clusters[adjacent[k]].members);
            mergedInto[adjacent[k]] = target;
        }
    }

    for (const IndexRules& cluster : learner.clusters_) {
        if (cluster.members.empty())
            continue;
        const std::vector<std::string> names = learner.ClusterNames(cluster);
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i].starts_with("t_"))
                learner.newTerms_[i].insert(names[i]);
        }
    }
}

std::ostream& PrintLearnedTerms(std::ostream& out, const ClusterIndexRules& learner) {
    for (const IndexRules& cluster : learner.Clusters()) {
        if (cluster.members.empty())
            continue;
        for (const std::string& name : learner.ClusterNames(cluster))
            out << '"' << name << "\"\t";
        out << "\n\n";
    }
    out << "new terms:\n";
    for (int i = 0; i < learner.VariableCount(); ++i) {
        out << "var " << std::to_string(i) << ":\t";
        for (const std::string& name : learner.NewTerms()[i])
            out << name << '\t';
        out << '\n';
    }
    return out;
}
