#pragma once

#include "core/ftransform/FTDimensionSettings.h"
#include "core/ftransform/TFuzzyCovering.h"
#include "core/ftransform/TNDimArray.h"

#include <cstddef>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

// F-transform of a function of n inputs, built from samples:
//   ResetSums(); AddSample(...) per sample; ComputeComponents(); then InverseAt(...).
// Each sample and each inverse touch at most 2^n nodes: per axis the node at or below the point
// and the next one.
class TFTransform {
  public:
    class SampleGrid;

    // One axis per record, first axis fastest in the node arrays. Throws std::invalid_argument
    // for a bad record (see TFuzzyCovering) and std::length_error when the node grid is too
    // large for an int index. Sums and components start at 0.
    explicit TFTransform(std::span<const FTDimensionSettings> settings);

    int Dimensions() const { return static_cast<int>(coverings_.size()); }
    const TFuzzyCovering& Covering(int d) const { return coverings_[d]; }

    // Used by the inverse at nodes that no sample reached.
    double GetDefaultValue() const { return defaultValue_; }
    void SetDefaultValue(double value) { defaultValue_ = value; }

    // Clears sums, weights and the defined flags; components stay until the next compute.
    void ResetSums();
    // point: the n inputs followed by the output. Throws std::invalid_argument when shorter.
    void AddSample(std::span<const double> point);
    // For samples on a grid (axes[d] holds the values of input d; the grid's points run input 0
    // fastest): what AddSample works out per axis, done once per axis value. Throws
    // std::invalid_argument without one axis per input.
    SampleGrid MakeSampleGrid(std::span<const std::vector<double>> axes) const;
    // Adds outputs[i] as the sample at grid point first + i: the same sums, bit for bit, as
    // AddSample point by point in grid order. Throws std::invalid_argument for a grid made for
    // another node grid and std::out_of_range for points past the grid's end.
    void AddGridSamples(const SampleGrid& grid, std::size_t first, std::span<const double> outputs);
    // Component = weighted mean of the outputs at each reached node; 0 (undefined) elsewhere.
    void ComputeComponents();
    // The inverse transform at the first n values of point (a trailing output is ignored). Points
    // outside an axis choose the end node, but the basis values are taken at the true point.
    // Throws std::invalid_argument when point has fewer than n values.
    double InverseAt(std::span<const double> point) const;

    const TNDimArray& Components() const { return components_; }
    // 1.0 where the component came from data.
    const TNDimArray& DefinedFlags() const { return defined_; }

    // The ".ftv" text: the axes, then "node indices TAB component" for every defined node.
    std::string FtvText() const;
    void SaveToStream(std::ostream& out) const;
    // Replaces the file whole (see ReplaceFileText), so a failed write leaves an existing file
    // as it was. False when it cannot be written; error then says why ("cannot write file by
    // open: Permission denied").
    bool SaveToFile(const std::string& fileName) const;
    bool SaveToFile(const std::string& fileName, std::string& error) const;

  private:
    // Around a value on axis d: the position of the lower node, how many nodes (1 at the upper
    // end, else 2) and their basis values.
    struct AxisNeighbours {
        int base = 0;
        int count = 1;
        double basis[2] = {0.0, 0.0};
    };
    AxisNeighbours Around(int d, double x) const;
    template <class Visit>
    void ForEachNeighbour(std::span<const double> point, Visit visit) const;

    std::vector<TFuzzyCovering> coverings_;
    std::vector<int> strides_;
    double defaultValue_ = 0.0;
    TNDimArray sums_;
    TNDimArray weights_;
    TNDimArray components_;
    TNDimArray defined_;
};

class TFTransform::SampleGrid {
  public:
    std::size_t Points() const { return points_; }

  private:
    friend class TFTransform;
    std::vector<std::vector<AxisNeighbours>> axes_;
    std::vector<int> nodes_;  // per axis, of the transform that made it
    std::size_t points_ = 0;
};
