#pragma once

#include <cstdint>

#include "core/inference/SampleRun.h"

// The loops of the inference methods that build their output set from every rule: one rule after
// another raises (Zadeh) or lowers (logical) the output samples it reaches. They work on vectors
// of samples, also built for AVX2 where the processor has it; element by element every operation
// is the scalar one, so samples and fired flags are the same on every processor.
enum class SetKernel { kZadehMinimum, kZadehProduct, kZadehLukasiewicz, kLogical };

// The rules as the loops read them: plain arrays of ruleCount entries.
struct KernelRules {
    int ruleCount = 0;
    const std::uint8_t* active = nullptr;
    const SampleRun* consequents = nullptr;
    const double* firing = nullptr;
};

// Writes the n output samples (n >= 1) and each rule's fired flag.
void RunSetKernel(SetKernel kernel, const KernelRules& rules, std::uint8_t* fired, double* samples,
                  int n);

// What a Zadeh kernel knows of the samples it computed: none is negative or NaN, those outside
// [first, end) are 0 (first == end when it wrote none), and the greatest is peak.
struct SampleBounds {
    int first = 0;
    int end = 0;
    double peak = 0.0;
};

// The samples of a Zadeh kernel as RunSetKernel writes them, without the fired flags, for sweeps
// that need only the samples: only those inside the bounds returned are written. The active flags
// are not read (they may be null): a rule that takes no part must have a degree of 0. Throws
// std::logic_error for the logical kernel.
SampleBounds RunZadehValueKernel(SetKernel kernel, const KernelRules& rules, double* samples,
                                 int n);

// The two builds, for the tests that compare them: the portable one, and the AVX2 one, which may
// run only where Avx2SetKernels() is true.
void RunPortableSetKernel(SetKernel kernel, const KernelRules& rules, std::uint8_t* fired,
                          double* samples, int n);
bool Avx2SetKernels();
void RunAvx2SetKernel(SetKernel kernel, const KernelRules& rules, std::uint8_t* fired,
                      double* samples, int n);
SampleBounds RunPortableZadehValueKernel(SetKernel kernel, const KernelRules& rules,
                                         double* samples, int n);
SampleBounds RunAvx2ZadehValueKernel(SetKernel kernel, const KernelRules& rules, double* samples,
                                     int n);
