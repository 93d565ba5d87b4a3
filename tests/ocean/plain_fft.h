// The plain two-dimensional transform: every column, then every row, copied out, through fft1d and
// back. fft2d must give the same bits; the tests and the benchmark both measure it against this.
#pragma once

#include "ocean/fft.h"

#include <vector>

inline int fft2dOneLineAtATime(Complex (*c)[FFT_ROW_LENGTH], int nx, int ny, int dir) {
    int mx, px, my, py;
    if (!powerOfTwo(nx, mx, px) || !powerOfTwo(ny, my, py)) return 0;
    std::vector<double> x(nx), y(nx);
    for (int j = 0; j < ny; j++) {
        for (int i = 0; i < nx; i++)
            x[i] = c[i][j].real, y[i] = c[i][j].imag;
        fft1d(dir, mx, x.data(), y.data());
        for (int i = 0; i < nx; i++)
            c[i][j].real = x[i], c[i][j].imag = y[i];
    }
    x.resize(ny);
    y.resize(ny);
    for (int i = 0; i < nx; i++) {
        for (int j = 0; j < ny; j++)
            x[j] = c[i][j].real, y[j] = c[i][j].imag;
        fft1d(dir, my, x.data(), y.data());
        for (int j = 0; j < ny; j++)
            c[i][j].real = x[j], c[i][j].imag = y[j];
    }
    return 1;
}
