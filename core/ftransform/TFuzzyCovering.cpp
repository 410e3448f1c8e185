#include "core/ftransform/TFuzzyCovering.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace {

const FTDimensionSettings& Checked(const FTDimensionSettings& settings) {
    if (settings.nodes < 2) {
        throw std::invalid_argument("F-transform: an axis needs at least 2 nodes, not " +
                                    std::to_string(settings.nodes));
    }
    if (!(std::isfinite(settings.low) && std::isfinite(settings.high) &&
          settings.low < settings.high)) {
        throw std::invalid_argument("F-transform: an axis needs finite bounds with low < high");
    }
    if (settings.shape > ftFuzzyNumber) {
        throw std::invalid_argument("F-transform: unknown shape of basic functions " +
                                    std::to_string(settings.shape));
    }
    return settings;
}

}  // namespace

TFuzzyCovering::TFuzzyCovering(const FTDimensionSettings& settings)
    : partition_(Checked(settings).low, settings.high, settings.nodes - 1),
      nodes_(settings.nodes),
      low_(settings.low),
      step_(partition_.Step()) {
    cover_ = CreateFuzzyCover(settings.shape, -step_, step_);
}
