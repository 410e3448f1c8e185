#pragma once

#include <cstdint>
#include <cstring>

#include "core/inference/SetKernels.h"

// The loops behind RunSetKernel, for one vector type of GCC's (Double of doubles, Mask of as many
// 64-bit integers). Each build of them includes this file with its own types and instruction
// set: everything here is a template on those types, and nothing calls a library template, so
// that no function of one build can stand in for the other's when the program is linked.
namespace set_kernel_loops {

template <class Double>
Double Load(const double* p) {
    Double v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class Double>
Double Broadcast(double x) {
    return Double{} + x;
}

// d[k] becomes value(c[k]) where replaces(value, d[k]); true when any sample was replaced. The
// samples left over after the last whole vector go through value and replaces broadcast.
template <class Double, class Mask, class Value, class Replaces>
bool ReplaceSamples(const double* c, double* d, int count, Value value, Replaces replaces) {
    constexpr int kLanes = sizeof(Double) / sizeof(double);
    Mask any{};
    int k = 0;
    for (; k + kLanes <= count; k += kLanes) {
        const Double t = value(Load<Double>(c + k));
        const Double old = Load<Double>(d + k);
        const Mask replace = replaces(t, old);
        const Double updated = replace ? t : old;
        std::memcpy(d + k, &updated, sizeof updated);
        any |= replace;
    }
    for (; k < count; ++k) {
        const Double t = value(Broadcast<Double>(c[k]));
        const Double old = Broadcast<Double>(d[k]);
        const Mask replace = replaces(t, old);
        d[k] = replace[0] ? t[0] : old[0];
        any |= replace;
    }
    for (int lane = 0; lane < kLanes; ++lane) {
        if (any[lane] != 0)
            return true;
    }
    return false;
}

// The rule-by-rule form of the sample-by-sample scan, with each rule's degree computed once. A
// sample takes the greatest t = T(a, c) of the rules in order, its scan ending at 1, and a rule
// fires there where its t exceeds the value of the rules before it: both are the same whether
// the rules are visited per sample or the samples per rule. A consequent of 0 gives t = 0, which
// changes nothing, so only the run of stored consequent samples is visited.
template <class Double, class Mask, class TNorm>
void ZadehSamples(const KernelRules& rules, std::uint8_t* fired, double* d, int n, TNorm tNorm) {
    for (int j = 0; j < n; ++j)
        d[j] = 0.0;
    const auto exceeds = [](Double t, Double old) -> Mask { return t > old; };
    for (int r = 0; r < rules.ruleCount; ++r) {
        fired[r] = 0;
        if (!rules.active[r])
            continue;
        const SampleRun& c = rules.consequents[r];
        const int end = c.end < n ? c.end : n;
        if (c.first >= end)
            continue;
        const double a = rules.firing[r];
        if (a == 0)
            continue;
        const Double degree = Broadcast<Double>(a);
        const bool changed = ReplaceSamples<Double, Mask>(
            c.values, d + c.first, end - c.first,
            [&](Double consequent) { return tNorm(degree, consequent); }, exceeds);
        fired[r] = changed ? 1 : 0;
    }
}

// Whether a rule's run is the first written (the samples before it are 0) or a later one.
struct LeadRun {
    static constexpr bool kLead = true;
};
struct LaterRun {
    static constexpr bool kLead = false;
};

// The samples of ZadehSamples alone, without fired flags, and what is known of them: each sample
// keeps the greatest of 0 and the rules' t, as there (a replacement takes a strictly greater t),
// so none is negative or NaN, those outside the runs visited are 0, and the greatest t is the
// greatest sample. Only the samples from the first run to the end of the last are written: the
// longest run first, over nothing, then zeros around it, then the others. The active flags are
// not read: a rule that takes no part has a degree of 0.
template <class Double, class Mask, class TNorm>
SampleBounds ZadehValues(const KernelRules& rules, double* d, int n, TNorm tNorm) {
    constexpr int kLanes = sizeof(Double) / sizeof(double);
    const auto endOf = [&](int r) {
        const SampleRun& c = rules.consequents[r];
        const int end = c.end < n ? c.end : n;
        const bool takesPart = c.first < end && rules.firing[r] != 0;
        return takesPart ? end : -1;
    };
    SampleBounds bounds{n, 0, 0.0};
    int lead = -1;
    int leadCount = 0;
    for (int r = 0; r < rules.ruleCount; ++r) {
        const int end = endOf(r);
        if (end < 0)
            continue;
        const int first = rules.consequents[r].first;
        bounds.first = first < bounds.first ? first : bounds.first;
        bounds.end = end > bounds.end ? end : bounds.end;
        if (end - first > leadCount) {
            lead = r;
            leadCount = end - first;
        }
    }
    if (lead < 0)
        return {};
    Double peak{};
    const auto raise = [&](int r, auto order) {
        constexpr bool kLead = decltype(order)::kLead;
        const SampleRun& c = rules.consequents[r];
        const Double degree = Broadcast<Double>(rules.firing[r]);
        double* out = d + c.first;
        const int count = endOf(r) - c.first;
        int k = 0;
        for (; k + kLanes <= count; k += kLanes) {
            const Double t = tNorm(degree, Load<Double>(c.values + k));
            const Double old = kLead ? Double{} : Load<Double>(out + k);
            const Double updated = t > old ? t : old;
            std::memcpy(out + k, &updated, sizeof updated);
            peak = t > peak ? t : peak;
        }
        for (; k < count; ++k) {
            const Double t = tNorm(degree, Broadcast<Double>(c.values[k]));
            const double old = kLead ? 0.0 : out[k];
            out[k] = t[0] > old ? t[0] : old;
            peak = t > peak ? t : peak;
        }
    };
    raise(lead, LeadRun{});
    for (int j = bounds.first; j < rules.consequents[lead].first; ++j)
        d[j] = 0.0;
    for (int j = rules.consequents[lead].first + leadCount; j < bounds.end; ++j)
        d[j] = 0.0;
    for (int r = 0; r < rules.ruleCount; ++r) {
        if (r != lead && endOf(r) >= 0)
            raise(r, LaterRun{});
    }
    for (int lane = 0; lane < kLanes; ++lane)
        bounds.peak = peak[lane] > bounds.peak ? peak[lane] : bounds.peak;
    return bounds;
}

// The least implication value min(1, 1 - a + c) per sample, the scan ending at 0: a rule fires
// where its value is below that of the rules before it. Outside its stored run a consequent reads
// 0, where the implication is the same for every sample.
template <class Double, class Mask>
void LogicalSamples(const KernelRules& rules, std::uint8_t* fired, double* d, int n) {
    for (int j = 0; j < n; ++j)
        d[j] = 1.0;
    const auto below = [](Double t, Double old) -> Mask { return t < old; };
    const Double one = Broadcast<Double>(1.0);
    for (int r = 0; r < rules.ruleCount; ++r) {
        fired[r] = 0;
        if (!rules.active[r])
            continue;
        const double a = rules.firing[r];
        if (a == 0)
            continue;
        const SampleRun& c = rules.consequents[r];
        const int first = c.first < 0 ? 0 : c.first < n ? c.first : n;
        const int end = c.end < first ? first : c.end < n ? c.end : n;
        const double implication = 1.0 - a + 0.0;
        const Double outside = Broadcast<Double>(implication < 1.0 ? implication : 1.0);
        const Double degree = Broadcast<Double>(a);
        const auto constant = [&](Double) { return outside; };
        bool changed = ReplaceSamples<Double, Mask>(d, d, first, constant, below);
        changed |= ReplaceSamples<Double, Mask>(
            c.values + (first - c.first), d + first, end - first,
            [&](Double consequent) {
                const Double t = one - degree + consequent;
                return t < one ? t : one;
            },
            below);
        changed |= ReplaceSamples<Double, Mask>(d + end, d + end, n - end, constant, below);
        fired[r] = changed ? 1 : 0;
    }
}

// The t-norms of the Zadeh kernels.
template <class Double>
struct MinimumNorm {
    Double operator()(Double a, Double c) const { return c < a ? c : a; }
};
template <class Double>
struct ProductNorm {
    Double operator()(Double a, Double c) const { return a * c; }
};
template <class Double>
struct LukasiewiczNorm {
    Double operator()(Double a, Double c) const {
        const Double t = a + c - 1;
        return t > 0 ? t : Double{};
    }
};

template <class Double, class Mask>
void Run(SetKernel kernel, const KernelRules& rules, std::uint8_t* fired, double* d, int n) {
    switch (kernel) {
        case SetKernel::kZadehMinimum:
            ZadehSamples<Double, Mask>(rules, fired, d, n, MinimumNorm<Double>{});
            return;
        case SetKernel::kZadehProduct:
            ZadehSamples<Double, Mask>(rules, fired, d, n, ProductNorm<Double>{});
            return;
        case SetKernel::kZadehLukasiewicz:
            ZadehSamples<Double, Mask>(rules, fired, d, n, LukasiewiczNorm<Double>{});
            return;
        case SetKernel::kLogical:
            LogicalSamples<Double, Mask>(rules, fired, d, n);
            return;
    }
}

// kernel is one of the Zadeh kernels.
template <class Double, class Mask>
SampleBounds RunValues(SetKernel kernel, const KernelRules& rules, double* d, int n) {
    switch (kernel) {
        case SetKernel::kZadehProduct:
            return ZadehValues<Double, Mask>(rules, d, n, ProductNorm<Double>{});
        case SetKernel::kZadehLukasiewicz:
            return ZadehValues<Double, Mask>(rules, d, n, LukasiewiczNorm<Double>{});
        default:
            return ZadehValues<Double, Mask>(rules, d, n, MinimumNorm<Double>{});
    }
}

}  // namespace set_kernel_loops
