#include "core/inference/SetKernels.h"

#include <stdexcept>

#include "core/inference/SetKernelLoops.h"

// Whether the AVX2 build of the loops was compiled with AVX2 (only on x86-64 with GCC); a flag,
// not a function, so that asking runs none of that build's code.
extern const bool kAvx2SetKernelsBuilt;

namespace {

// Two samples at a time: what every x86-64 processor has.
using Double2 = double __attribute__((vector_size(16)));
using Mask2 = std::int64_t __attribute__((vector_size(16)));

}  // namespace

void RunPortableSetKernel(SetKernel kernel, const KernelRules& rules, std::uint8_t* fired,
                          double* samples, int n) {
    set_kernel_loops::Run<Double2, Mask2>(kernel, rules, fired, samples, n);
}

SampleBounds RunPortableZadehValueKernel(SetKernel kernel, const KernelRules& rules,
                                         double* samples, int n) {
    return set_kernel_loops::RunValues<Double2, Mask2>(kernel, rules, samples, n);
}

bool Avx2SetKernels() {
#if defined(__x86_64__) && defined(__GNUC__)
    static const bool available = kAvx2SetKernelsBuilt && __builtin_cpu_supports("avx2");
    return available;
#else
    return false;
#endif
}

void RunSetKernel(SetKernel kernel, const KernelRules& rules, std::uint8_t* fired, double* samples,
                  int n) {
    if (Avx2SetKernels())
        RunAvx2SetKernel(kernel, rules, fired, samples, n);
    else
        RunPortableSetKernel(kernel, rules, fired, samples, n);
}

SampleBounds RunZadehValueKernel(SetKernel kernel, const KernelRules& rules, double* samples,
                                 int n) {
    if (kernel == SetKernel::kLogical)
        throw std::logic_error("the logical kernel lowers its samples from 1");
    if (Avx2SetKernels())
        return RunAvx2ZadehValueKernel(kernel, rules, samples, n);
    return RunPortableZadehValueKernel(kernel, rules, samples, n);
}
