#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The scans of the defuzzifications over a buffer of samples, a block of samples at a time (GCC's
// vector extensions). Each compares what the sample-by-sample loop compares and gives the same
// answer; a sample of NaN fails every test but "not equal", as it does there.
namespace sample_scans {

// Two lanes: what every x86-64 processor has, passed in one register. A block is four pairs,
// tested together so that a loop branches once per eight samples.
using Double2 = double __attribute__((vector_size(16)));
using Mask2 = std::int64_t __attribute__((vector_size(16)));
inline constexpr int kLanes = 2;
inline constexpr int kPairs = 4;  // the loops below spell out four
inline constexpr int kBlock = kPairs * kLanes;

inline Double2 Load(const double* p) {
    Double2 v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline Double2 Broadcast(double x) {
    return Double2{x, x};
}

// Bit k set for lane k of the mask.
inline unsigned LaneBits(Mask2 m) {
#if defined(__SSE2__)
    return static_cast<unsigned>(_mm_movemask_pd(reinterpret_cast<__m128d>(m)));
#else
    return (m[0] != 0 ? 1u : 0u) | (m[1] != 0 ? 2u : 0u);
#endif
}

// Bit k set for sample k of the block at v that passes test; the lanes are gathered only where
// one passed.
template <class Test>
unsigned BlockBits(const double* v, Test test) {
    Mask2 masks[kPairs];
    for (int k = 0; k < kPairs; ++k)
        masks[k] = test(Load(v + k * kLanes));
    const Mask2 any = (masks[0] | masks[1]) | (masks[2] | masks[3]);
    if (LaneBits(any) == 0)
        return 0;
    unsigned bits = 0;
    for (int k = 0; k < kPairs; ++k)
        bits |= LaneBits(masks[k]) << (k * kLanes);
    return bits;
}

// The least and the greatest of least, greatest and samples [0, n), as loops that replace a bound
// only by a strictly smaller (greater) sample find them; a zero may differ from theirs in sign.
inline void Extremes(const double* v, int n, double& least, double& greatest) {
    // One accumulator per pair of the block, so that consecutive pairs do not wait for each other.
    Double2 low[kPairs];
    Double2 high[kPairs];
    for (int k = 0; k < kPairs; ++k) {
        low[k] = Broadcast(least);
        high[k] = Broadcast(greatest);
    }
    int i = 0;
    for (; i + kBlock <= n; i += kBlock) {
        for (int k = 0; k < kPairs; ++k) {
            const Double2 x = Load(v + i + k * kLanes);
            low[k] = x < low[k] ? x : low[k];
            high[k] = x > high[k] ? x : high[k];
        }
    }
    for (int k = 0; k < kPairs; ++k) {
        for (int lane = 0; lane < kLanes; ++lane) {
            if (low[k][lane] < least)
                least = low[k][lane];
            if (high[k][lane] > greatest)
                greatest = high[k][lane];
        }
    }
    for (; i < n; ++i) {
        if (v[i] < least)
            least = v[i];
        if (v[i] > greatest)
            greatest = v[i];
    }
}

// The first index in [from, end) whose sample passes test, else end. test takes a pair of
// samples and gives a lane mask.
template <class Test>
int FindFirst(const double* v, int from, int end, Test test) {
    int i = from;
    for (; i + kBlock <= end; i += kBlock) {
        if (const unsigned bits = BlockBits(v + i, test); bits != 0)
            return i + std::countr_zero(bits);
    }
    for (; i < end; ++i) {
        if (test(Broadcast(v[i]))[0] != 0)
            return i;
    }
    return end;
}

// The last index in [first, last] whose sample passes test, else -1.
template <class Test>
int FindLast(const double* v, int first, int last, Test test) {
    int i = last + 1;
    for (; i - kBlock >= first; i -= kBlock) {
        if (const unsigned bits = BlockBits(v + i - kBlock, test); bits != 0)
            return i - kBlock + std::bit_width(bits) - 1;
    }
    for (; i > first; --i) {
        if (test(Broadcast(v[i - 1]))[0] != 0)
            return i - 1;
    }
    return -1;
}

// Whether pairs (v[i - 1], v[i]) for i in [from + 1, to] all pass test, which takes the earlier
// and the later samples.
template <class Test>
bool AllPairs(const double* v, int from, int to, Test test) {
    int i = from + 1;
    for (; i + kBlock <= to + 1; i += kBlock) {
        Mask2 masks[kPairs];
        for (int k = 0; k < kPairs; ++k) {
            const double* at = v + i + k * kLanes;
            masks[k] = test(Load(at - 1), Load(at));
        }
        // GCC 12 turns an AND of comparison masks into a detour through integers; of their lane
        // bits it does not.
        const unsigned passed =
            (LaneBits(masks[0]) & LaneBits(masks[1])) & (LaneBits(masks[2]) & LaneBits(masks[3]));
        if (passed != (1u << kLanes) - 1)
            return false;
    }
    for (; i <= to; ++i) {
        if (test(Broadcast(v[i - 1]), Broadcast(v[i]))[0] == 0)
            return false;
    }
    return true;
}

// The number of samples in [0, n) equal to value.
inline int CountEqual(const double* v, int n, double value) {
    const Double2 wanted = Broadcast(value);
    int count = 0;
    int i = 0;
    for (; i + kBlock <= n; i += kBlock)
        count += std::popcount(BlockBits(v + i, [&](Double2 x) { return x == wanted; }));
    for (; i < n; ++i)
        count += v[i] == value ? 1 : 0;
    return count;
}

// The index of the sample equal to value that k others equal to it come before, else -1.
inline int NthEqual(const double* v, int n, double value, int k) {
    const Double2 wanted = Broadcast(value);
    int i = 0;
    for (; i + kBlock <= n; i += kBlock) {
        unsigned bits = BlockBits(v + i, [&](Double2 x) { return x == wanted; });
        const int count = std::popcount(bits);
        if (k < count) {
            for (; k > 0; --k)
                bits &= bits - 1;
            return i + std::countr_zero(bits);
        }
        k -= count;
    }
    for (; i < n; ++i) {
        if (v[i] == value && k-- == 0)
            return i;
    }
    return -1;
}

}  // namespace sample_scans
