#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/lang/CBasicSettings.h"
#include "core/lang/ELingExpr.h"
#include "core/lang/WordTables.h"
#include "core/sets/CFuzzyTriangSet.h"

namespace expression_test {

inline void AddUserTerm(CBasicSettings& settings, std::vector<std::string> names) {
    settings.AddTerm(std::make_unique<CNamedTerm>(
        std::move(names),
        std::make_unique<CFuzzyTriangSet>(settings.GetLowerBound(), settings.GetLowerBound(),
                                          settings.GetUpperBound(), settings.GetLowerBound(),
                                          settings.GetUpperBound())));
}

inline std::string Number(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

inline std::string ModifierShort(int modifier) {
    if (modifier == EModifTerm::kNegation)
        return "no ";
    if (modifier >= 0 && modifier < 8)
        return std::string(kHedges[modifier].shortForm) + " ";
    return "";
}

inline std::string SignText(int sign) {
    return sign < 0 ? "-" : sign > 0 ? "+" : "";
}

// A compact picture of a tree: "and(ve sm, [or(ml bi, ze)])", where brackets mark a compound
// node met inside parentheses, "#x" a crisp number and "user:row" a user term. Numbers print
// as "%g", so trees that agree to the text's precision look alike.
inline std::string Describe(const ELingExpr& node) {
    switch (node.Kind()) {
        case ELingExpr::kSingleton:
            return "#" + Number(static_cast<const ESingletonExpr&>(node).Value());
        case ELingExpr::kUndef:
            return "undef";
        case ELingExpr::kIgnor:
            return "ignor";
        case ELingExpr::kFuzzyTerm: {
            const auto& term = static_cast<const EFuzzyTerm&>(node);
            return SignText(term.Sign()) + ModifierShort(term.Modifier()) +
                   std::string(kAtomicTerms[term.Atom()].shortForm);
        }
        case ELingExpr::kZeroTerm: {
            const auto& term = static_cast<const EZeroTerm&>(node);
            return SignText(term.Sign()) + ModifierShort(term.Modifier()) + "ze";
        }
        case ELingExpr::kFuzzyNumber:
            return "about " + Number(static_cast<const EFuzzyNumber&>(node).Number());
        case ELingExpr::kUserTerm:
            return "user:" + std::to_string(static_cast<const EUserTerm&>(node).Row());
        case ELingExpr::kBinary: {
            const auto& binary = static_cast<const EBinaryExpr&>(node);
            const std::string text =
                std::string(binary.Connective() == EBinaryExpr::kAnd ? "and(" : "or(") +
                Describe(binary.Left()) + ", " + Describe(binary.Right()) + ")";
            return binary.IsParenthesised() ? "[" + text + "]" : text;
        }
        default:
            return "?";
    }
}

inline std::string Describe(const std::unique_ptr<ELingExpr>& node) {
    return node ? Describe(*node) : "null";
}

}  // namespace expression_test
