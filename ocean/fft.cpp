// The radix-2 FFT of one line (bit reversal, butterflies with a square-root twiddle recurrence), the
// power-of-two test and the direct DFT. The two-dimensional transform built from fft1d's butterflies
// is in fft2d.cpp.
#include "ocean/fft.h"

#include "ocean/twiddle.h"
#include "ocean/rounding.h"

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
            turnTwiddle(u1, u2, c1, c2);
        }
        nextPassRoot(dir, c1, c2);
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
    std::free(outImag);
    return 1;
}
