// The random generator, Phillips reference values and the tables initSpectrum fills (whose known
// amplitudes pin the Gaussian deviates too).
#include "ocean/spectrum.h"
#include "ocean/surface.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A known sequence from seed 1, and the ends of uniformRandom: seeds whose first state is 0, 0x7FFF0000,
// 0xFFFFFFFF and 0x80000000 (the state wraps at 2^32).
TEST(RandomGenerator, KnownSequenceAndTheEndsOfUniform) {
    seedRandom(1);
    for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
        EXPECT_EQ(nextRandom(), expected);
    const struct {
        unsigned seed;
        double expected;
    } ends[] = {{2708534849u, 0.0}, {4028364353u, 1.0}, {3887973612u, 1.0}, {561051201u, 0.0}};
    for (const auto& c : ends) {
        seedRandom(c.seed);
        EXPECT_EQ(uniformRandom(), c.expected) << c.seed;
    }
}

TEST(Phillips, ReferenceValuesWithAndAgainstTheWind) {
    const double step = WAVE_NUMBER_STEP, a = 7.563625574924227e-06, b = 0.010912786415971466;
    struct Case {
        double kx, ky, expected;
    } cases[] = {
        {step, 0.0, a},  {step, step, b},   {-32 * step, -32 * step, 3.535110104889633e-06},
        {-step, 0.0, a}, {-step, -step, b}, // against the wind: the same
    };
    for (const Case& c : cases) {
        double p = phillips(SPECTRUM_AMPLITUDE, c.kx, c.ky, WIND_X, WIND_Y);
        EXPECT_NEAR(p, c.expected, 1e-12 * c.expected) << c.kx << "," << c.ky;
    }
}

TEST(InitSpectrum, WaveVectorsZerosAndOnePairPerCellInRowOrder) {
    const unsigned seed = 77;
    seedRandom(seed);
    initSpectrum();
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            const WaveVector& k = waveVectors[i][j];
            ASSERT_DOUBLE_EQ(k.kx, (i - 32) * WAVE_NUMBER_STEP);
            ASSERT_DOUBLE_EQ(k.ky, (j - 32) * WAVE_NUMBER_STEP);
            ASSERT_DOUBLE_EQ(k.length * k.length, k.lengthSquared);
            // Zero frequency, and perpendicular to the (5, 5) wind: kx = -ky, i.e. i + j = 64.
            if (i + j == 64 || (i == 32 && j == 32)) {
                EXPECT_TRUE(h0[i][j].real == 0.0 && h0[i][j].imag == 0.0) << i << "," << j;
            }
        }
    }
    // Known amplitudes: a pair taken out of turn, a wrong scale or a wrong wave vector shows here.
    const struct {
        int i, j;
        double real, imag;
    } cells[] = {{0, 0, -0.00035422001358563336, -5.2274056747499369e-06},
                 {5, 7, -0.0022166530407120031, 0.001375552323834532},
                 {40, 2, -0.0057799073029525571, 0.00059964880762215322},
                 {63, 63, -0.00068168003392919403, -0.0014601348214311248}};
    for (const auto& c : cells) {
        EXPECT_DOUBLE_EQ(h0[c.i][c.j].real, c.real) << c.i << "," << c.j;
        EXPECT_DOUBLE_EQ(h0[c.i][c.j].imag, c.imag) << c.i << "," << c.j;
    }
}

} // namespace
