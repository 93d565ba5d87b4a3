// Reference values of the sea: the random generator's sequence, the Phillips spectrum, the tables
// initSpectrum fills (whose known amplitudes pin the generator and the Gaussian deviates too) and a whole
// tick of a known sea; the seams that close the grids, and the normal map's bytes.
#include "ocean/spectrum.h"
#include "ocean/surface.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

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

bool near(const Vec3& a, const Vec3& b) {
    return std::fabs(a.x - b.x) < 1e-12 && std::fabs(a.y - b.y) < 1e-12 && std::fabs(a.z - b.z) < 1e-12;
}

// A whole tick of a known sea at a known time, as it came out when the sea was first drawn: the steps in
// their order, the spectrum of the moment with its partner layout, the choppy displacement, the height's
// sign correction, the normals and the bytes.
TEST(AdvanceOcean, KnownSeaAtAKnownTime) {
    const struct {
        int i, j;
        Vec3 vertex, normal;
    } cells[] = {
        {5, 7, Vec3(10.247325495411458, 13.779349252364037, 0.65938071886448113),
         Vec3(-0.024081566398469215, 0.062708013337014257, 0.99774134084096211)},
        {40, 2, Vec3(79.843964549207683, 3.8119273888471672, 3.0012764914825789),
         Vec3(-0.0058761591128073942, 0.0047900619194913415, 0.99997126261752567)},
        {63, 33, Vec3(126.06668011449017, 66.08654894545279, -0.15789167978443386),
         Vec3(-0.046787347533045261, 0.0088112752702941294, 0.99886600980258278)},
    };
    seedRandom(1733443200u);
    initSpectrum();
    ASSERT_EQ(advanceOcean(-61.25), OCEAN_TICK_DONE);
    for (const auto& c : cells)
        EXPECT_TRUE(near(drawVertices[c.i][c.j], c.vertex) && near(drawNormals[c.i][c.j], c.normal))
            << c.i << "," << c.j;
    static unsigned char pixels[64 * 64 * 3];
    encodeNormalMap(pixels);
    long sum = 0;
    for (unsigned char byte : pixels)
        sum += byte;
    EXPECT_EQ(sum, 1760906);
}

// Normals are copied across the seam, not taken across it; the drawing grid repeats row and column 0 one
// patch further on (the corner along both axes), so that neighbouring copies of the patch meet exactly.
TEST(Seams, NormalsAndTheDrawingGridRepeatRowAndColumnZero) {
    fillRandom(positionsXY, 4);
    fillRandom(heightField, 5);
    computeGridNormals(heightField);
    buildDrawGrid();
    for (int k = 0; k <= OCEAN_N; k++) {
        int inner = k % OCEAN_N;
        double shift = k == OCEAN_N ? PATCH_LENGTH : 0.0;
        const Vec3 &a = drawVertices[64][k], &b = drawVertices[0][inner];
        const Vec3 &c = drawVertices[k][64], &d = drawVertices[inner][0];
        EXPECT_TRUE(a.x == b.x + PATCH_LENGTH && a.y == b.y + shift && a.z == b.z) << k;
        EXPECT_TRUE(c.x == d.x + shift && c.y == d.y + PATCH_LENGTH && c.z == d.z) << k;
        EXPECT_TRUE(sameBits(drawNormals[64][k], drawNormals[0][inner]) &&
                    sameBits(drawNormals[k][64], drawNormals[inner][0]) &&
                    sameBits(gridNormals[63][inner], gridNormals[0][inner]) &&
                    sameBits(gridNormals[inner][63], gridNormals[inner][0]))
            << k;
    }
}

TEST(NormalMap, BytesOfNormals) {
    // Cell k gets normal k % 5, so that bytes taken from the wrong cell show.
    const struct {
        Vec3 normal;
        unsigned char rgb[3];
    } cases[] = {{Vec3(0, 0, 1), {127, 127, 177}},
                 {Vec3(1, 0, 0), {177, 127, 127}},
                 {Vec3(-1, 0, 0), {76, 127, 127}},
                 {Vec3(0, -1, 0), {127, 76, 127}},
                 {Vec3(0.6, -0.8, 0), {157, 86, 127}}};
    for (int k = 0; k < OCEAN_N * OCEAN_N; k++)
        gridNormals[k / OCEAN_N][k % OCEAN_N] = cases[k % 5].normal;
    static unsigned char pixels[64 * 64 * 3];
    encodeNormalMap(pixels);
    for (int k = 0; k < 64 * 64; k++)
        ASSERT_EQ(std::memcmp(&pixels[3 * k], cases[k % 5].rgb, 3), 0) << k;
}

} // namespace
