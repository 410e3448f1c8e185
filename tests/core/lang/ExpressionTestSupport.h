#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/lang/CBasicSettings.h"
#include "core/lang/ELingExpr.h"
#include "core/sets/CFuzzyTriangSet.h"

namespace expression_test {

inline void AddUserTerm(CBasicSettings& settings, std::vector<std::string> names) {
    const double lo = settings.GetLowerBound();
    const double hi = settings.GetUpperBound();
    settings.AddTerm(std::make_unique<CNamedTerm>(
        std::move(names), std::make_unique<CFuzzyTriangSet>(lo, lo, hi, lo, hi)));
}

// The tree's shape around its leaves' texts: "and(very small, [or(big, zero)])", where brackets
// mark a compound node met inside parentheses.
inline std::string Describe(const ELingExpr& node) {
    if (node.Kind() != ELingExpr::kBinary)
        return node.ToText();
    const auto& binary = static_cast<const EBinaryExpr&>(node);
    const std::string text = (binary.Connective() == EBinaryExpr::kAnd ? "and(" : "or(") +
                             Describe(binary.Left()) + ", " + Describe(binary.Right()) + ")";
    return binary.IsParenthesised() ? "[" + text + "]" : text;
}

}  // namespace expression_test
