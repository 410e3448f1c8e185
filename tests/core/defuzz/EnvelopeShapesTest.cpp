#include "core/defuzz/EnvelopeShapes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

#include "core/defuzz/DefuzzificationMethods.h"

namespace {

std::uint64_t Bits(double value) {
    return std::bit_cast<std::uint64_t>(value);
}

// Few levels, so that plateaus, ties between consequents and degrees equal to samples are common.
const double kLevels[] = {0.125, 0.25, 0.5, 0.5, 0.75, 1.0};

// A consequent that rises to its peak and falls, stored over [first, end) (possibly past the
// grid's end and with zeros at its ends), or, when not peaked, any samples.
std::vector<double> DrawConsequent(std::mt19937& random, int stored, bool peaked) {
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const auto level = [&] { return random() % 2 ? kLevels[random() % 6] : unit(random); };
    std::vector<double> values(stored);
    for (double& v : values)
        v = random() % 5 == 0 ? 0.0 : level();
    if (!peaked)
        return values;
    const int peak = static_cast<int>(random() % stored);
    std::sort(values.begin(), values.begin() + peak);
    std::sort(values.begin() + peak, values.end(), std::greater<>());
    // The peak is the greatest sample, with as many equal ones after it as drawn.
    const double top = *std::max_element(values.begin(), values.end());
    const double highestAfter = values[peak];
    std::replace(values.begin() + peak, values.end(), highestAfter, top);
    return values;
}

struct DrawnCase {
    DefuzzificationGrid grid{};
    std::vector<std::vector<double>> values;
    std::vector<SampleRun> runs;
    std::vector<double> degrees;

    explicit DrawnCase(std::mt19937& random) {
        const int n = random() % 4 == 0 ? 2 + static_cast<int>(random() % 6)
                                        : 2 + static_cast<int>(random() % 80);
        const bool symmetric = random() % 3 == 0;
        grid = {n, symmetric ? -2.0 : 0.5, 2.0, symmetric};
        // Up to 10 consequents: more than 8 cuts go the way of the samples.
        const int count = 1 + static_cast<int>(random() % (random() % 4 == 0 ? 10 : 4));
        values.resize(count);
        runs.resize(count);
        degrees.resize(count);
        for (int k = 0; k < count; ++k) {
            const int first = static_cast<int>(random() % n);
            const int stored = 1 + static_cast<int>(random() % (n + 2 - first));
            values[k] = DrawConsequent(random, stored, random() % 12 != 0);
            runs[k] = {values[k].data(), first, first + stored};
            degrees[k] = DrawDegree(random, k);
        }
    }

    // Degrees of 0 and 1, equal to samples of the consequent, and now and then above 1.
    double DrawDegree(std::mt19937& random, int k) const {
        switch (random() % 6) {
            case 0:
                return 0.0;
            case 1:
                return random() % 8 == 0 ? 1.5 : 1.0;
            case 2:
                return values[k][random() % values[k].size()];
            case 3:
                return kLevels[random() % 6];
            default:
                return std::uniform_real_distribution<double>(0.0, 1.0)(random);
        }
    }

    // The next point: some degrees stay, the others change.
    void MoveOn(std::mt19937& random) {
        for (std::size_t k = 0; k < degrees.size(); ++k) {
            if (random() % 2)
                degrees[k] = DrawDegree(random, static_cast<int>(k));
        }
    }

    // The general way: the kernel's samples, all of them, and their value.
    double SampleValue(SetKernel kernel) const {
        const int n = grid.samples;
        const std::vector<std::uint8_t> active(runs.size(), 1);
        std::vector<std::uint8_t> fired(runs.size());
        std::vector<double> samples(n);
        RunPortableSetKernel(
            kernel, {static_cast<int>(runs.size()), active.data(), runs.data(), degrees.data()},
            fired.data(), samples.data(), n);
        return SimpleLinguisticSampleValue(samples, grid);
    }
};

// Seeded random consequents (peaked ones with plateaus and ties, runs past the grid, some not
// peaked), degrees that tie with samples, symmetric contexts: where the shapes decide the value,
// it is the value of the kernel's samples bit for bit, whatever the searches start from and
// whichever degrees the point before had.
TEST(EnvelopeShapes, ValueIsThatOfTheSamples) {
    std::mt19937 random(5);
    int decided = 0;
    int trials = 0;
    for (int trial = 0; trial < 6000; ++trial) {
        DrawnCase drawn(random);
        std::vector<PeakedRun> shapes;
        for (const SampleRun& run : drawn.runs)
            shapes.push_back(PeakedRunOf(run, drawn.grid.samples));
        for (const SetKernel kernel :
             {SetKernel::kZadehMinimum, SetKernel::kZadehProduct, SetKernel::kZadehLukasiewicz}) {
            std::vector<CutBounds> near(shapes.size());
            for (CutBounds& bounds : near) {
                bounds = {static_cast<int>(random() % 100) - 10, static_cast<int>(random() % 100),
                          static_cast<int>(random() % 100) - 10, static_cast<int>(random() % 100)};
            }
            // Points one after another, the searches starting where the last one left them.
            for (int point = 0; point < 3; ++point, drawn.MoveOn(random)) {
                const double expected = drawn.SampleValue(kernel);
                ++trials;
                const std::optional<double> shaped =
                    EnvelopeLinguisticValue(kernel, shapes, drawn.degrees.data(), drawn.grid, near);
                if (!shaped)
                    continue;
                ++decided;
                ASSERT_EQ(Bits(*shaped), Bits(expected))
                    << "trial " << trial << ", kernel " << static_cast<int>(kernel) << ", point "
                    << point;
            }
        }
    }
    // The shapes must decide most cases, or the comparison above tests little.
    EXPECT_GT(decided, trials / 2);
}

TEST(EnvelopeShapes, PeakedRunsAreThoseThatRiseToTheirPeakAndFall) {
    const std::vector<double> trapezoid = {0.0, 0.5, 1.0, 1.0, 0.25, 0.0};
    const PeakedRun peaked = PeakedRunOf({trapezoid.data(), 3, 9}, 20);
    EXPECT_TRUE(peaked.peaked);
    EXPECT_EQ(peaked.first, 4);
    EXPECT_EQ(peaked.last, 7);
    EXPECT_EQ(peaked.peakFirst, 5);
    EXPECT_EQ(peaked.peakLast, 6);
    EXPECT_EQ(peaked.peak, 1.0);
    // The grid ends inside the run: only the samples on it count.
    const PeakedRun cut = PeakedRunOf({trapezoid.data(), 3, 9}, 6);
    EXPECT_TRUE(cut.peaked);
    EXPECT_EQ(cut.last, 5);
    EXPECT_EQ(cut.run.end, 6);

    const std::vector<double> twoPeaks = {0.5, 1.0, 0.5, 1.0};
    EXPECT_FALSE(PeakedRunOf({twoPeaks.data(), 0, 4}, 4).peaked);
    const std::vector<double> negative = {0.5, -0.25, 0.0};
    EXPECT_FALSE(PeakedRunOf({negative.data(), 0, 3}, 3).peaked);
    const std::vector<double> zeros = {0.0, 0.0};
    const PeakedRun empty = PeakedRunOf({zeros.data(), 1, 3}, 4);
    EXPECT_TRUE(empty.peaked);
    EXPECT_LT(empty.last, empty.first);
}

TEST(EnvelopeShapes, RefusesWhatTheShapesDoNotDecide) {
    const std::vector<double> rising = {0.5, 1.0};
    const std::vector<double> falling = {1.0, 0.5};
    const std::vector<PeakedRun> shapes = {PeakedRunOf({rising.data(), 0, 2}, 4),
                                           PeakedRunOf({falling.data(), 2, 4}, 4)};
    std::vector<CutBounds> near(2);
    const DefuzzificationGrid grid{4, 0.0, 1.0, false};
    // Above 0 at both ends: the least sample is not known.
    const double both[] = {1.0, 1.0};
    EXPECT_FALSE(EnvelopeLinguisticValue(SetKernel::kZadehMinimum, shapes, both, grid, near));
    const double one[] = {1.0, 0.0};
    EXPECT_TRUE(EnvelopeLinguisticValue(SetKernel::kZadehMinimum, shapes, one, grid, near));
    EXPECT_FALSE(EnvelopeLinguisticValue(SetKernel::kLogical, shapes, one, grid, near));
    EXPECT_THROW(EnvelopeLinguisticValue(SetKernel::kZadehMinimum, shapes, one, grid,
                                         std::span(near).first(1)),
                 std::invalid_argument);
}

}  // namespace
