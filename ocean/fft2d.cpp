// fft2d: the two-dimensional transform, fft1d's butterflies run on eight lines at once in vectors.
#include "ocean/fft.h"

#include "ocean/twiddle.h"
#include "ocean/lanes.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

// fft2d runs the very butterflies of fft1d, element for element and in the same order, but on
// LINE_BLOCK lines at once. Element k of those lines is one record of vectors (the lines side by
// side), so every butterfly is a few vector operations on contiguous memory, and two consecutive passes
// run together while their four elements sit in registers. Each line still gets exactly the operations
// fft1d would give it (a butterfly's result depends only on its two inputs and its twiddle), so the
// results are bit-identical to transforming one line at a time.
namespace {

const int LINE_BLOCK = 8;              // lines per block
const int HALVES = LINE_BLOCK / LANES; // vectors per component of an element

struct ElementBlock {
    Lanes re[HALVES];
    Lanes im[HALVES];
};

// The (u1, u2) pairs of every pass, in the order fft1d's recurrence produces them: pass l's pairs start
// at index 2^l - 1, nn - 1 pairs in all.
void makeTwiddles(int dir, int m, double* u1Table, double* u2Table) {
    double c1 = -1.0, c2 = 0.0;
    long l2 = 1, at = 0;
    for (int l = 0; l < m; l++) {
        long l1 = l2;
        l2 *= 2;
        double u1 = 1.0, u2 = 0.0;
        for (long j = 0; j < l1; j++) {
            u1Table[at] = u1;
            u2Table[at] = u2;
            at++;
            turnTwiddle(u1, u2, c1, c2);
        }
        nextPassRoot(dir, c1, c2);
    }
}

// fft1d's butterfly on one vector of lines: a = a + t, b = a - t, t = u * b.
CANOE_INLINE void butterfly(Lanes& ar, Lanes& ai, Lanes& br, Lanes& bi, double u1, double u2) {
    Lanes t1 = u1 * br - u2 * bi;
    Lanes t2 = u1 * bi + u2 * br;
    br = ar - t1;
    bi = ai - t2;
    ar = ar + t1;
    ai = ai + t2;
}

// Pass l alone (span l1).
CANOE_INLINE void onePass(ElementBlock* e, long nn, long l1, const double* u1Table, const double* u2Table) {
    const double* u1s = u1Table + (l1 - 1);
    const double* u2s = u2Table + (l1 - 1);
    for (long base = 0; base < nn; base += 2 * l1) {
        for (long j = 0; j < l1; j++) {
            ElementBlock& a = e[base + j];
            ElementBlock& b = e[base + j + l1];
            for (int h = 0; h < HALVES; h++)
                butterfly(a.re[h], a.im[h], b.re[h], b.im[h], u1s[j], u2s[j]);
        }
    }
}

// Passes l (span l1) and l + 1 (span 2 l1) together: elements base + j + {0, 1, 2, 3} l1 only meet
// each other in these two passes.
CANOE_INLINE void twoPasses(ElementBlock* e, long nn, long l1, const double* u1Table, const double* u2Table) {
    const double* u1First = u1Table + (l1 - 1);
    const double* u2First = u2Table + (l1 - 1);
    const double* u1Second = u1Table + (2 * l1 - 1);
    const double* u2Second = u2Table + (2 * l1 - 1);
    for (long base = 0; base < nn; base += 4 * l1) {
        for (long j = 0; j < l1; j++) {
            ElementBlock& e0 = e[base + j];
            ElementBlock& e1 = e[base + j + l1];
            ElementBlock& e2 = e[base + j + 2 * l1];
            ElementBlock& e3 = e[base + j + 3 * l1];
            for (int h = 0; h < HALVES; h++) {
                Lanes r0 = e0.re[h], i0 = e0.im[h], r1 = e1.re[h], i1 = e1.im[h];
                Lanes r2 = e2.re[h], i2 = e2.im[h], r3 = e3.re[h], i3 = e3.im[h];
                butterfly(r0, i0, r1, i1, u1First[j], u2First[j]);
                butterfly(r2, i2, r3, i3, u1First[j], u2First[j]);
                butterfly(r0, i0, r2, i2, u1Second[j], u2Second[j]);
                butterfly(r1, i1, r3, i3, u1Second[j + l1], u2Second[j + l1]);
                e0.re[h] = r0, e0.im[h] = i0, e1.re[h] = r1, e1.im[h] = i1;
                e2.re[h] = r2, e2.im[h] = i2, e3.re[h] = r3, e3.im[h] = i3;
            }
        }
    }
}

// Element k of the block takes input element rev(k) of its lines (the bit-reversal permutation, the
// same pairing fft1d's swaps make); `count` lines, spare lanes zero. The plain form, for any strides.
CANOE_INLINE void gatherAny(ElementBlock* e, const Complex* block, long kStride, long bStride, int count,
                            long nn, const long* rev) {
    for (long k = 0; k < nn; k++) {
        const Complex* source = block + rev[k] * kStride;
        for (int b = 0; b < LINE_BLOCK; b++) {
            e[k].re[b / LANES][b % LANES] = b < count ? source[b * bStride].real : 0.0;
            e[k].im[b / LANES][b % LANES] = b < count ? source[b * bStride].imag : 0.0;
        }
    }
}

CANOE_INLINE void scatterAny(const ElementBlock* e, Complex* block, long kStride, long bStride, int count,
                             long nn) {
    for (long k = 0; k < nn; k++) {
        Complex* target = block + k * kStride;
        for (int b = 0; b < count; b++) {
            target[b * bStride].real = e[k].re[b / LANES][b % LANES];
            target[b * bStride].imag = e[k].im[b / LANES][b % LANES];
        }
    }
}

#ifdef CANOE_HAVE_SHUFFLE
// Full blocks whose lines lie side by side in memory (the columns): element k of the eight lines is
// one run of eight Complex, split into real and imaginary vectors.
CANOE_INLINE void gatherAdjacentLines(ElementBlock* e, const Complex* block, long kStride, long nn,
                                      const long* rev) {
    for (long k = 0; k < nn; k++) {
        const Complex* source = block + rev[k] * kStride;
        for (int h = 0; h < HALVES; h++) {
            Lanes v0, v1;
            loadLanes(v0, source + h * LANES);
            loadLanes(v1, source + h * LANES + 2);
            e[k].re[h] = __builtin_shufflevector(v0, v1, 0, 2, 4, 6);
            e[k].im[h] = __builtin_shufflevector(v0, v1, 1, 3, 5, 7);
        }
    }
}

CANOE_INLINE void scatterAdjacentLines(const ElementBlock* e, Complex* block, long kStride, long nn) {
    for (long k = 0; k < nn; k++) {
        Complex* target = block + k * kStride;
        for (int h = 0; h < HALVES; h++) {
            Lanes v0 = __builtin_shufflevector(e[k].re[h], e[k].im[h], 0, 4, 1, 5);
            Lanes v1 = __builtin_shufflevector(e[k].re[h], e[k].im[h], 2, 6, 3, 7);
            storeLanes(target + h * LANES, v0);
            storeLanes(target + h * LANES + 2, v1);
        }
    }
}

// (a, b, c, d) rows of four lanes -> columns: w[r] = (a[r], b[r], c[r], d[r]); its own inverse.
CANOE_INLINE void transpose4(const Lanes& a, const Lanes& b, const Lanes& c, const Lanes& d, Lanes& w0,
                             Lanes& w1, Lanes& w2, Lanes& w3) {
    Lanes t0 = __builtin_shufflevector(a, b, 0, 4, 2, 6);
    Lanes t1 = __builtin_shufflevector(a, b, 1, 5, 3, 7);
    Lanes t2 = __builtin_shufflevector(c, d, 0, 4, 2, 6);
    Lanes t3 = __builtin_shufflevector(c, d, 1, 5, 3, 7);
    w0 = __builtin_shufflevector(t0, t2, 0, 1, 4, 5);
    w1 = __builtin_shufflevector(t1, t3, 0, 1, 4, 5);
    w2 = __builtin_shufflevector(t0, t2, 2, 3, 6, 7);
    w3 = __builtin_shufflevector(t1, t3, 2, 3, 6, 7);
}

// Full blocks of lines that are rows (elements adjacent, lines a row apart): input elements p and p + 1
// of four rows form a 4 x 4 tile whose transpose is elements rev(p) and rev(p + 1) of those lines.
CANOE_INLINE void gatherRowLines(ElementBlock* e, const Complex* block, long bStride, long nn,
                                 const long* rev) {
    for (long p = 0; p < nn; p += 2) {
        ElementBlock& even = e[rev[p]];
        ElementBlock& odd = e[rev[p + 1]];
        for (int h = 0; h < HALVES; h++) {
            const Complex* source = block + h * LANES * bStride + p;
            Lanes w0, w1, w2, w3;
            loadLanes(w0, source);
            loadLanes(w1, source + bStride);
            loadLanes(w2, source + 2 * bStride);
            loadLanes(w3, source + 3 * bStride);
            transpose4(w0, w1, w2, w3, even.re[h], even.im[h], odd.re[h], odd.im[h]);
        }
    }
}

CANOE_INLINE void scatterRowLines(const ElementBlock* e, Complex* block, long bStride, long nn) {
    for (long k = 0; k < nn; k += 2) {
        for (int h = 0; h < HALVES; h++) {
            Complex* target = block + h * LANES * bStride + k;
            Lanes w0, w1, w2, w3;
            transpose4(e[k].re[h], e[k].im[h], e[k + 1].re[h], e[k + 1].im[h], w0, w1, w2, w3);
            storeLanes(target, w0);
            storeLanes(target + bStride, w1);
            storeLanes(target + 2 * bStride, w2);
            storeLanes(target + 3 * bStride, w3);
        }
    }
}
#endif

template <long K_STRIDE, long B_STRIDE>
CANOE_INLINE void gather(ElementBlock* e, const Complex* block, int count, long nn, const long* rev) {
#ifdef CANOE_HAVE_SHUFFLE
    if (count == LINE_BLOCK && B_STRIDE == 1) return gatherAdjacentLines(e, block, K_STRIDE, nn, rev);
    if (count == LINE_BLOCK && K_STRIDE == 1 && nn >= 2) return gatherRowLines(e, block, B_STRIDE, nn, rev);
#endif
    gatherAny(e, block, K_STRIDE, B_STRIDE, count, nn, rev);
}

template <long K_STRIDE, long B_STRIDE>
CANOE_INLINE void scatter(const ElementBlock* e, Complex* block, int count, long nn) {
#ifdef CANOE_HAVE_SHUFFLE
    if (count == LINE_BLOCK && B_STRIDE == 1) return scatterAdjacentLines(e, block, K_STRIDE, nn);
    if (count == LINE_BLOCK && K_STRIDE == 1 && nn >= 2) return scatterRowLines(e, block, B_STRIDE, nn);
#endif
    scatterAny(e, block, K_STRIDE, B_STRIDE, count, nn);
}

// The bit-reversal permutation of nn = 2^m elements, by fft1d's own counter.
void makeReversal(long nn, long* rev) {
    long j = 0;
    for (long i = 0; i < nn; i++) {
        rev[i] = j;
        long k = nn / 2;
        while (k >= 1 && k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }
}

#ifdef CANOE_HAVE_SHUFFLE
// For full blocks of adjacent lines (the columns) the gather runs into the first two passes and the
// last two passes run into the scatter, so those elements go to and from the work array once less.
// The butterflies are twoPasses' own.
CANOE_INLINE void splitElement(const Complex* source, int h, Lanes& re, Lanes& im) {
    Lanes v0, v1;
    loadLanes(v0, source + h * LANES);
    loadLanes(v1, source + h * LANES + 2);
    re = __builtin_shufflevector(v0, v1, 0, 2, 4, 6);
    im = __builtin_shufflevector(v0, v1, 1, 3, 5, 7);
}

CANOE_INLINE void joinElement(Complex* target, int h, const Lanes& re, const Lanes& im) {
    storeLanes(target + h * LANES, __builtin_shufflevector(re, im, 0, 4, 1, 5));
    storeLanes(target + h * LANES + 2, __builtin_shufflevector(re, im, 2, 6, 3, 7));
}

CANOE_INLINE void gatherFirstTwoPasses(ElementBlock* e, const Complex* block, long kStride, long nn,
                                       const long* rev, const double* u1Table, const double* u2Table) {
    for (long base = 0; base < nn; base += 4) {
        for (int h = 0; h < HALVES; h++) {
            Lanes r0, i0, r1, i1, r2, i2, r3, i3;
            splitElement(block + rev[base] * kStride, h, r0, i0);
            splitElement(block + rev[base + 1] * kStride, h, r1, i1);
            splitElement(block + rev[base + 2] * kStride, h, r2, i2);
            splitElement(block + rev[base + 3] * kStride, h, r3, i3);
            butterfly(r0, i0, r1, i1, u1Table[0], u2Table[0]);
            butterfly(r2, i2, r3, i3, u1Table[0], u2Table[0]);
            butterfly(r0, i0, r2, i2, u1Table[1], u2Table[1]);
            butterfly(r1, i1, r3, i3, u1Table[2], u2Table[2]);
            e[base].re[h] = r0, e[base].im[h] = i0, e[base + 1].re[h] = r1, e[base + 1].im[h] = i1;
            e[base + 2].re[h] = r2, e[base + 2].im[h] = i2, e[base + 3].re[h] = r3, e[base + 3].im[h] = i3;
        }
    }
}

// The last two passes (spans nn / 4 and nn / 2), the forward scaling, and the scatter.
CANOE_INLINE void lastTwoPassesScatter(const ElementBlock* e, Complex* block, long kStride, long nn, int dir,
                                       const double* u1Table, const double* u2Table) {
    const long l1 = nn / 4;
    const double* u1First = u1Table + (l1 - 1);
    const double* u2First = u2Table + (l1 - 1);
    const double* u1Second = u1Table + (2 * l1 - 1);
    const double* u2Second = u2Table + (2 * l1 - 1);
    const double scale = 1.0 / static_cast<double>(nn);
    for (long j = 0; j < l1; j++) {
        for (int h = 0; h < HALVES; h++) {
            Lanes r0 = e[j].re[h], i0 = e[j].im[h], r1 = e[j + l1].re[h], i1 = e[j + l1].im[h];
            Lanes r2 = e[j + 2 * l1].re[h], i2 = e[j + 2 * l1].im[h];
            Lanes r3 = e[j + 3 * l1].re[h], i3 = e[j + 3 * l1].im[h];
            butterfly(r0, i0, r1, i1, u1First[j], u2First[j]);
            butterfly(r2, i2, r3, i3, u1First[j], u2First[j]);
            butterfly(r0, i0, r2, i2, u1Second[j], u2Second[j]);
            butterfly(r1, i1, r3, i3, u1Second[j + l1], u2Second[j + l1]);
            if (dir == 1) {
                r0 = r0 * scale, i0 = i0 * scale, r1 = r1 * scale, i1 = i1 * scale;
                r2 = r2 * scale, i2 = i2 * scale, r3 = r3 * scale, i3 = i3 * scale;
            }
            joinElement(block + j * kStride, h, r0, i0);
            joinElement(block + (j + l1) * kStride, h, r1, i1);
            joinElement(block + (j + 2 * l1) * kStride, h, r2, i2);
            joinElement(block + (j + 3 * l1) * kStride, h, r3, i3);
        }
    }
}
#endif

// Transforms `lines` lines of 2^m elements; element k of line b is c[k * kStride + b * bStride].
template <long K_STRIDE, long B_STRIDE>
CANOE_INLINE void transformLinesBody(Complex* c, int lines, int dir, int m, const double* u1Table,
                                     const double* u2Table, const long* rev, ElementBlock* e) {
    const long nn = 1L << m;
    const int perBlock = lines < LINE_BLOCK ? lines : LINE_BLOCK;
#ifdef CANOE_HAVE_SHUFFLE
    // Passes in pairs from the first to the last: needs an even m, at least 4.
    const bool fused = B_STRIDE == 1 && perBlock == LINE_BLOCK && m >= 4 && m % 2 == 0;
#endif
    for (int first = 0; first < lines; first += perBlock) {
        Complex* block = c + first * B_STRIDE;
        int l = 0;
#ifdef CANOE_HAVE_SHUFFLE
        if (fused) {
            gatherFirstTwoPasses(e, block, K_STRIDE, nn, rev, u1Table, u2Table);
            for (l = 2; l + 2 < m; l += 2)
                twoPasses(e, nn, 1L << l, u1Table, u2Table);
            lastTwoPassesScatter(e, block, K_STRIDE, nn, dir, u1Table, u2Table);
            continue;
        }
#endif
        gather<K_STRIDE, B_STRIDE>(e, block, perBlock, nn, rev);
        for (; l + 1 < m; l += 2)
            twoPasses(e, nn, 1L << l, u1Table, u2Table);
        if (l < m) onePass(e, nn, 1L << l, u1Table, u2Table);

        if (dir == 1) {
            // x / 2^m and x * 2^-m are the same exact value rounded once: identical bits, no division.
            const double scale = 1.0 / static_cast<double>(nn);
            for (long k = 0; k < nn; k++) {
                for (int h = 0; h < HALVES; h++) {
                    e[k].re[h] = e[k].re[h] * scale;
                    e[k].im[h] = e[k].im[h] * scale;
                }
            }
        }
        scatter<K_STRIDE, B_STRIDE>(e, block, perBlock, nn);
    }
}

// Twiddles and bit-reversal permutation of one pass.
struct PassTables {
    const double* u1;
    const double* u2;
    const long* rev;
};

// Both passes of a 2-D transform: along the first index (ny lines, the columns, element i one row
// further on), then along the second (nx lines, the rows, element j the next one in the row).
CANOE_INLINE void transformBothPassesBody(Complex* c, int nx, int ny, int dir, int mx, int my,
                                          const PassTables& first, const PassTables& second,
                                          ElementBlock* e) {
    transformLinesBody<FFT_ROW_LENGTH, 1>(c, ny, dir, mx, first.u1, first.u2, first.rev, e);
    transformLinesBody<1, FFT_ROW_LENGTH>(c, nx, dir, my, second.u1, second.u2, second.rev, e);
}

// The tables of every length up to a row (2^0 to 2^6) for both directions, made once: the ocean's
// transforms never recompute them.
const int CACHED_EXPONENTS = 7;

struct CachedTables {
    double u1[2][CACHED_EXPONENTS][FFT_ROW_LENGTH], u2[2][CACHED_EXPONENTS][FFT_ROW_LENGTH];
    long rev[CACHED_EXPONENTS][FFT_ROW_LENGTH];

    CachedTables() {
        for (int m = 0; m < CACHED_EXPONENTS; m++) {
            makeTwiddles(1, m, u1[0][m], u2[0][m]);
            makeTwiddles(-1, m, u1[1][m], u2[1][m]);
            makeReversal(1L << m, rev[m]);
        }
    }
};

// Made on first use, so a transform run by another file's start-up code finds them ready too.
const CachedTables& cachedTables() {
    static const CachedTables tables;
    return tables;
}

// The cached tables, or for a longer pass the ones made into the caller's work arrays.
PassTables passTables(int dir, int m, double* u1, double* u2, long* rev) {
    int direction = dir == 1 ? 0 : 1;
    if (m < CACHED_EXPONENTS)
        return {cachedTables().u1[direction][m], cachedTables().u2[direction][m], cachedTables().rev[m]};
    makeTwiddles(dir, m, u1, u2);
    makeReversal(1L << m, rev);
    return {u1, u2, rev};
}

void transformBothPassesPlain(Complex* c, int nx, int ny, int dir, int mx, int my, const PassTables& first,
                              const PassTables& second, ElementBlock* e) {
    transformBothPassesBody(c, nx, ny, dir, mx, my, first, second, e);
}

// The same code compiled for 256-bit vectors where the processor has them (AVX has no fused
// multiply-add, so the roundings stay those of the plain build).
#ifdef CANOE_HAVE_AVX_BUILD
CANOE_AVX_BUILD void transformBothPassesAvx(Complex* c, int nx, int ny, int dir, int mx, int my,
                                            const PassTables& first, const PassTables& second,
                                            ElementBlock* e) {
    transformBothPassesBody(c, nx, ny, dir, mx, my, first, second, e);
}
#endif

} // namespace

int fft2d(Complex (*c)[FFT_ROW_LENGTH], int nx, int ny, int dir) {
    // Both sizes are checked before anything is touched, so a refusal leaves the array as it was. A row
    // length above 64 would run into the next row and past the end of the array: refused.
    int mx, twopmx, my, twopmy;
    if (!powerOfTwo(nx, mx, twopmx) || twopmx != nx) return 0;
    if (!powerOfTwo(ny, my, twopmy) || twopmy != ny || ny > FFT_ROW_LENGTH) return 0;

    // One work block: the lines of one block, and room for the tables of a pass longer than a row.
    size_t longest = static_cast<size_t>(nx > ny ? nx : ny);
    size_t bytes = longest * (sizeof(ElementBlock) + 2 * sizeof(double) + sizeof(long));
    bytes = (bytes + LANES_ALIGNMENT - 1) / LANES_ALIGNMENT * LANES_ALIGNMENT;
    void* work = std::aligned_alloc(LANES_ALIGNMENT, bytes);
    if (work == nullptr) return 0;
    ElementBlock* elements = static_cast<ElementBlock*>(work);
    double* u1 = reinterpret_cast<double*>(elements + longest);
    double* u2 = u1 + longest;
    long* rev = reinterpret_cast<long*>(u2 + longest);
    // Only the first pass can be longer than a row (ny is at most 64).
    PassTables first = passTables(dir, mx, u1, u2, rev);
    PassTables second = passTables(dir, my, nullptr, nullptr, nullptr);

#ifdef CANOE_HAVE_AVX_BUILD
    if (useAvxBuild)
        transformBothPassesAvx(&c[0][0], nx, ny, dir, mx, my, first, second, elements);
    else
#endif
        transformBothPassesPlain(&c[0][0], nx, ny, dir, mx, my, first, second, elements);
    std::free(work);
    return 1;
}
