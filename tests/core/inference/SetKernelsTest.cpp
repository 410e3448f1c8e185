#include "core/inference/SetKernels.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

// Seeded random rules: runs of every length and place (some past the grid's end), degrees 0
// and 1 among them, switched-off rules.
struct RandomRules {
    int n = 0;
    std::vector<std::vector<double>> values;
    std::vector<SampleRun> runs;
    std::vector<std::uint8_t> active;
    std::vector<double> firing;

    explicit RandomRules(std::mt19937& random) {
        std::uniform_real_distribution<double> unit(0.0, 1.0);
        n = 1 + static_cast<int>(random() % 40);
        const int ruleCount = 1 + static_cast<int>(random() % 8);
        values.resize(ruleCount);
        runs.resize(ruleCount);
        active.resize(ruleCount);
        firing.resize(ruleCount);
        for (int r = 0; r < ruleCount; ++r) {
            const int first = static_cast<int>(random() % n);
            const int end = first + static_cast<int>(random() % (n + 3 - first));
            values[r].resize(end - first);
            for (double& v : values[r])
                v = random() % 5 == 0 ? 1.0 : unit(random);
            runs[r] = {values[r].data(), first, end};
            active[r] = random() % 6 != 0;
            firing[r] = std::vector{0.0, 1.0, unit(random), unit(random)}[random() % 4];
        }
    }

    KernelRules Kernel() const {
        return {static_cast<int>(runs.size()), active.data(), runs.data(), firing.data()};
    }
};

// Both builds of the loops on seeded random rules (runs of every length and place, degrees 0
// and 1 among them, switched-off rules) must give the same samples bit for bit and the same
// fired flags.
TEST(SetKernels, Avx2BuildEqualsThePortableOne) {
    if (!Avx2SetKernels())
        GTEST_SKIP() << "no AVX2 here";
    std::mt19937 random(7);
    for (int trial = 0; trial < 200; ++trial) {
        const RandomRules rules_drawn(random);
        const int n = rules_drawn.n;
        const int ruleCount = static_cast<int>(rules_drawn.runs.size());
        const KernelRules rules = rules_drawn.Kernel();
        for (const SetKernel kernel : {SetKernel::kZadehMinimum, SetKernel::kZadehProduct,
                                       SetKernel::kZadehLukasiewicz, SetKernel::kLogical}) {
            std::vector<double> portable(n), avx2(n);
            std::vector<std::uint8_t> portableFired(ruleCount), avx2Fired(ruleCount);
            RunPortableSetKernel(kernel, rules, portableFired.data(), portable.data(), n);
            RunAvx2SetKernel(kernel, rules, avx2Fired.data(), avx2.data(), n);
            for (int j = 0; j < n; ++j)
                ASSERT_EQ(std::bit_cast<std::uint64_t>(portable[j]),
                          std::bit_cast<std::uint64_t>(avx2[j]))
                    << "trial " << trial << ", kernel " << static_cast<int>(kernel) << ", sample "
                    << j;
            ASSERT_EQ(portableFired, avx2Fired) << "trial " << trial;
        }
    }
}

// The Zadeh loops without fired flags, in both builds, leave the samples RunSetKernel leaves, bit
// for bit, inside the bounds they return and write nothing outside them, where those samples
// are 0; the peak is the greatest sample.
TEST(SetKernels, ValueLoopsGiveTheSamplesInsideTheirBounds) {
    using ValueKernel = SampleBounds (*)(SetKernel, const KernelRules&, double*, int);
    std::vector<ValueKernel> builds = {RunPortableZadehValueKernel};
    if (Avx2SetKernels())
        builds.push_back(RunAvx2ZadehValueKernel);
    std::mt19937 random(9);
    for (int trial = 0; trial < 300; ++trial) {
        RandomRules rules_drawn(random);
        const int n = rules_drawn.n;
        // The value loops read no active flags: a rule switched off has degree 0.
        for (std::size_t r = 0; r < rules_drawn.runs.size(); ++r) {
            if (!rules_drawn.active[r])
                rules_drawn.firing[r] = 0.0;
        }
        const KernelRules rules = rules_drawn.Kernel();
        for (const SetKernel kernel :
             {SetKernel::kZadehMinimum, SetKernel::kZadehProduct, SetKernel::kZadehLukasiewicz}) {
            std::vector<double> expected(n);
            std::vector<std::uint8_t> fired(rules_drawn.runs.size());
            RunPortableSetKernel(kernel, rules, fired.data(), expected.data(), n);
            double greatest = 0.0;
            for (const double mu : expected)
                greatest = mu > greatest ? mu : greatest;
            for (const ValueKernel build : builds) {
                std::vector<double> samples(n, -7.0);
                const SampleBounds bounds = build(kernel, rules, samples.data(), n);
                ASSERT_TRUE(0 <= bounds.first && bounds.first <= bounds.end && bounds.end <= n);
                for (int j = 0; j < n; ++j) {
                    const bool inside = j >= bounds.first && j < bounds.end;
                    ASSERT_EQ(std::bit_cast<std::uint64_t>(samples[j]),
                              std::bit_cast<std::uint64_t>(inside ? expected[j] : -7.0))
                        << "trial " << trial << ", sample " << j;
                    if (!inside) {
                        ASSERT_EQ(expected[j], 0.0) << "trial " << trial << ", sample " << j;
                    }
                }
                ASSERT_EQ(bounds.peak, greatest) << "trial " << trial;
            }
        }
    }
    EXPECT_THROW(RunZadehValueKernel(SetKernel::kLogical, KernelRules{}, nullptr, 1),
                 std::logic_error);
}

}  // namespace
