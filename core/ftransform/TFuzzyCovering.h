#pragma once

#include "core/ftransform/FTDimensionSettings.h"
#include "core/ftransform/TFuzzyCover.h"
#include "core/ftransform/TPartition.h"

#include <memory>

// One input axis of an F-transform: `nodes` copies of one basic function, node k at low + k * h
// with h = (high - low) / (nodes - 1), each reaching its neighbours' nodes.
class TFuzzyCovering {
  public:
    // Throws std::invalid_argument for fewer than 2 nodes, bounds that are not finite with
    // low < high, or an unknown shape.
    explicit TFuzzyCovering(const FTDimensionSettings& settings);

    int Nodes() const { return nodes_; }
    const TPartition& Partition() const { return partition_; }
    const TFuzzyCover& Cover() const { return *cover_; }

    // The value at x of the basic function of node k; 0 for a node outside the axis.
    double BasisValue(int k, double x) const {
        if (k < 0 || k >= nodes_)
            return 0.0;
        return cover_->Value(x - low_ - step_ * k);
    }

  private:
    TPartition partition_;
    std::unique_ptr<TFuzzyCover> cover_;
    int nodes_;
    double low_;
    double step_;
};
