// fft1d and fft2d against the direct DFT in both directions (sign, scale, bit reversal, which lines),
// the power-of-two test and the size refusals of fft2d.
#include "ocean/fft.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

bool near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

TEST(Fft1d, AgreesWithTheDirectTransform) {
    for (int dir : {-1, 1}) {
        for (int m : {0, 1, 2, 3, 6, 8}) {
            int n = 1 << m;
            std::vector<Complex> data = randomRows(1, 7 * n + dir);
            std::vector<double> x(n), y(n);
            double sizeOfInput = 0.0; // sum of |x + iy|
            for (int t = 0; t < n; t++) {
                x[t] = data[t % FFT_ROW_LENGTH].real, y[t] = data[t % FFT_ROW_LENGTH].imag;
                sizeOfInput += std::hypot(x[t], y[t]);
            }
            std::vector<double> dx = x, dy = y;
            ASSERT_EQ(fft1d(dir, m, x.data(), y.data()), 1);
            ASSERT_EQ(dft1d(dir, n, dx.data(), dy.data()), 1);
            // dft1d uses 3.141592654 for pi (1.3e-10 relative): its phases are off by up to about
            // 1e-9 n, relative to the size of the input.
            double tolerance = 1e-9 * n * (dir == 1 ? sizeOfInput / n : sizeOfInput);
            for (int k = 0; k < n; k++)
                EXPECT_TRUE(near(x[k], dx[k], tolerance) && near(y[k], dy[k], tolerance))
                    << "dir " << dir << " n " << n << " k " << k;
        }
    }
}

TEST(PowerOfTwo, ExponentPowerAndVerdict) {
    const int big = 1 << 30;
    struct Case {
        int n, m, twopm, result;
    } cases[] = {{-8, 0, 1, 0},   {0, 0, 1, 0},     {1, 0, 1, 0},      {2, 1, 2, 1},
                 {3, 1, 2, 0},    {4, 2, 4, 1},     {48, 5, 32, 0},    {64, 6, 64, 1},
                 {100, 6, 64, 0}, {128, 7, 128, 1}, {big, 30, big, 1}, {INT_MAX, 30, big, 0}};
    for (const Case& c : cases) {
        int m = -1, twopm = -1;
        int result = powerOfTwo(c.n, m, twopm);
        EXPECT_TRUE(result == c.result && m == c.m && twopm == c.twopm)
            << "n " << c.n << ": " << result << ", m " << m << ", twopm " << twopm;
    }
}

TEST(Fft2d, RefusesSizesAndLeavesTheArrayAlone) {
    struct Case {
        int nx, ny;
    } cases[] = {{1, 64}, {64, 1},   {48, 64},  {64, 48},  {0, 64},
                 {64, 0}, {-64, 64}, {64, 100}, {64, 128}, {8192, 64}};
    for (const Case& c : cases) {
        std::vector<Complex> data = randomRows(64, 3), before = data;
        EXPECT_EQ(fft2d(asRows(data), c.nx, c.ny, -1), 0) << c.nx << " x " << c.ny;
        EXPECT_TRUE(sameBits(data, before)) << c.nx << " x " << c.ny;
    }
}

// The sign convention itself, which fft1d and dft1d could share: the inverse gives e^{+i k x}.
TEST(Fft2d, InverseGivesAPlaneWaveWithThePositiveExponent) {
    std::vector<Complex> data(64 * 64, Complex{0.0, 0.0});
    data[3 * 64 + 5] = {1.0, 0.0};
    ASSERT_EQ(fft2d(asRows(data), 64, 64, -1), 1);
    for (int k = 0; k < 64 * 64; k++) {
        double angle = 2 * 3.141592653589793 * (3.0 * (k / 64) + 5.0 * (k % 64)) / 64;
        EXPECT_TRUE(near(data[k].real, std::cos(angle), 1e-12) && near(data[k].imag, std::sin(angle), 1e-12))
            << k / 64 << "," << k % 64;
    }
}

// Along the first index, then the second, against the direct transform: every line of the block and
// no other, for blocks that are not square and blocks taller than a row is long.
TEST(Fft2d, AgreesWithTheDirectTransformAlongBothIndices) {
    const struct {
        int rows, nx, ny;
    } cases[] = {{64, 64, 64}, {64, 8, 64}, {64, 64, 2}, {64, 16, 32}, {256, 256, 64}};
    for (const auto& c : cases) {
        for (int dir : {-1, 1}) {
            std::vector<Complex> fast = randomRows(c.rows, 100 + c.nx + c.ny), direct = fast;
            ASSERT_EQ(fft2d(asRows(fast), c.nx, c.ny, dir), 1);
            std::vector<double> x(c.rows), y(c.rows);
            for (int pass = 0; pass < 2; pass++) { // columns (stride a row), then rows (stride 1)
                int lines = pass == 0 ? c.ny : c.nx, n = pass == 0 ? c.nx : c.ny;
                long stride = pass == 0 ? FFT_ROW_LENGTH : 1, lineStep = pass == 0 ? 1 : FFT_ROW_LENGTH;
                for (int line = 0; line < lines; line++) {
                    Complex* first = &direct[line * lineStep];
                    for (int k = 0; k < n; k++)
                        x[k] = first[k * stride].real, y[k] = first[k * stride].imag;
                    dft1d(dir, n, x.data(), y.data());
                    for (int k = 0; k < n; k++)
                        first[k * stride] = {x[k], y[k]};
                }
            }
            double largest = 0.0, difference = 0.0;
            for (size_t k = 0; k < fast.size(); k++) {
                largest = std::max(largest, std::hypot(direct[k].real, direct[k].imag));
                difference = std::max(
                    difference, std::hypot(fast[k].real - direct[k].real, fast[k].imag - direct[k].imag));
            }
            // dft1d's pi (1.3e-10 relative) puts it about 1e-7 off at 256 points; a wrong line or scale is
            // off by the whole value.
            EXPECT_LT(difference, 1e-6 * largest) << c.nx << " x " << c.ny << " dir " << dir;
        }
    }
}

} // namespace
