// In-place radix-2 complex FFT on one line and on blocks of 64-element rows, the power-of-two test
// and a direct DFT with the same conventions. dir = 1: forward, scaled by 1/N, exponent -2*pi*i*k*n/N;
// any other dir: inverse, unscaled, exponent +2*pi*i*k*n/N (the ocean relies on exactly that).
#pragma once

struct Complex {
    double real;
    double imag;
};

// Row length of every array handed to fft2d; consecutive rows follow with no gap.
const int FFT_ROW_LENGTH = 64;
// The most rows fft2d transforms (the length of its work arrays).
const int FFT_LONGEST_LINE = 4096;

// Transforms 2^m points of x (real parts) and y (imaginary parts) in place. Always returns 1.
int fft1d(int dir, long m, double* x, double* y);

// Transforms the nx x ny block of c in place, along the first index and then the second.
// Returns 1 when done, 0 (array untouched) when a size is not a power of two, ny exceeds the row length
// or nx exceeds FFT_LONGEST_LINE.
int fft2d(Complex (*c)[FFT_ROW_LENGTH], int nx, int ny, int dir);

// Writes the exponent of the largest power of two not above n to m and that power to twopm;
// returns 1 when twopm equals n. For n <= 1: m = 0, twopm = 1, result 0.
int powerOfTwo(int n, int& m, int& twopm);

// Direct O(n^2) transform of n points in place, the reference for fft1d. Returns 0 (input untouched)
// when its work arrays cannot be allocated, else 1.
int dft1d(int dir, int n, double* x, double* y);
