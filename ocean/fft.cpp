// The radix-2 FFT of one line (bit reversal, butterflies with a square-root twiddle recurrence), the
// 64-wide two-dimensional transform built from it, the power-of-two test and the direct DFT.
#include "ocean/fft.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>

int fft1d(int dir, long m, double* x, double* y) {
    long nn = 1L << m;

    long j = 0;
    for (long i = 0; i < nn - 1; i++) {
        if (i < j) {
            double tx = x[i], ty = y[i];
            x[i] = x[j];
            y[i] = y[j];
            x[j] = tx;
            y[j] = ty;
        }
        long k = nn / 2;
        while (k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }

    double c1 = -1.0, c2 = 0.0;
    long l2 = 1;
    for (long l = 0; l < m; l++) {
        long l1 = l2;
        l2 *= 2;
        double u1 = 1.0, u2 = 0.0;
        for (long jj = 0; jj < l1; jj++) {
            for (long i = jj; i < nn; i += l2) {
                long i1 = i + l1;
                double t1 = u1 * x[i1] - u2 * y[i1];
                double t2 = u1 * y[i1] + u2 * x[i1];
                x[i1] = x[i] - t1;
                y[i1] = y[i] - t2;
                x[i] += t1;
                y[i] += t2;
            }
            double z = u1 * c1 - u2 * c2;
            u2 = u1 * c2 + u2 * c1;
            u1 = z;
        }
        c2 = std::sqrt((1.0 - c1) / 2.0);
        if (dir == 1) c2 = -c2;
        c1 = std::sqrt((1.0 + c1) / 2.0);
    }

    if (dir == 1) {
        for (long i = 0; i < nn; i++) {
            x[i] /= static_cast<double>(nn);
            y[i] /= static_cast<double>(nn);
        }
    }
    return 1;
}

int powerOfTwo(int n, int& m, int& twopm) {
    if (n <= 1) {
        m = 0;
        twopm = 1;
        return 0;
    }
    // Plain "while", so that n = 2 (and 3) stop at m = 1 and a length of 2 is accepted; the halved
    // comparison cannot overflow near INT_MAX.
    m = 1;
    twopm = 2;
    while (twopm <= n / 2) {
        m++;
        twopm *= 2;
    }
    return twopm == n ? 1 : 0;
}

int dft1d(int dir, int n, double* x, double* y) {
    double* outReal = static_cast<double*>(std::malloc(sizeof(double) * n));
    double* outImag = static_cast<double*>(std::malloc(sizeof(double) * n));
    if (outReal == nullptr || outImag == nullptr) {
        std::free(outReal);
        std::free(outImag);
        return 0;
    }
    for (int k = 0; k < n; k++) {
        double arg = -dir * 2.0 * 3.141592654 * k / n;
        outReal[k] = 0.0;
        outImag[k] = 0.0;
        for (int t = 0; t < n; t++) {
            double c = std::cos(t * arg), s = std::sin(t * arg);
            outReal[k] += x[t] * c - y[t] * s;
            outImag[k] += x[t] * s + y[t] * c;
        }
    }
    for (int k = 0; k < n; k++) {
        x[k] = dir == 1 ? outReal[k] / n : outReal[k];
        y[k] = dir == 1 ? outImag[k] / n : outImag[k];
    }
    std::free(outReal);
    std::free(outImag);
    return 1;
}

// fft2d runs the very butterflies of fft1d, element for element and in the same order, but on
// LINE_BLOCK lines at once: the lines are interleaved in the work arrays (element k of line b at
// k * LINE_BLOCK + b), so every butterfly becomes a short loop over contiguous memory. Each line gets
// exactly the operations fft1d would give it, so the results are bit-identical to transforming one
// line at a time.
namespace {

const int LINE_BLOCK = 8;

// The (u1, u2) pairs of every pass in the order fft1d's recurrence produces them: nn - 1 pairs.
void makeTwiddles(int dir, int m, double* twiddles) {
    double c1 = -1.0, c2 = 0.0;
    long l2 = 1;
    for (int l = 0; l < m; l++) {
        long l1 = l2;
        l2 *= 2;
        double u1 = 1.0, u2 = 0.0;
        for (long j = 0; j < l1; j++) {
            *twiddles++ = u1;
            *twiddles++ = u2;
            double z = u1 * c1 - u2 * c2;
            u2 = u1 * c2 + u2 * c1;
            u1 = z;
        }
        c2 = std::sqrt((1.0 - c1) / 2.0);
        if (dir == 1) c2 = -c2;
        c1 = std::sqrt((1.0 + c1) / 2.0);
    }
}

template <int B>
void butterflyPasses(int m, const double* twiddles, double* __restrict re, double* __restrict im) {
    long nn = 1L << m;
    long l2 = 1;
    for (int l = 0; l < m; l++) {
        long l1 = l2;
        l2 *= 2;
        for (long j = 0; j < l1; j++) {
            const double u1 = twiddles[0], u2 = twiddles[1];
            twiddles += 2;
            for (long i = j; i < nn; i += l2) {
                double* __restrict xr = re + i * B;
                double* __restrict xi = im + i * B;
                double* __restrict yr = re + (i + l1) * B;
                double* __restrict yi = im + (i + l1) * B;
                for (int b = 0; b < B; b++) {
                    double t1 = u1 * yr[b] - u2 * yi[b];
                    double t2 = u1 * yi[b] + u2 * yr[b];
                    yr[b] = xr[b] - t1;
                    yi[b] = xi[b] - t2;
                    xr[b] = xr[b] + t1;
                    xi[b] = xi[b] + t2;
                }
            }
        }
    }
}

// Transforms `lines` lines of 2^m elements; element k of line b is c[k * kStride + b * bStride].
// The bit-reversal permutation is applied while gathering (element k takes input element rev(k),
// the same pairing fft1d's swaps make).
template <int B>
void transformLines(Complex* c, long kStride, long bStride, int lines, int dir, int m, const double* twiddles,
                    double* re, double* im) {
    long nn = 1L << m;
    for (int first = 0; first < lines; first += B) {
        Complex* block = c + first * bStride;
        long rev = 0;
        for (long k = 0; k < nn; k++) {
            const Complex* source = block + rev * kStride;
            for (int b = 0; b < B; b++) {
                re[k * B + b] = source[b * bStride].real;
                im[k * B + b] = source[b * bStride].imag;
            }
            long half = nn / 2;
            while (half >= 1 && half <= rev) {
                rev -= half;
                half /= 2;
            }
            rev += half;
        }
        butterflyPasses<B>(m, twiddles, re, im);
        if (dir == 1) {
            for (long k = 0; k < nn * B; k++) {
                re[k] /= static_cast<double>(nn);
                im[k] /= static_cast<double>(nn);
            }
        }
        for (long k = 0; k < nn; k++) {
            Complex* target = block + k * kStride;
            for (int b = 0; b < B; b++) {
                target[b * bStride].real = re[k * B + b];
                target[b * bStride].imag = im[k * B + b];
            }
        }
    }
}

void transformAllLines(Complex* c, long kStride, long bStride, int lines, int dir, int m, double* work) {
    long nn = 1L << m;
    double* twiddles = work;
    double* re = work + 2 * nn;
    double* im = re + nn * LINE_BLOCK;
    makeTwiddles(dir, m, twiddles);
    // Line counts are powers of two, so a block size that divides them always exists.
    if (lines % 8 == 0)
        transformLines<8>(c, kStride, bStride, lines, dir, m, twiddles, re, im);
    else if (lines % 4 == 0)
        transformLines<4>(c, kStride, bStride, lines, dir, m, twiddles, re, im);
    else if (lines % 2 == 0)
        transformLines<2>(c, kStride, bStride, lines, dir, m, twiddles, re, im);
    else
        transformLines<1>(c, kStride, bStride, lines, dir, m, twiddles, re, im);
}

} // namespace

int fft2d(Complex (*c)[FFT_ROW_LENGTH], int nx, int ny, int dir) {
    // Both sizes are checked before anything is touched, so a refusal leaves the array as it was. A row
    // length above 64 would run into the next row and past the end of the array: refused.
    int mx, twopmx, my, twopmy;
    if (!powerOfTwo(nx, mx, twopmx) || twopmx != nx) return 0;
    if (!powerOfTwo(ny, my, twopmy) || twopmy != ny || ny > FFT_ROW_LENGTH) return 0;

    // One work block serves both passes: twiddles (2 per element) and the interleaved lines.
    size_t longest = static_cast<size_t>(nx > ny ? nx : ny);
    double* work = static_cast<double*>(std::malloc(sizeof(double) * longest * (2 + 2 * LINE_BLOCK)));
    if (work == nullptr) return 0;

    // Along the first index: ny lines (columns j), element i at row stride.
    transformAllLines(&c[0][0], FFT_ROW_LENGTH, 1, ny, dir, mx, work);
    // Along the second index: nx lines (rows i), element j contiguous.
    transformAllLines(&c[0][0], 1, FFT_ROW_LENGTH, nx, dir, my, work);

    std::free(work);
    return 1;
}
