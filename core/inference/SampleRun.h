#pragma once

#include "core/sets/CFuzzyDiscreteSet.h"

// The stored samples of a one-dimensional discrete set: sample j is values[j - first] for
// first <= j < end and 0 elsewhere. Lets the inference loops visit only the samples a compressed
// rule cell stores.
struct SampleRun {
    const double* values = nullptr;
    int first = 0;
    int end = 0;

    // A null set reads 0 everywhere.
    static SampleRun Of(const CFuzzyDiscreteSet* set) {
        if (set == nullptr || set->Values().empty())
            return {};
        const auto stored = set->Values();
        // The compressed form stores the run that begins with its first nonzero sample; every
        // other form stores all samples.
        const int first = static_cast<int>(stored.size()) == set->Count() ? 0 : set->FirstNonZero();
        return {stored.data(), first, first + static_cast<int>(stored.size())};
    }

    bool Empty() const { return first >= end; }
    double operator[](int j) const { return j >= first && j < end ? values[j - first] : 0.0; }
};
