#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

class CFuzzyParamSet;

// The shapes a user term can have, in the order the rulebase file's tables try them.
inline constexpr std::array<std::string_view, 4> kShapeNames = {"triang", "trapezoid", "quadratic",
                                                                "gaussian"};

// A user term's shape; the value is its row in kShapeNames.
enum class UserTermShape : std::uint8_t {
    kTriang = 0,
    kTrapezoid = 1,
    kQuadratic = 2,
    kGaussian = 3,
};

inline std::string_view ShapeName(UserTermShape shape) {
    return kShapeNames[static_cast<std::size_t>(shape)];
}
// The shape of a set's type name; nothing for a name that is not a shape.
std::optional<UserTermShape> FindShape(std::string_view shapeName);

// A set of the shape on [lo, hi] with all parameters 0, for the caller to set.
std::unique_ptr<CFuzzyParamSet> CreateShapeSet(UserTermShape shape, double lo, double hi);
// Null for a name that is not a shape.
std::unique_ptr<CFuzzyParamSet> CreateShapeSet(std::string_view shapeName, double lo, double hi);
