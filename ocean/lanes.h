// Short vectors of four doubles for the ocean's batched loops (the FFT lines, the tick's sweeps), and
// the two builds such loops are compiled in: plain, and with 256-bit AVX where the processor has it.
// Every lane gets exactly the IEEE operations of the scalar code it replaces; no fused multiply-adds.
#pragma once

#include "ocean/fft.h"
#include "ocean/rounding.h"

#include <cmath>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define CANOE_HAVE_AVX_BUILD 1
#define CANOE_AVX_BUILD __attribute__((target("avx")))
#endif

#if defined(__GNUC__) || defined(__clang__)
#define CANOE_INLINE inline __attribute__((always_inline))
#else
#define CANOE_INLINE inline
#endif

#if defined(__clang__) || (defined(__GNUC__) && __GNUC__ >= 12)
#define CANOE_HAVE_SHUFFLE 1
#endif

const int LANES = 4;
typedef double Lanes __attribute__((vector_size(LANES * sizeof(double))));

#if defined(__clang__) || (defined(__GNUC__) && __GNUC__ >= 9)
#define CANOE_HAVE_CONVERT 1
typedef int IntLanes __attribute__((vector_size(LANES * sizeof(int))));
typedef unsigned char Bytes8 __attribute__((vector_size(8)));
typedef unsigned char Bytes16 __attribute__((vector_size(16)));
#endif

// The AVX build wants its vectors 32-byte aligned, whatever alignof says in the plain build.
const size_t LANES_ALIGNMENT = 64;

// Whether the batched loops run their AVX build: true where the processor has AVX. Both builds give
// the same bits; the tests set it false to check the plain build too.
extern bool useAvxBuild;

// True when the processor runs the AVX build.
inline bool processorHasAvx() {
#ifdef CANOE_HAVE_AVX_BUILD
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx");
#else
    return false;
#endif
}

CANOE_INLINE void loadLanes(Lanes& v, const Complex* p) {
    std::memcpy(&v, p, sizeof v);
}
CANOE_INLINE void storeLanes(Complex* p, const Lanes& v) {
    std::memcpy(p, &v, sizeof v);
}

// The real parts of four consecutive Complex.
CANOE_INLINE void loadRealParts(Lanes& v, const Complex* p) {
#ifdef CANOE_HAVE_SHUFFLE
    Lanes a, b;
    loadLanes(a, p);
    loadLanes(b, p + 2);
    v = __builtin_shufflevector(a, b, 0, 2, 4, 6);
#else
    for (int lane = 0; lane < LANES; lane++)
        v[lane] = p[lane].real;
#endif
}

// Correctly rounded square roots of every lane, plain build (SSE2 where there is x86-64).
CANOE_INLINE void sqrtLanesPlain(Lanes& v) {
#ifdef CANOE_HAVE_AVX_BUILD
    __m128d halves[2];
    std::memcpy(halves, &v, sizeof v);
    halves[0] = _mm_sqrt_pd(halves[0]);
    halves[1] = _mm_sqrt_pd(halves[1]);
    std::memcpy(&v, halves, sizeof v);
#else
    for (int lane = 0; lane < LANES; lane++)
        v[lane] = std::sqrt(v[lane]);
#endif
}

#ifdef CANOE_HAVE_AVX_BUILD
// The same in the AVX build; call it only from functions marked CANOE_AVX_BUILD.
CANOE_AVX_BUILD CANOE_INLINE void sqrtLanesAvx(Lanes& v) {
    __m256d wide;
    std::memcpy(&wide, &v, sizeof wide);
    wide = _mm256_sqrt_pd(wide);
    std::memcpy(&v, &wide, sizeof v);
}
#endif
