#pragma once

#include <cstdint>
#include <vector>

#include "core/inference/CompiledRules.h"

// The working space of one inference: sized once for a compiled table and an output grid, then
// reused from call to call. Each thread that infers keeps its own.
struct InferenceScratch {
    // [distinct cell]: its degree at the current inputs.
    std::vector<double> cellDegrees;
    // [rule]: firing degrees, their minimum over antecedents 1 and up (sweeps), rules chosen by
    // the perception-based deduction, fired flags.
    std::vector<double> ruleDegrees;
    std::vector<double> partialDegrees;
    std::vector<int> selectedRules;
    std::vector<std::uint8_t> fired;
    // [output sample]: samples whose scan has ended, and the output set's samples.
    std::vector<std::uint8_t> sampleDone;
    std::vector<double> samples;

    // Grows the buffers to fit; never shrinks them, so refitting to the same tables allocates
    // nothing.
    void Fit(const CompiledRules& rules, int outputSamples) {
        Grow(cellDegrees, rules.DistinctCellCount());
        Grow(ruleDegrees, rules.ruleCount);
        Grow(partialDegrees, rules.ruleCount);
        Grow(selectedRules, rules.ruleCount);
        Grow(fired, rules.ruleCount);
        Grow(sampleDone, outputSamples);
        Grow(samples, outputSamples);
    }

  private:
    template <class T>
    static void Grow(std::vector<T>& buffer, int size) {
        if (size > 0 && buffer.size() < static_cast<std::size_t>(size))
            buffer.resize(size);
    }
};
