// The per-tick surface, step by step over every cell (the steps run four cells at a time in two
// builds, so each is checked cell by cell with inputs that differ from cell to cell): the spectrum of
// the moment and its partner layout, choppy displacement, normals, the drawing grid's seam, the
// normal-map bytes, and the tick that chains them.
#include "ocean/rounding.h"
#include "ocean/lanes.h"
#include "ocean/spectrum.h"
#include "ocean/surface.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

TEST(EvolveSpectrum, EveryCellAndItsPartnerAtAnyTimeFollowingTheWaveVectors) {
    seedRandom(5);
    initSpectrum();
    fillRandom(h0, 8);
    for (int pass = 0; pass < 2; pass++) {
        // The second pass changes the wave vectors in place: nothing derived from them may outlive that.
        if (pass == 1)
            for (int k = 0; k < OCEAN_N * OCEAN_N; k++)
                waveVectors[k / OCEAN_N][k % OCEAN_N].length *= 1.25;
        for (double T : {0.0, -0.016, -1.5, -3600.0}) {
            fillRandom(heightField, 9); // nothing of the previous tick may survive
            evolveSpectrum(T);
            for (int i = 0; i <= 32; i++)
                for (int j = 0; j < OCEAN_N; j++) {
                    double omega = std::sqrt(waveVectors[i][j].length * GRAVITY);
                    double s = std::sin(omega * T), c = std::cos(omega * T);
                    double a = h0[i][j].real, b = h0[i][j].imag;
                    double pc = h0[63 - i][63 - j].real, d = h0[63 - i][63 - j].imag;
                    double re = c * a + s * b + c * pc - s * d, im = c * b + s * a - c * d - s * pc;
                    ASSERT_TRUE(heightField[i][j].real == re && heightField[i][j].imag == im)
                        << "pass " << pass << " T " << T << " cell " << i << "," << j;
                    // Row 32 is its own step's; row 31's partner writes there are overwritten by it.
                    if (i < 31) {
                        ASSERT_TRUE(heightField[63 - i][63 - j].real == im &&
                                    heightField[63 - i][63 - j].imag == re)
                            << "pass " << pass << " T " << T << " partner of " << i << "," << j;
                    }
                }
        }
    }
}

TEST(ChoppyDisplacement, MovesAlongTheWaveVectorOnly) {
    seedRandom(8);
    initSpectrum();
    for (double towardX : {1.0, -1.0}) {
        std::memset(heightField, 0, sizeof heightField);
        // kx > 0, ky = 0; the real part must not enter, nor the zero-frequency cell.
        heightField[33][32] = {100.0, 1.0};
        heightField[32][32] = {3.0, 4.0};
        computeChoppyDisplacement();
        for (int i = 0; i < OCEAN_N; i++) {
            for (int j = 0; j < OCEAN_N; j++) {
                ASSERT_EQ(displacementY[i][j].imag, 0.0) << i << "," << j;
                // The single coefficient -i at (33, 32) gives -i (-1)^(x+y) e^{+2 pi i x / 64}: after the
                // checker correction its imaginary part is -cos(2 pi x / 64), times the choppiness.
                double expected = -towardX * std::cos(2 * 3.141592653589793 * i / 64) * CHOPPINESS;
                ASSERT_NEAR(displacementX[i][j].imag, expected, 1e-12) << i << "," << j;
            }
        }
        // Turned round in place, the wave vectors must turn the displacement round with them.
        for (int k = 0; k < OCEAN_N * OCEAN_N; k++)
            waveVectors[k / OCEAN_N][k % OCEAN_N].kx *= -1;
    }
}

TEST(GridNormals, DifferencesOfTheHeightsAndASeamOfCopies) {
    fillRandom(heightField, 3);
    computeGridNormals(heightField);
    for (int i = 0; i < OCEAN_N; i++)
        for (int j = 0; j < OCEAN_N; j++) {
            // (2, 0, 0.1 a) x (0, 2, 0.1 b) = (-0.2 a, -0.2 b, 4), a and b the differences along i and j;
            // the last row and column copy the first.
            int i0 = i == 63 ? 0 : i, j0 = j == 63 ? 0 : j;
            double a = heightField[i0 + 1][j0].real - heightField[i0][j0].real,
                   b = heightField[i0][j0 + 1].real - heightField[i0][j0].real;
            Vec3 e(-0.2 * a, -0.2 * b, 4.0), n = gridNormals[i][j];
            normalize3(e);
            ASSERT_TRUE(std::fabs(n.x - e.x) < 1e-15 && std::fabs(n.y - e.y) < 1e-15 &&
                        std::fabs(n.z - e.z) < 1e-15)
                << i << "," << j;
        }
}

TEST(Normalize3, ZeroStaysZeroOthersGetUnitLength) {
    Vec3 zero(0, 0, 0), v(3, -4, 12);
    normalize3(zero);
    normalize3(v);
    EXPECT_TRUE(zero.x == 0.0 && zero.y == 0.0 && zero.z == 0.0);
    EXPECT_TRUE(v.x == 3.0 / 13 && v.y == -4.0 / 13 && v.z == 12.0 / 13) << v.x << " " << v.y << " " << v.z;
}

TEST(DrawGrid, CellsCopiedAndTheSeamRepeatsRowAndColumnZeroOnePatchOn) {
    fillRandom(positionsXY, 4);
    fillRandom(heightField, 5);
    fillRandom(gridNormals, 6);
    buildDrawGrid();
    for (int k = 0; k < OCEAN_N * OCEAN_N; k++) {
        int i = k / OCEAN_N, j = k % OCEAN_N;
        const Vec3& v = drawVertices[i][j];
        ASSERT_TRUE(v.x == positionsXY[i][j].x && v.y == positionsXY[i][j].y &&
                    v.z == heightField[i][j].real && sameBits(drawNormals[i][j], gridNormals[i][j]))
            << i << "," << j;
    }
    for (int k = 0; k <= OCEAN_N; k++) {
        int inner = k % OCEAN_N;
        double shift = k == OCEAN_N ? PATCH_LENGTH : 0.0; // the corner is shifted along both axes
        const Vec3 &a = drawVertices[64][k], &b = drawVertices[0][inner];
        const Vec3 &c = drawVertices[k][64], &d = drawVertices[inner][0];
        EXPECT_TRUE(a.x == b.x + PATCH_LENGTH && a.y == b.y + shift && a.z == b.z) << k;
        EXPECT_TRUE(c.x == d.x + shift && c.y == d.y + PATCH_LENGTH && c.z == d.z) << k;
        EXPECT_TRUE(sameBits(drawNormals[64][k], drawNormals[0][inner]) &&
                    sameBits(drawNormals[k][64], drawNormals[inner][0]))
            << k;
    }
}

TEST(NormalMap, BytesOfNormals) {
    // Cell k gets normal k % 5, so that bytes taken from the wrong cell show.
    const struct {
        Vec3 normal;
        unsigned char rgb[3];
    } cases[] = {
        {Vec3(0, 0, 1), {127, 127, 177}},     {Vec3(1, 0, 0), {177, 127, 127}},
        {Vec3(-1, 0, 0), {76, 127, 127}},     {Vec3(0, -1, 0), {127, 76, 127}},
        {Vec3(0.6, -0.8, 0), {157, 86, 127}},
    };
    for (int k = 0; k < OCEAN_N * OCEAN_N; k++)
        gridNormals[k / OCEAN_N][k % OCEAN_N] = cases[k % 5].normal;
    static unsigned char pixels[64 * 64 * 3];
    encodeNormalMap(pixels);
    for (int k = 0; k < 64 * 64; k++)
        ASSERT_EQ(std::memcmp(&pixels[3 * k], cases[k % 5].rgb, 3), 0) << k;
}

// Each step of the tick reads what the one before it wrote, and both builds give the same bits.
TEST(AdvanceOcean, ChainsTheStepsAndBothBuildsAgree) {
    static Complex heights[64][64];
    static Vec3 normals[64][64], vertices[65][65];
    static unsigned char pixels[2][64 * 64 * 3];
    seedRandom(1733443200u);
    initSpectrum();
    for (double T : {-0.016, -61.25}) {
        evolveSpectrum(T);
        std::memcpy(heights, heightField, sizeof heights);
        ASSERT_EQ(fft2d(heights, 64, 64, -1), 1);
        for (bool avx : {false, true}) {
            useAvxBuild = avx && processorHasAvx();
            ASSERT_EQ(advanceOcean(T), OCEAN_TICK_DONE);
            encodeNormalMap(pixels[avx]);
            if (avx) {
                EXPECT_TRUE(sameBits(normals, gridNormals) && sameBits(vertices, drawVertices) &&
                            sameBits(pixels[0], pixels[1]))
                    << T;
                continue;
            }
            for (int i = 0; i < OCEAN_N; i++)
                for (int j = 0; j < OCEAN_N; j++) {
                    // The real part takes the sign; the imaginary part is kept as the transform left it.
                    ASSERT_TRUE(heightField[i][j].real == checkerSign(i + j) * heights[i][j].real &&
                                heightField[i][j].imag == heights[i][j].imag)
                        << i << "," << j;
                    ASSERT_EQ(positionsXY[i][j].x, i / 64.0 * 128.0 + displacementX[i][j].imag)
                        << i << "," << j;
                    ASSERT_EQ(positionsXY[i][j].y, j / 64.0 * 128.0 + displacementY[i][j].imag)
                        << i << "," << j;
                }
            std::memcpy(normals, gridNormals, sizeof normals);
            std::memcpy(vertices, drawVertices, sizeof vertices);
            computeGridNormals(heightField);
            buildDrawGrid();
            EXPECT_TRUE(sameBits(normals, gridNormals) && sameBits(vertices, drawVertices)) << T;
        }
    }
    useAvxBuild = processorHasAvx();
}

} // namespace
