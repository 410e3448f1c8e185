#pragma once

#include <array>
#include <memory>
#include <string_view>

class CFuzzyParamSet;

// The shapes a user term can have, in the order the rulebase file's tables try them.
inline constexpr std::array<std::string_view, 4> kShapeNames = {"triang", "trapezoid", "quadratic",
                                                                "gaussian"};

// A set of the named shape on [lo, hi] with all parameters 0, for the caller to set; null for a
// name that is not a shape.
std::unique_ptr<CFuzzyParamSet> CreateShapeSet(std::string_view shapeName, double lo, double hi);
