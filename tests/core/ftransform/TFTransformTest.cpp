#include "core/ftransform/TFTransform.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr double kTolerance = 1e-9;
using Point = std::vector<double>;

TFTransform Transform(std::vector<FTDimensionSettings> axes, const std::vector<Point>& samples) {
    TFTransform transform(axes);
    transform.ResetSums();
    for (const Point& sample : samples)
        transform.AddSample(sample);
    transform.ComputeComponents();
    return transform;
}

TFTransform ThreeTriangularNodes() {
    return Transform({{0.0, 1.0, 3, ftTriangular}}, {{0.0, 0.0}, {0.5, 1.0}, {1.0, 0.0}});
}

TEST(TFTransform, ComponentsAreWeightedMeansAndTheInverseInterpolates) {
    const TFTransform transform = ThreeTriangularNodes();
    const auto components = transform.Components().Data();
    EXPECT_EQ(std::vector(components.begin(), components.end()), (Point{0.0, 1.0, 0.0}));
    EXPECT_NEAR(transform.InverseAt(Point{0.25}), 0.5, kTolerance);
    EXPECT_NEAR(transform.InverseAt(Point{0.5, 123.0}), 1.0, kTolerance);  // output ignored
    // Far outside, the end node is chosen but its basic function no longer reaches the point.
    EXPECT_EQ(transform.InverseAt(Point{-5.0}), 0.0);
    EXPECT_EQ(transform.InverseAt(Point{5.0}), 0.0);
}

TEST(TFTransform, UnreachedNodesUseTheDefaultValue) {
    // The samples sit on nodes 0 and 4 and reach no other node.
    TFTransform transform = Transform({{0.0, 4.0, 5, ftTriangular}}, {{0.0, 2.0}, {4.0, 2.0}});
    transform.SetDefaultValue(10.0);
    EXPECT_EQ(transform.DefinedFlags().Data()[1], 0.0);
    EXPECT_EQ(transform.Components().Data()[1], 0.0);
    EXPECT_NEAR(transform.InverseAt(Point{0.5}), 0.5 * 2.0 + 0.5 * 10.0, kTolerance);
    transform.ResetSums();
    transform.ComputeComponents();
    EXPECT_NEAR(transform.InverseAt(Point{0.0}), 10.0, kTolerance);
}

TEST(TFTransform, ShortPointsAndBadAxesAreRefused) {
    TFTransform transform({{{0.0, 1.0, 4, ftTriangular}, {0.0, 1.0, 4, ftQuadratic}}});
    EXPECT_THROW(transform.AddSample(Point{0.5, 0.5}), std::invalid_argument);
    EXPECT_THROW(transform.InverseAt(Point{0.5}), std::invalid_argument);
    EXPECT_THROW(TFTransform({{{0.0, 1.0, 4, 0}, {0.0, 1.0, 1, 0}}}), std::invalid_argument);
    const std::vector<FTDimensionSettings> huge(3, {0.0, 1.0, 2000, ftTriangular});
    EXPECT_THROW(TFTransform{huge}, std::length_error);
}

TEST(TFTransform, InverseOfAConstantIsThatConstant) {
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 40; ++trial) {
        std::vector<FTDimensionSettings> axes;
        for (int d = 0; d <= trial % 3; ++d) {
            const double low = -50.0 + 100.0 * unit(random);
            axes.push_back({low, low + 0.01 + 20.0 * unit(random), 2 + trial % 11,
                            static_cast<std::uint8_t>((trial + d) % 4)});
        }
        const auto n = axes.size();
        const double constant = -10.0 + 20.0 * unit(random);
        auto randomPoint = [&] {
            Point point(n + 1, constant);
            for (std::size_t d = 0; d < n; ++d) {
                point[d] = axes[d].low + (axes[d].high - axes[d].low) * unit(random);
            }
            return point;
        };
        std::vector<Point> samples;
        for (int i = 0; i < 300; ++i)
            samples.push_back(randomPoint());
        TFTransform transform = Transform(axes, samples);
        transform.SetDefaultValue(constant);  // for nodes that no sample reached
        for (int probe = 0; probe < 20; ++probe) {
            EXPECT_NEAR(transform.InverseAt(randomPoint()), constant, kTolerance) << trial;
        }
    }
}

// The grid entry against AddSample point by point, on grids whose axes run past their ranges
// and hit the ends exactly, added in blocks that end anywhere. Four inputs take the kernel that
// is not fixed to a count of inputs.
TEST(TFTransformGrid, SumsAreThoseOfAddSamplePointByPoint) {
    for (int dimensions = 1; dimensions <= 4; ++dimensions) {
        for (unsigned seed = 1; seed <= 6; ++seed) {
            SCOPED_TRACE("dimensions " + std::to_string(dimensions) + ", seed " +
                         std::to_string(seed));
            std::mt19937 random(seed * 10 + dimensions);
            std::uniform_real_distribution<double> unit(0.0, 1.0);
            std::vector<FTDimensionSettings> axes;
            std::vector<std::vector<double>> values(dimensions);
            for (auto& axis : values) {
                const double low = -5.0 + 10.0 * unit(random);
                const double high = low + 0.5 + 10.0 * unit(random);
                axes.push_back({low, high, 2 + static_cast<int>(random() % 9),
                                static_cast<std::uint8_t>(random() % 4)});
                for (int k = 1 + static_cast<int>(random() % 23); k > 0; --k) {
                    const double inside = low + (high - low) * unit(random);
                    const double choices[] = {low, high, low - unit(random), high + unit(random),
                                              inside};
                    axis.push_back(choices[std::min<unsigned>(random() % 8, 4)]);
                }
            }
            TFTransform pointwise(axes);
            TFTransform onGrid(axes);
            const TFTransform::SampleGrid grid = onGrid.MakeSampleGrid(values);
            std::vector<double> outputs(grid.Points());
            for (double& output : outputs)
                output = -10.0 + 20.0 * unit(random);

            std::vector<std::size_t> index(dimensions, 0);
            Point point(dimensions + 1);
            for (const double output : outputs) {
                for (int d = 0; d < dimensions; ++d)
                    point[d] = values[d][index[d]];
                point[dimensions] = output;
                pointwise.AddSample(point);
                for (int d = 0; d < dimensions && ++index[d] == values[d].size(); ++d)
                    index[d] = 0;
            }
            for (std::size_t first = 0; first < outputs.size();) {
                const std::size_t length = std::min<std::size_t>(
                    1 + random() % (2 * values[0].size() + 3), outputs.size() - first);
                onGrid.AddGridSamples(grid, first, std::span(outputs).subspan(first, length));
                first += length;
            }
            pointwise.ComputeComponents();
            onGrid.ComputeComponents();
            const auto expected = pointwise.Components().Data();
            const auto actual = onGrid.Components().Data();
            for (std::size_t i = 0; i < expected.size(); ++i) {
                ASSERT_EQ(std::bit_cast<std::uint64_t>(actual[i]),
                          std::bit_cast<std::uint64_t>(expected[i]))
                    << "node " << i;
                ASSERT_EQ(onGrid.DefinedFlags().Data()[i], pointwise.DefinedFlags().Data()[i]);
            }
        }
    }
}

TEST(TFTransformGrid, RefusesGridsOfOtherShapesAndSamplesPastTheEnd) {
    const std::vector<FTDimensionSettings> axes(2, {0.0, 1.0, 4, ftTriangular});
    TFTransform transform(axes);
    const std::vector<std::vector<double>> values = {{0.0, 0.5}, {0.25, 1.0, 2.0}};
    EXPECT_THROW(transform.MakeSampleGrid(std::span(values).first(1)), std::invalid_argument);
    const TFTransform::SampleGrid grid = transform.MakeSampleGrid(values);
    ASSERT_EQ(grid.Points(), 6u);
    const std::vector<double> outputs(2, 1.0);
    EXPECT_THROW(transform.AddGridSamples(grid, 5, outputs), std::out_of_range);
    EXPECT_NO_THROW(transform.AddGridSamples(grid, 4, outputs));
    TFTransform other({{{0.0, 1.0, 4, ftTriangular}, {0.0, 1.0, 5, ftTriangular}}});
    EXPECT_THROW(other.AddGridSamples(grid, 0, outputs), std::invalid_argument);
}

class TFTransformFile : public testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::remove_all(directory_);
        std::filesystem::create_directories(directory_);
    }
    void TearDown() override { std::filesystem::remove_all(directory_); }

    static std::string Read(const std::filesystem::path& path) {
        std::ostringstream text;
        text << std::ifstream(path, std::ios::binary).rdbuf();
        return text.str();
    }
    std::size_t EntryCount() const {
        const std::filesystem::directory_iterator entries(directory_);
        return static_cast<std::size_t>(std::distance(begin(entries), end(entries)));
    }

    const std::filesystem::path directory_ =
        std::filesystem::path(testing::TempDir()) / ("tavo_ftv_" + std::to_string(::getpid()));
};

TEST_F(TFTransformFile, WritesAxesThenDefinedComponentsFirstIndexFastest) {
    const TFTransform transform =
        Transform({{0.0, 1.0, 2, ftTriangular}, {-1.5, 2.5e6, 2, ftFuzzyNumber}},
                  {{0.0, -1.5, 0.1}, {1.0, 2.5e6, -2.0}});  // reach nodes (0, 0) and (1, 1)
    const auto file = directory_ / "out.ftv";
    std::ofstream(file) << "old contents that are longer than the new file";
    ASSERT_TRUE(transform.SaveToFile(file.string()));
    EXPECT_EQ(Read(file),
              "dimensions: 2\n\n"
              "dim 0:\n  low: 0\n  high: 1\n  nodes: 2\n  type: triangular\n\n"
              "dim 1:\n  low: -1.5\n  high: 2.5e+06\n  nodes: 2\n  type: fuzzynumber\n\n"
              "0\t0\t0.100000000000000006\n"
              "1\t1\t-2.000000000000000000\n"
              "\n");
    EXPECT_EQ(EntryCount(), 1u);  // no temporary file left behind
    std::ostringstream stream;
    transform.SaveToStream(stream);
    EXPECT_EQ(stream.str(), Read(file));
}

TEST_F(TFTransformFile, UnwritableTargetsGiveFalseAndKeepWhatWasThere) {
    const TFTransform transform = ThreeTriangularNodes();
    std::string error;
    EXPECT_FALSE(transform.SaveToFile((directory_ / "missing" / "out.ftv").string(), error));
    EXPECT_EQ(error, "cannot write file by open: No such file or directory");
    const auto occupied = directory_ / "occupied.ftv";  // a directory where the file should go
    std::filesystem::create_directory(occupied);
    std::ofstream(occupied / "keep") << "kept";
    EXPECT_FALSE(transform.SaveToFile(occupied.string(), error));
    EXPECT_EQ(error, "cannot write file by open: not a regular file");
    EXPECT_EQ(Read(occupied / "keep"), "kept");
    EXPECT_EQ(EntryCount(), 1u);
}

}  // namespace
