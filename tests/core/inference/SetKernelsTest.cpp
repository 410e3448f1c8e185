#include "core/inference/SetKernels.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <random>
#include <vector>

namespace {

// Both builds of the loops on seeded random rules (runs of every length and place, degrees 0
// and 1 among them, switched-off rules) must give the same samples bit for bit and the same
// fired flags.
TEST(SetKernels, Avx2BuildEqualsThePortableOne) {
    if (!Avx2SetKernels())
        GTEST_SKIP() << "no AVX2 here";
    std::mt19937 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 200; ++trial) {
        const int n = 1 + static_cast<int>(random() % 40);
        const int ruleCount = 1 + static_cast<int>(random() % 8);
        std::vector<std::vector<double>> values(ruleCount);
        std::vector<SampleRun> runs(ruleCount);
        std::vector<std::uint8_t> active(ruleCount);
        std::vector<double> firing(ruleCount);
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
        const KernelRules rules{ruleCount, active.data(), runs.data(), firing.data()};
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

}  // namespace
