#include "core/ftransform/TFTransform.h"

#include <array>
#include <charconv>
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
