// Reference values of the wave spectrum: the random generator's sequence, the Phillips spectrum, and the
// tables initSpectrum fills (whose known amplitudes pin the generator and the Gaussian deviates too).
#include "ocean/spectrum.h"
#include "ocean/surface.h"

#include <gtest/gtest.h>

namespace {

TEST(Phillips, ReferenceValuesWithAndAgainstTheWind) {
    const double step = WAVE_NUMBER_STEP, a = 7.563625574924227e-06, b = 0.010912786415971466;
    const struct {
        double kx, ky, expected;
    } cases[] = {
        {step, 0.0, a},  {step, step, b},   {-32 * step, -32 * step, 3.535110104889633e-06},
        {-step, 0.0, a}, {-step, -step, b}, // against the wind: the same
    };
    for (const auto& c : cases)
        EXPECT_NEAR(phillips(SPECTRUM_AMPLITUDE, c.kx, c.ky, WIND_X, WIND_Y), c.expected, 1e-12 * c.expected)
            << c.kx << "," << c.ky;
}

TEST(InitSpectrum, KnownSequenceWaveVectorsZerosAndAmplitudes) {
    seedRandom(1);
    for (int expected : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464})
        EXPECT_EQ(nextRandom(), expected);
    seedRandom(77);
    initSpectrum();
    for (int i = 0; i < OCEAN_N; i++)
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
    // A pair taken out of turn, a wrong scale or a wrong wave vector shows here.
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
