#include "core/ftransform/TFTransform.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>

#include "core/io/FileReplace.h"
#include "core/text/ESyntax.h"

namespace {

// Every axis has at least 2 nodes and the node grid fits in an int, so 2^n <= INT_MAX.
constexpr int kMaxDimensions = 30;

std::vector<TFuzzyCovering> MakeCoverings(std::span<const FTDimensionSettings> settings) {
    if (settings.size() > kMaxDimensions) {
        throw std::length_error("F-transform: too many dimensions");
    }
    std::vector<TFuzzyCovering> coverings;
    coverings.reserve(settings.size());
    for (const FTDimensionSettings& axis : settings)
        coverings.emplace_back(axis);
    return coverings;
}

std::vector<int> NodeCounts(const std::vector<TFuzzyCovering>& coverings) {
    std::vector<int> counts;
    counts.reserve(coverings.size());
    for (const TFuzzyCovering& covering : coverings)
        counts.push_back(covering.Nodes());
    return counts;
}

// Adds one row of grid samples, along which only input 0 moves. offsets holds the positions of
// the other inputs' node combinations and factors their basis values, outer per combination in
// axis order; each sample multiplies its own basis value by them in turn, as AddSample does (its
// 1.0 * basis is basis). Outer is that count when known at compile time, else -1.
template <int Outer, class Neighbours>
void AddRow(std::span<const Neighbours> row, const double* outputs, int stride,
            std::span<const int> offsets, const double* factors, int outer, double* sums,
            double* weights) {
    const int outerCount = Outer >= 0 ? Outer : outer;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const Neighbours& around = row[i];
        const double output = outputs[i];
        for (int c = 0; c < around.count; ++c) {
            const int position = around.base + c * stride;
            const double basis = around.basis[c];
            const double* factor = factors;
            for (const int offset : offsets) {
                double weight = basis;
                for (int d = 0; d < outerCount; ++d)
                    weight *= factor[d];
                factor += outerCount;
                sums[position + offset] += output * weight;
                weights[position + offset] += weight;
            }
        }
    }
}

// Number texts of the file, always with a decimal point whatever the process locale.
void AppendGeneral(std::string& text, double value) {  // printf "%g"
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
    text.append(buffer, result.ptr);
}

void AppendFixed18(std::string& text, double value) {  // printf "%.18f"
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 18);
    text.append(buffer, result.ptr);
}

}  // namespace

TFTransform::TFTransform(std::span<const FTDimensionSettings> settings)
    : coverings_(MakeCoverings(settings)),
      sums_(NodeCounts(coverings_)),
      weights_(NodeCounts(coverings_)),
      components_(NodeCounts(coverings_)),
      defined_(NodeCounts(coverings_)) {
    int stride = 1;
    for (const TFuzzyCovering& covering : coverings_) {
        strides_.push_back(stride);
        stride *= covering.Nodes();
    }
}

// What ForEachNeighbour works out per axis, for values known in advance. ForEachNeighbour keeps
// its own copy: sharing this one made AddSample measurably slower.
TFTransform::AxisNeighbours TFTransform::Around(int d, double x) const {
    const TFuzzyCovering& covering = coverings_[d];
    const int k = covering.Partition().NodeBelow(x);
    AxisNeighbours around;
    around.base = k * strides_[d];
    around.count = k + 1 < covering.Nodes() ? 2 : 1;
    around.basis[0] = covering.BasisValue(k, x);
    around.basis[1] = around.count == 2 ? covering.BasisValue(k + 1, x) : 0.0;
    return around;
}

// Calls visit(linear node position, weight) for each node combination around the point, first
// axis fastest; the weight is the product of the axes' basis values in axis order.
template <class Visit>
void TFTransform::ForEachNeighbour(std::span<const double> point, Visit visit) const {
    const int n = Dimensions();
    // Per axis: position of the lower node, how many nodes (1 at the upper end, else 2) and their
    // basis values at the point.
    std::array<int, kMaxDimensions> base;
    std::array<int, kMaxDimensions> count;
    std::array<std::array<double, 2>, kMaxDimensions> basis;
    std::array<int, kMaxDimensions> choice{};
    for (int d = 0; d < n; ++d) {
        const TFuzzyCovering& covering = coverings_[d];
        const int k = covering.Partition().NodeBelow(point[d]);
        base[d] = k * strides_[d];
        count[d] = k + 1 < covering.Nodes() ? 2 : 1;
        basis[d][0] = covering.BasisValue(k, point[d]);
        basis[d][1] = count[d] == 2 ? covering.BasisValue(k + 1, point[d]) : 0.0;
    }
    for (;;) {
        double weight = 1.0;
        int position = 0;
        for (int d = 0; d < n; ++d) {
            weight *= basis[d][choice[d]];
            position += base[d] + choice[d] * strides_[d];
        }
        visit(position, weight);
        int d = 0;
        while (d < n && choice[d] + 1 == count[d])
            choice[d++] = 0;
        if (d == n)
            return;
        ++choice[d];
    }
}

void TFTransform::ResetSums() {
    sums_.Clear();
    weights_.Clear();
    defined_.Clear();
}

void TFTransform::AddSample(std::span<const double> point) {
    const std::size_t n = coverings_.size();
    if (point.size() < n + 1) {
        throw std::invalid_argument("F-transform: a sample needs the inputs and the output");
    }
    const double output = point[n];
    const std::span<double> sums = sums_.Data();
    const std::span<double> weights = weights_.Data();
    ForEachNeighbour(point, [&](int position, double weight) {
        sums[position] += output * weight;
        weights[position] += weight;
    });
}

TFTransform::SampleGrid TFTransform::MakeSampleGrid(
    std::span<const std::vector<double>> axes) const {
    if (axes.size() != coverings_.size())
        throw std::invalid_argument("F-transform: a sample grid needs one axis per input");
    SampleGrid grid;
    grid.points_ = 1;
    for (int d = 0; d < Dimensions(); ++d) {
        const std::vector<double>& values = axes[d];
        if (!values.empty() && grid.points_ > SIZE_MAX / values.size())
            throw std::length_error("F-transform: too many grid points");
        grid.points_ *= values.size();
        std::vector<AxisNeighbours> around;
        around.reserve(values.size());
        for (const double x : values)
            around.push_back(Around(d, x));
        grid.axes_.push_back(std::move(around));
        grid.nodes_.push_back(coverings_[d].Nodes());
    }
    return grid;
}

void TFTransform::AddGridSamples(const SampleGrid& grid, std::size_t first,
                                 std::span<const double> outputs) {
    const int n = Dimensions();
    bool sameNodes = static_cast<int>(grid.nodes_.size()) == n;
    for (int d = 0; sameNodes && d < n; ++d)
        sameNodes = grid.nodes_[d] == coverings_[d].Nodes();
    if (!sameNodes)
        throw std::invalid_argument("F-transform: the sample grid was made for other nodes");
    if (first > grid.points_ || outputs.size() > grid.points_ - first)
        throw std::out_of_range("F-transform: samples past the end of the grid");
    if (outputs.empty())
        return;
    if (n == 0) {
        for (const double output : outputs)
            AddSample(std::span(&output, 1));
        return;
    }
    std::array<std::size_t, kMaxDimensions> index;
    std::size_t rest = first;
    for (int d = 0; d < n; ++d) {
        index[d] = rest % grid.axes_[d].size();
        rest /= grid.axes_[d].size();
    }
    double* const sums = sums_.Data().data();
    double* const weights = weights_.Data().data();
    const int outer = n - 1;
    // One to three inputs, the usual, get a row kernel with the count of factors fixed.
    constexpr std::array kFixedOuter = {&AddRow<0, AxisNeighbours>, &AddRow<1, AxisNeighbours>,
                                        &AddRow<2, AxisNeighbours>};
    const auto addRow = outer < static_cast<int>(kFixedOuter.size()) ? kFixedOuter[outer]
                                                                     : &AddRow<-1, AxisNeighbours>;
    // Per row, the node combinations of inputs 1 to n-1; their capacity lasts from row to row.
    std::vector<int> offsets;
    std::vector<double> factors;
    for (std::size_t done = 0; done < outputs.size();) {
        offsets.clear();
        factors.clear();
        std::array<int, kMaxDimensions> choice{};
        for (;;) {
            int offset = 0;
            for (int d = 1; d < n; ++d) {
                const AxisNeighbours& around = grid.axes_[d][index[d]];
                offset += around.base + choice[d] * strides_[d];
                factors.push_back(around.basis[choice[d]]);
            }
            offsets.push_back(offset);
            int d = 1;
            while (d < n && choice[d] + 1 == grid.axes_[d][index[d]].count)
                choice[d++] = 0;
            if (d == n)
                break;
            ++choice[d];
        }
        const std::span<const AxisNeighbours> row =
            std::span(grid.axes_[0])
                .subspan(index[0],
                         std::min(grid.axes_[0].size() - index[0], outputs.size() - done));
        addRow(row, outputs.data() + done, strides_[0], offsets, factors.data(), outer, sums,
               weights);
        done += row.size();
        index[0] = 0;
        for (int d = 1; d < n && ++index[d] == grid.axes_[d].size(); ++d)
            index[d] = 0;
    }
}

void TFTransform::ComputeComponents() {
    const std::span<const double> sums = sums_.Data();
    const std::span<const double> weights = weights_.Data();
    const std::span<double> components = components_.Data();
    const std::span<double> defined = defined_.Data();
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (weights[i] == 0.0) {
            components[i] = 0.0;
        } else {
            components[i] = sums[i] / weights[i];
            defined[i] = 1.0;
        }
    }
}

double TFTransform::InverseAt(std::span<const double> point) const {
    if (point.size() < coverings_.size()) {
        throw std::invalid_argument("F-transform: the point needs a value for every input");
    }
    const std::span<const double> components = components_.Data();
    const std::span<const double> defined = defined_.Data();
    double result = 0.0;
    // No division by the total weight: the basic functions of each axis sum to 1 inside it.
    ForEachNeighbour(point, [&](int position, double weight) {
        const double component = defined[position] > 0.0 ? components[position] : defaultValue_;
        result += component * weight;
    });
    return result;
}

std::string TFTransform::FtvText() const {
    std::string text = "dimensions: " + std::to_string(Dimensions()) + "\n\n";
    for (int d = 0; d < Dimensions(); ++d) {
        const TFuzzyCovering& covering = coverings_[d];
        text += "dim " + std::to_string(d) + ":\n  low: ";
        AppendGeneral(text, covering.Partition().Low());
        text += "\n  high: ";
        AppendGeneral(text, covering.Partition().High());
        text += "\n  nodes: " + std::to_string(covering.Nodes()) + "\n  type: ";
        text += covering.Cover().GetTypeName();
        text += "\n\n";
    }
    const std::span<const double> components = components_.Data();
    const std::span<const double> defined = defined_.Data();
    std::vector<int> node(coverings_.size(), 0);
    for (std::size_t i = 0; i < components.size(); ++i) {
        if (defined[i] >= 1.0) {
            for (const int k : node)
                text += std::to_string(k) + "\t";
            AppendFixed18(text, components[i]);
            text += "\n";
        }
        for (std::size_t d = 0; d < node.size() && ++node[d] == coverings_[d].Nodes(); ++d) {
            node[d] = 0;
        }
    }
    text += "\n";
    return text;
}

void TFTransform::SaveToStream(std::ostream& out) const {
    const std::string text = FtvText();
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
}

bool TFTransform::SaveToFile(const std::string& fileName) const {
    std::string ignored;
    return SaveToFile(fileName, ignored);
}

bool TFTransform::SaveToFile(const std::string& fileName, std::string& error) const {
    try {
        ReplaceFileText(fileName, FtvText());
    } catch (const ESyntax& failure) {
        error = failure.Message();
        return false;
    }
    return true;
}
