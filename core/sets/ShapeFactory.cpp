#include "core/sets/ShapeFactory.h"

#include "core/sets/CFuzzyGaussianSet.h"
#include "core/sets/CFuzzyQuadraticSet.h"
#include "core/sets/CFuzzyTrapezoidSet.h"
#include "core/sets/CFuzzyTriangSet.h"

std::unique_ptr<CFuzzyParamSet> CreateShapeSet(std::string_view shapeName, double lo, double hi) {
    if (shapeName == kShapeNames[0])
        return std::make_unique<CFuzzyTriangSet>(lo, hi);
    if (shapeName == kShapeNames[1])
        return std::make_unique<CFuzzyTrapezoidSet>(lo, hi);
    if (shapeName == kShapeNames[2])
        return std::make_unique<CFuzzyQuadraticSet>(lo, hi);
    if (shapeName == kShapeNames[3])
        return std::make_unique<CFuzzyGaussianSet>(lo, hi);
    return nullptr;
}
