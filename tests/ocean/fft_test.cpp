// FFT conventions (sign, scale, bit reversal), agreement with the direct DFT, the size refusals of
// fft2d, and fft2d's bit-for-bit agreement with transforming one line at a time.
#include "ocean/fft.h"
#include "ocean/lanes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

const double PI = 3.141592653589793;

// The plain two-pass form: every column, then every row, copied out, through fft1d and back.
void fft2dOneLineAtATime(Complex (*c)[FFT_ROW_LENGTH], int nx, int ny, int dir) {
    int mx, px, my, py;
    powerOfTwo(nx, mx, px);
    powerOfTwo(ny, my, py);
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
}

std::vector<Complex> randomRows(int rows, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> value(-3.0, 3.0);
    std::vector<Complex> data(static_cast<size_t>(rows) * FFT_ROW_LENGTH);
    for (size_t k = 0; k < data.size(); k++) {
        data[k] = {value(generator), value(generator)};
        // Signed zeros, where a skipped multiplication by 1 or 0 would show.
        if (k % 7 == 0) data[k].real = -0.0;
        if (k % 11 == 0) data[k].imag = 0.0;
    }
    return data;
}

Complex (*asRows(std::vector<Complex>& data))[FFT_ROW_LENGTH] {
    return reinterpret_cast<Complex(*)[FFT_ROW_LENGTH]>(data.data());
}

TEST(Fft1d, ImpulseGivesOnesInverseAndOneOverNForward) {
    for (int dir : {-1, 1}) {
        for (long m : {0L, 1L, 3L, 6L}) {
            long n = 1L << m;
            std::vector<double> x(n, 0.0), y(n, 0.0);
            x[0] = 1.0;
            EXPECT_EQ(fft1d(dir, m, x.data(), y.data()), 1);
            double expected = dir == 1 ? 1.0 / n : 1.0;
            for (long k = 0; k < n; k++) {
                EXPECT_DOUBLE_EQ(x[k], expected) << "dir " << dir << " m " << m << " k " << k;
                EXPECT_DOUBLE_EQ(y[k], 0.0);
            }
        }
    }
}

TEST(Fft1d, InverseHasThePositiveExponent) {
    const int n = 64;
    for (int k : {1, 5, 31, 63}) {
        std::vector<double> x(n, 0.0), y(n, 0.0);
        x[k] = 1.0;
        fft1d(-1, 6, x.data(), y.data());
        for (int t = 0; t < n; t++) {
            EXPECT_NEAR(x[t], std::cos(2 * PI * k * t / n), 1e-12) << "k " << k << " t " << t;
            EXPECT_NEAR(y[t], std::sin(2 * PI * k * t / n), 1e-12) << "k " << k << " t " << t;
        }
    }
}

TEST(Fft1d, ForwardHasTheNegativeExponentAndScale) {
    const int n = 16;
    std::vector<double> x(n), y(n);
    for (int t = 0; t < n; t++)
        x[t] = std::cos(2 * PI * 3 * t / n), y[t] = std::sin(2 * PI * 3 * t / n);
    fft1d(1, 4, x.data(), y.data());
    for (int k = 0; k < n; k++) {
        EXPECT_NEAR(x[k], k == 3 ? 1.0 : 0.0, 1e-14) << k;
        EXPECT_NEAR(y[k], 0.0, 1e-14) << k;
    }
}

// A direct transform with the exact pi, in long double: the yardstick for both transforms below.
void exactDft(int dir, int n, std::vector<double>& x, std::vector<double>& y) {
    std::vector<double> outX(n), outY(n);
    for (int k = 0; k < n; k++) {
        long double sumX = 0, sumY = 0;
        for (int t = 0; t < n; t++) {
            long double angle =
                -dir * 2.0L * 3.14159265358979323846264L * ((static_cast<long>(k) * t) % n) / n;
            sumX += x[t] * cosl(angle) - y[t] * sinl(angle);
            sumY += x[t] * sinl(angle) + y[t] * cosl(angle);
        }
        outX[k] = static_cast<double>(dir == 1 ? sumX / n : sumX);
        outY[k] = static_cast<double>(dir == 1 ? sumY / n : sumY);
    }
    x = outX;
    y = outY;
}

TEST(Fft1d, AgreesWithTheDirectTransforms) {
    std::mt19937 generator(7);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    for (int dir : {-1, 1}) {
        for (int m : {1, 2, 3, 5, 6, 8}) {
            int n = 1 << m;
            std::vector<double> x(n), y(n);
            double sizeOfInput = 0.0; // sum of |x + iy|
            for (int t = 0; t < n; t++) {
                x[t] = value(generator), y[t] = value(generator);
                sizeOfInput += std::hypot(x[t], y[t]);
            }
            std::vector<double> dx = x, dy = y, ex = x, ey = y;
            ASSERT_EQ(fft1d(dir, m, x.data(), y.data()), 1);
            ASSERT_EQ(dft1d(dir, n, dx.data(), dy.data()), 1);
            exactDft(dir, n, ex, ey);
            double scale = dir == 1 ? sizeOfInput / n : sizeOfInput;
            // dft1d uses 3.141592654 for pi (1.3e-10 relative): its phases are off by up to about
            // 1e-9 n, relative to the size of the input.
            double dftTolerance = 1e-9 * n * scale;
            for (int k = 0; k < n; k++) {
                EXPECT_NEAR(x[k], ex[k], 1e-14 * scale * m) << "dir " << dir << " n " << n << " k " << k;
                EXPECT_NEAR(y[k], ey[k], 1e-14 * scale * m) << "dir " << dir << " n " << n << " k " << k;
                EXPECT_NEAR(x[k], dx[k], dftTolerance) << "dir " << dir << " n " << n << " k " << k;
                EXPECT_NEAR(y[k], dy[k], dftTolerance) << "dir " << dir << " n " << n << " k " << k;
            }
        }
    }
}

TEST(PowerOfTwo, ExponentPowerAndVerdict) {
    struct Case {
        int n, m, twopm, result;
    } cases[] = {
        {-8, 0, 1, 0},
        {0, 0, 1, 0},
        {1, 0, 1, 0},
        {2, 1, 2, 1},
        {3, 1, 2, 0},
        {4, 2, 4, 1},
        {48, 5, 32, 0},
        {64, 6, 64, 1},
        {100, 6, 64, 0},
        {128, 7, 128, 1},
        {1 << 30, 30, 1 << 30, 1},
        {INT_MAX, 30, 1 << 30, 0},
    };
    for (const Case& c : cases) {
        int m = -1, twopm = -1;
        EXPECT_EQ(powerOfTwo(c.n, m, twopm), c.result) << "n " << c.n;
        EXPECT_EQ(m, c.m) << "n " << c.n;
        EXPECT_EQ(twopm, c.twopm) << "n " << c.n;
    }
}

TEST(Fft2d, RefusesSizesAndLeavesTheArrayAlone) {
    struct Case {
        int nx, ny;
    } cases[] = {{1, 64}, {64, 1}, {48, 64}, {64, 48}, {0, 64}, {64, 0}, {-64, 64}, {64, 100}, {64, 128}};
    for (const Case& c : cases) {
        std::vector<Complex> data = randomRows(64, 3);
        std::vector<Complex> before = data;
        EXPECT_EQ(fft2d(asRows(data), c.nx, c.ny, -1), 0) << c.nx << " x " << c.ny;
        EXPECT_EQ(std::memcmp(data.data(), before.data(), data.size() * sizeof(Complex)), 0)
            << c.nx << " x " << c.ny;
    }
}

TEST(Fft2d, InverseThenForwardReturnsTheInput) {
    std::vector<Complex> data = randomRows(64, 11);
    std::vector<Complex> original = data;
    ASSERT_EQ(fft2d(asRows(data), 64, 64, -1), 1);
    ASSERT_EQ(fft2d(asRows(data), 64, 64, 1), 1);
    for (size_t k = 0; k < data.size(); k++) {
        EXPECT_NEAR(data[k].real, original[k].real, 1e-12) << k;
        EXPECT_NEAR(data[k].imag, original[k].imag, 1e-12) << k;
    }
}

TEST(Fft2d, SingleCoefficientGivesAPlaneWaveWithThePositiveExponent) {
    std::vector<Complex> data(64 * 64, Complex{0.0, 0.0});
    Complex(*c)[FFT_ROW_LENGTH] = asRows(data);
    c[3][5] = {1.0, 0.0};
    ASSERT_EQ(fft2d(c, 64, 64, -1), 1);
    for (int i = 0; i < 64; i++) {
        for (int j = 0; j < 64; j++) {
            double angle = 2 * PI * (3.0 * i + 5.0 * j) / 64;
            EXPECT_NEAR(c[i][j].real, std::cos(angle), 1e-12) << i << "," << j;
            EXPECT_NEAR(c[i][j].imag, std::sin(angle), 1e-12) << i << "," << j;
        }
    }
}

TEST(Fft2d, BitIdenticalToOneLineAtATime) {
    struct Case {
        int rows, nx, ny;
    } cases[] = {{64, 64, 64}, {64, 8, 64},    {64, 64, 2}, {4, 2, 4},
                 {64, 16, 32}, {256, 256, 64}, {64, 64, 16}};
    for (const Case& c : cases) {
        for (bool widest : {true, false})
            for (int dir : {-1, 1}) {
                useAvxBuild = widest;
                std::vector<Complex> fast = randomRows(c.rows, 100 + c.nx + c.ny);
                std::vector<Complex> plain = fast;
                ASSERT_EQ(fft2d(asRows(fast), c.nx, c.ny, dir), 1);
                fft2dOneLineAtATime(asRows(plain), c.nx, c.ny, dir);
                EXPECT_EQ(std::memcmp(fast.data(), plain.data(), fast.size() * sizeof(Complex)), 0)
                    << c.nx << " x " << c.ny << " dir " << dir << (widest ? " widest" : " plain");
            }
    }
    useAvxBuild = processorHasAvx();
}

TEST(Direction, AnythingButOneIsTheInverse) {
    std::vector<double> x0(16), y0(16);
    for (int t = 0; t < 16; t++)
        x0[t] = std::sin(t * 1.3), y0[t] = std::cos(t * 0.4);
    std::vector<double> fx = x0, fy = y0, dx = x0, dy = y0;
    fft1d(-1, 4, fx.data(), fy.data());
    dft1d(-1, 16, dx.data(), dy.data());
    for (int dir : {0, 2, -7}) {
        std::vector<double> x = x0, y = y0;
        fft1d(dir, 4, x.data(), y.data());
        EXPECT_EQ(x, fx) << dir;
        EXPECT_EQ(y, fy) << dir;
        x = x0, y = y0;
        dft1d(dir, 16, x.data(), y.data());
        EXPECT_EQ(x, dx) << dir;
        EXPECT_EQ(y, dy) << dir;
        std::vector<Complex> rows = randomRows(64, 5), inverse = rows;
        fft2d(asRows(rows), 64, 64, dir);
        fft2d(asRows(inverse), 64, 64, -1);
        EXPECT_EQ(std::memcmp(rows.data(), inverse.data(), rows.size() * sizeof(Complex)), 0) << dir;
    }
}

TEST(Dft1d, InverseOfAnImpulseIsOnes) {
    std::vector<double> x(8, 0.0), y(8, 0.0);
    x[0] = 2.0;
    ASSERT_EQ(dft1d(-1, 8, x.data(), y.data()), 1);
    for (int k = 0; k < 8; k++) {
        EXPECT_NEAR(x[k], 2.0, 1e-12);
        EXPECT_NEAR(y[k], 0.0, 1e-12);
    }
}

} // namespace
