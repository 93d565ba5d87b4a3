// The radix-2 FFT of one line (bit reversal, butterflies with a square-root twiddle recurrence), the
// two-dimensional transform built from it, the power-of-two test and the direct DFT.
#include "ocean/fft.h"

#include <cmath>
#include <cstdlib>
#include <utility>

int fft1d(int dir, long m, double* x, double* y) {
    long nn = 1L << m;

    long j = 0;
    for (long i = 0; i < nn - 1; i++) {
        if (i < j) {
            std::swap(x[i], x[j]);
            std::swap(y[i], y[j]);
        }
        long k = nn / 2;
        while (k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }

    // Each pass turns its twiddle u by the pass's root of unity c; the next pass's root is the square root
    // of this one (half the angle), found without sine or cosine calls.
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
        if (dir == 1) c2 = -c2; // the forward transform turns the other way
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

namespace {

// The work arrays of fft2d, static so that a tick allocates nothing.
double lineX[FFT_LONGEST_LINE], lineY[FFT_LONGEST_LINE];

// The n elements from `first` on, `stride` apart, through fft1d.
void transformLine(Complex* first, long stride, int n, int m, int dir) {
    for (int k = 0; k < n; k++) {
        lineX[k] = first[k * stride].real;
        lineY[k] = first[k * stride].imag;
    }
    fft1d(dir, m, lineX, lineY);
    for (int k = 0; k < n; k++) {
        first[k * stride].real = lineX[k];
        first[k * stride].imag = lineY[k];
    }
}

} // namespace

int fft2d(Complex (*c)[FFT_ROW_LENGTH], int nx, int ny, int dir) {
    // Both sizes are checked before anything is touched, so a refusal leaves the array as it was. More
    // than 64 elements in a row would run into the next row.
    int mx, twopmx, my, twopmy;
    if (!powerOfTwo(nx, mx, twopmx) || nx > FFT_LONGEST_LINE) return 0;
    if (!powerOfTwo(ny, my, twopmy) || ny > FFT_ROW_LENGTH) return 0;
    for (int j = 0; j < ny; j++)
        transformLine(&c[0][j], FFT_ROW_LENGTH, nx, mx, dir);
    for (int i = 0; i < nx; i++)
        transformLine(&c[i][0], 1, ny, my, dir);
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
    double* outReal = static_cast<double*>(std::malloc(sizeof(double) * 2 * n));
    if (outReal == nullptr) return 0;
    double* outImag = outReal + n;
    // Any direction other than 1 is the inverse, as for fft1d (a plain -dir would make 0 a no-op).
    const int sign = dir == 1 ? 1 : -1;
    for (int k = 0; k < n; k++) {
        double arg = -sign * 2.0 * 3.141592654 * k / n;
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
    return 1;
}
