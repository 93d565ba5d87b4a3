// fft1d against the direct DFT in both directions (sign, scale, bit reversal, twiddles), fft2d's plane
// waves (which lines, which direction) and the sizes fft2d refuses.
#include "ocean/fft.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

namespace {

TEST(Fft1d, AgreesWithTheDirectTransform) {
    for (int dir : {-1, 1})
        for (int m : {0, 1, 2, 3, 6, 8}) {
            int n = 1 << m;
            std::vector<double> x(n), y(n);
            fillRandom(x.data(), n, 7 * n + dir);
            fillRandom(y.data(), n, 5 * n + dir);
            double sizeOfInput = 0.0; // sum of |x + iy|
            for (int t = 0; t < n; t++)
                sizeOfInput += std::hypot(x[t], y[t]);
            std::vector<double> dx = x, dy = y;
            ASSERT_EQ(fft1d(dir, m, x.data(), y.data()), 1);
            ASSERT_EQ(dft1d(dir, n, dx.data(), dy.data()), 1);
            // dft1d's pi of 3.141592654 puts its phases off by up to about 1e-9 n.
            double tolerance = 1e-9 * (dir == 1 ? sizeOfInput : n * sizeOfInput);
            for (int k = 0; k < n; k++)
                EXPECT_TRUE(std::fabs(x[k] - dx[k]) <= tolerance && std::fabs(y[k] - dy[k]) <= tolerance)
                    << "dir " << dir << " n " << n << " k " << k;
        }
}

// A lone coefficient at (p, q) of an nx x ny block: the inverse gives e^{+2 pi i (p x / nx + q y / ny)}
// in every cell of the block, and the forward transform brings the coefficient back alone (the 1 / N
// scale). Cells outside the block keep their marker.
TEST(Fft2d, ACoefficientBecomesAPlaneWaveAndBack) {
    const struct {
        int rows, nx, ny, p, q;
    } cases[] = {{64, 64, 64, 3, 5},
                 {64, 8, 64, 5, 63},
                 {64, 64, 2, 60, 1},
                 {64, 16, 32, 9, 30},
                 {256, 256, 64, 200, 7}};
    const Complex marker = {7.0, -7.0};
    for (const auto& c : cases) {
        std::vector<Complex> data(c.rows * FFT_ROW_LENGTH, marker);
        Complex(*block)[FFT_ROW_LENGTH] = reinterpret_cast<Complex(*)[FFT_ROW_LENGTH]>(data.data());
        for (int i = 0; i < c.nx; i++)
            for (int j = 0; j < c.ny; j++)
                block[i][j] = {i == c.p && j == c.q ? 1.0 : 0.0, 0.0};
        for (int dir : {-1, 1}) {
            ASSERT_EQ(fft2d(block, c.nx, c.ny, dir), 1);
            double largestError = 0.0;
            for (int i = 0; i < c.rows; i++)
                for (int j = 0; j < FFT_ROW_LENGTH; j++) {
                    double angle = 2 * M_PI * (double(c.p) * i / c.nx + double(c.q) * j / c.ny);
                    Complex expected = i >= c.nx || j >= c.ny ? marker
                                       : dir == -1            ? Complex{std::cos(angle), std::sin(angle)}
                                                   : Complex{i == c.p && j == c.q ? 1.0 : 0.0, 0.0};
                    largestError = std::fmax(largestError, std::fabs(block[i][j].real - expected.real) +
                                                               std::fabs(block[i][j].imag - expected.imag));
                }
            EXPECT_LT(largestError, 1e-12) << c.nx << " x " << c.ny << " dir " << dir;
        }
    }
}

// Sizes that are no power of two (INT_MAX without overflowing on the way), rows longer than 64 and more
// lines than the work arrays hold are refused with the array untouched.
TEST(Fft2d, RefusesSizesAndLeavesTheArrayAlone) {
    const struct {
        int nx, ny;
    } cases[] = {{1, 64}, {64, 1},   {3, 64},   {48, 64},  {64, 48},      {0, 64},
                 {64, 0}, {-64, 64}, {64, 100}, {64, 128}, {INT_MAX, 64}, {FFT_LONGEST_LINE * 2, 64}};
    static Complex data[64][FFT_ROW_LENGTH], before[64][FFT_ROW_LENGTH];
    fillRandom(data, 3);
    std::memcpy(before, data, sizeof data);
    for (const auto& c : cases) {
        EXPECT_EQ(fft2d(data, c.nx, c.ny, -1), 0) << c.nx << " x " << c.ny;
        EXPECT_TRUE(sameBits(data, before)) << c.nx << " x " << c.ny;
    }
}

} // namespace
