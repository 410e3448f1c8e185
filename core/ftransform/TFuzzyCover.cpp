#include "core/ftransform/TFuzzyCover.h"

#include "core/ftransform/FTDimensionSettings.h"
#include "core/ftransform/TFuzzyNumberCover.h"
#include "core/ftransform/TFuzzyQuadraticCover.h"
#include "core/ftransform/TFuzzySinusCover.h"
#include "core/ftransform/TFuzzyTriangCover.h"

std::unique_ptr<TFuzzyCover> CreateFuzzyCover(int shape, double low, double high) {
    switch (shape) {
        case ftTriangular:
            return std::make_unique<TFuzzyTriangCover>(low, high);
        case ftQuadratic:
            return std::make_unique<TFuzzyQuadraticCover>(low, high);
        case ftSinusoidal:
            return std::make_unique<TFuzzySinusCover>(low, high);
        case ftFuzzyNumber:
            return std::make_unique<TFuzzyNumberCover>(low, high);
        default:
            return nullptr;
    }
}
