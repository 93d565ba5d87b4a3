// The plain two-dimensional transform: every column, then every row, copied out, through fft1d and
// back. fft2d must give the same bits; the tests and the benchmark both measure it against this.
#pragma once

#include "ocean/fft.h"

#include <algorithm>
#include <vector>

// The n elements from `first` on, `stride` apart: one line through fft1d.
inline void transformLine(Complex* first, long stride, int n, long m, int dir, std::vector<double>& x,
                          std::vector<double>& y) {
    for (int k = 0; k < n; k++)
        x[k] = first[k * stride].real, y[k] = first[k * stride].imag;
    fft1d(dir, m, x.data(), y.data());
    for (int k = 0; k < n; k++)
        first[k * stride].real = x[k], first[k * stride].imag = y[k];
}

inline int fft2dOneLineAtATime(Complex (*c)[FFT_ROW_LENGTH], int nx, int ny, int dir) {
    int mx, px, my, py;
    if (!powerOfTwo(nx, mx, px) || !powerOfTwo(ny, my, py)) return 0;
    std::vector<double> x(std::max(nx, ny)), y(x.size());
    for (int j = 0; j < ny; j++)
        transformLine(&c[0][j], FFT_ROW_LENGTH, nx, mx, dir, x, y);
    for (int i = 0; i < nx; i++)
        transformLine(&c[i][0], 1, ny, my, dir, x, y);
    return 1;
}
