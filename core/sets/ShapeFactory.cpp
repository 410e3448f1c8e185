#include "core/sets/ShapeFactory.h"

#include "core/sets/CFuzzyGaussianSet.h"
#include "core/sets/CFuzzyQuadraticSet.h"
#include "core/sets/CFuzzyTrapezoidSet.h"
#include "core/sets/CFuzzyTriangSet.h"

std::optional<UserTermShape> FindShape(std::string_view shapeName) {
    for (std::size_t row = 0; row < kShapeNames.size(); ++row) {
        if (shapeName == kShapeNames[row])
            return static_cast<UserTermShape>(row);
    }
    return std::nullopt;
}

std::unique_ptr<CFuzzyParamSet> CreateShapeSet(UserTermShape shape, double lo, double hi) {
    switch (shape) {
        case UserTermShape::kTriang:
            return std::make_unique<CFuzzyTriangSet>(lo, hi);
        case UserTermShape::kTrapezoid:
            return std::make_unique<CFuzzyTrapezoidSet>(lo, hi);
        case UserTermShape::kQuadratic:
            return std::make_unique<CFuzzyQuadraticSet>(lo, hi);
        case UserTermShape::kGaussian:
            return std::make_unique<CFuzzyGaussianSet>(lo, hi);
    }
    return nullptr;
}

std::unique_ptr<CFuzzyParamSet> CreateShapeSet(std::string_view shapeName, double lo, double hi) {
    const std::optional<UserTermShape> shape = FindShape(shapeName);
    return shape ? CreateShapeSet(*shape, lo, hi) : nullptr;
}
