// The loops of SetKernelLoops.h four samples at a time. The build compiles this file alone with
// AVX2 (x86-64, GCC); its code runs only where Avx2SetKernels() says the processor has it.
#include "core/inference/SetKernels.h"

#ifdef __AVX2__

#include "core/inference/SetKernelLoops.h"

extern const bool kAvx2SetKernelsBuilt = true;

namespace {

using Double4 = double __attribute__((vector_size(32)));
using Mask4 = std::int64_t __attribute__((vector_size(32)));

}  // namespace

void RunAvx2SetKernel(SetKernel kernel, const KernelRules& rules, std::uint8_t* fired,
                      double* samples, int n) {
    set_kernel_loops::Run<Double4, Mask4>(kernel, rules, fired, samples, n);
}

SampleBounds RunAvx2ZadehValueKernel(SetKernel kernel, const KernelRules& rules, double* samples,
                                     int n) {
    return set_kernel_loops::RunValues<Double4, Mask4>(kernel, rules, samples, n);
}

#else

extern const bool kAvx2SetKernelsBuilt = false;

void RunAvx2SetKernel(SetKernel kernel, const KernelRules& rules, std::uint8_t* fired,
                      double* samples, int n) {
    RunPortableSetKernel(kernel, rules, fired, samples, n);
}

SampleBounds RunAvx2ZadehValueKernel(SetKernel kernel, const KernelRules& rules, double* samples,
                                     int n) {
    return RunPortableZadehValueKernel(kernel, rules, samples, n);
}

#endif
