// The per-tick surface: partner layout of the spectrum, choppy displacement, normals, the seam of the
// drawing grid, the normal-map bytes and the whole GL-free tick.
#include "ocean/rounding.h"
#include "ocean/spectrum.h"
#include "ocean/surface.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

void clear(Complex (*table)[OCEAN_N]) {
    std::memset(table, 0, sizeof(Complex) * OCEAN_N * OCEAN_N);
}

TEST(CheckerSign, EvenPlusOddMinus) {
    struct Case {
        int n;
        float sign;
    } cases[] = {{0, 1.0f}, {1, -1.0f}, {2, 1.0f}, {63, -1.0f}, {126, 1.0f}, {-1, -1.0f}, {-2, 1.0f}};
    for (const Case& c : cases)
        EXPECT_EQ(checkerSign(c.n), c.sign) << c.n;
}

TEST(EvolveSpectrum, PartnerLayoutAtTimeZero) {
    seedRandom(5);
    initSpectrum();
    fillRandom(h0, 8);
    fillRandom(heightField, 9); // nothing of the previous tick may survive
    evolveSpectrum(0.0);
    for (int i = 0; i <= 32; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            const Complex& own = h0[i][j];
            const Complex& partner = h0[63 - i][63 - j];
            double re = own.real + partner.real, im = own.imag - partner.imag;
            EXPECT_EQ(heightField[i][j].real, re) << i << "," << j;
            EXPECT_EQ(heightField[i][j].imag, im) << i << "," << j;
            // Row 32 is its own step's; row 31's partner writes there are overwritten by it.
            if (i == 32 || i == 31) continue;
            EXPECT_EQ(heightField[63 - i][63 - j].real, im) << i << "," << j;
            EXPECT_EQ(heightField[63 - i][63 - j].imag, re) << i << "," << j;
        }
    }
}

TEST(ChoppyDisplacement, MovesAlongTheWaveVectorOnly) {
    seedRandom(8);
    initSpectrum();
    clear(heightField);
    // kx > 0, ky = 0; the real part must not enter, nor the zero-frequency cell.
    heightField[33][32] = {100.0, 1.0};
    heightField[32][32] = {3.0, 4.0};
    computeChoppyDisplacement();
    double largestX = 0.0;
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            ASSERT_EQ(displacementY[i][j].imag, 0.0);
            // The single coefficient -i at (33, 32) gives -i (-1)^(x+y) e^{+2 pi i x / 64}: after the checker
            // correction its imaginary part is -cos(2 pi x / 64), times the choppiness.
            double expected = -std::cos(2 * 3.141592653589793 * i / 64) * CHOPPINESS;
            ASSERT_NEAR(displacementX[i][j].imag, expected, 1e-12) << i << "," << j;
            largestX = std::max(largestX, std::fabs(displacementX[i][j].imag));
        }
    }
    EXPECT_NEAR(largestX, CHOPPINESS, 1e-12);
}

TEST(GridNormals, FlatAndTiltedSurfaces) {
    struct Case {
        double slopeI, slopeJ; // height change per grid step along i and along j
    } cases[] = {{0.0, 0.0}, {1.0, 0.0}, {0.0, -3.0}, {2.0, 5.0}};
    for (const Case& c : cases) {
        for (int i = 0; i < OCEAN_N; i++)
            for (int j = 0; j < OCEAN_N; j++)
                heightField[i][j] = {c.slopeI * i + c.slopeJ * j + 7.0, 123.0};
        computeGridNormals(heightField);
        // (2, 0, 0.1 a) x (0, 2, 0.1 b) = (-0.2 a, -0.2 b, 4).
        Vec3 expected(-0.2 * c.slopeI, -0.2 * c.slopeJ, 4.0);
        double length =
            std::sqrt(expected.x * expected.x + expected.y * expected.y + expected.z * expected.z);
        for (int i = 0; i < OCEAN_N; i++) {
            for (int j = 0; j < OCEAN_N; j++) {
                ASSERT_NEAR(gridNormals[i][j].x, expected.x / length, 1e-15) << i << "," << j;
                ASSERT_NEAR(gridNormals[i][j].y, expected.y / length, 1e-15) << i << "," << j;
                ASSERT_NEAR(gridNormals[i][j].z, expected.z / length, 1e-15) << i << "," << j;
            }
        }
    }
}

TEST(GridNormals, LastRowAndColumnCopyTheFirst) {
    fillRandom(heightField, 21);
    computeGridNormals(heightField);
    for (int k = 0; k < OCEAN_N; k++)
        EXPECT_TRUE(sameBits(gridNormals[63][k], gridNormals[0][k]) &&
                    sameBits(gridNormals[k][63], gridNormals[k][0]))
            << k;
}

TEST(Normalize3, ZeroStaysZeroOthersGetUnitLength) {
    Vec3 zero(0, 0, 0), v(3, -4, 12);
    normalize3(zero);
    normalize3(v);
    EXPECT_TRUE(zero.x == 0.0 && zero.y == 0.0 && zero.z == 0.0);
    EXPECT_TRUE(v.x == 3.0 / 13 && v.y == -4.0 / 13 && v.z == 12.0 / 13) << v.x << " " << v.y << " " << v.z;
}

TEST(DrawGrid, SeamRepeatsRowAndColumnZeroOnePatchOn) {
    std::mt19937 generator(4);
    std::uniform_real_distribution<double> value(-50.0, 50.0);
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            positionsXY[i][j] = {value(generator), value(generator)};
            heightField[i][j] = {value(generator), value(generator)};
            gridNormals[i][j] = Vec3(value(generator), value(generator), value(generator));
        }
    }
    buildDrawGrid();
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            Vec3 expected(positionsXY[i][j].x, positionsXY[i][j].y, heightField[i][j].real);
            ASSERT_TRUE(sameBits(drawVertices[i][j], expected)) << i << "," << j;
        }
    }
    for (int k = 0; k <= OCEAN_N; k++) {
        int inner = k == OCEAN_N ? 0 : k;
        double shift = k == OCEAN_N ? PATCH_LENGTH : 0.0; // the corner is shifted along both axes
        EXPECT_TRUE(sameBits(drawVertices[64][k], drawVertices[0][inner] + Vec3(PATCH_LENGTH, shift, 0.0)))
            << k;
        EXPECT_TRUE(sameBits(drawVertices[k][64], drawVertices[inner][0] + Vec3(shift, PATCH_LENGTH, 0.0)))
            << k;
        EXPECT_TRUE(sameBits(drawNormals[64][k], drawNormals[0][inner])) << k;
        EXPECT_TRUE(sameBits(drawNormals[k][64], drawNormals[inner][0])) << k;
    }
}

TEST(NormalMap, BytesOfNormals) {
    struct Case {
        Vec3 normal;
        unsigned char r, g, b;
    } cases[] = {
        {Vec3(0, 0, 1), 127, 127, 177}, {Vec3(1, 0, 0), 177, 127, 127},     {Vec3(-1, 0, 0), 76, 127, 127},
        {Vec3(0, -1, 0), 127, 76, 127}, {Vec3(0.6, -0.8, 0), 157, 86, 127},
    };
    std::vector<unsigned char> pixels(64 * 64 * 3);
    for (const Case& c : cases) {
        std::fill(&gridNormals[0][0], &gridNormals[0][0] + OCEAN_N * OCEAN_N, c.normal);
        encodeNormalMap(pixels.data());
        for (int k = 0; k < 64 * 64; k++)
            ASSERT_TRUE(pixels[3 * k] == c.r && pixels[3 * k + 1] == c.g && pixels[3 * k + 2] == c.b) << k;
    }
    // Texel (i, j) sits at byte 192 i + 3 j.
    std::fill(&gridNormals[0][0], &gridNormals[0][0] + OCEAN_N * OCEAN_N, Vec3(0, 0, 1));
    gridNormals[5][9] = Vec3(1, 0, 0);
    encodeNormalMap(pixels.data());
    EXPECT_EQ(pixels[192 * 5 + 3 * 9], 177);
    EXPECT_EQ(pixels[192 * 9 + 3 * 5], 127);
}

TEST(AdvanceOcean, FlatSeaGivesFlatSurfaceAndPlainGrid) {
    seedRandom(1);
    initSpectrum();
    clear(h0);
    advanceOcean(-3.0);
    std::vector<unsigned char> pixels(64 * 64 * 3);
    encodeNormalMap(pixels.data());
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            const Vec3& v = drawVertices[i][j];
            ASSERT_TRUE(v.x == 2.0 * i && v.y == 2.0 * j && v.z == 0.0) << i << "," << j;
            ASSERT_TRUE(pixels[192 * i + 3 * j] == 127 && pixels[192 * i + 3 * j + 1] == 127 &&
                        pixels[192 * i + 3 * j + 2] == 177)
                << i << "," << j;
        }
    }
}

TEST(AdvanceOcean, DependsOnlyOnTimeAndStaysNearTheGrid) {
    seedRandom(31337);
    initSpectrum();
    advanceOcean(-12.0);
    static Vec3 first[DRAW_GRID_N][DRAW_GRID_N];
    std::memcpy(first, drawVertices, sizeof first);
    advanceOcean(-40.0);
    advanceOcean(-12.0);
    EXPECT_TRUE(sameBits(first, drawVertices));
    double largestHeight = 0.0;
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            ASSERT_NEAR(drawVertices[i][j].x, 2.0 * i, 10.0);
            ASSERT_NEAR(drawVertices[i][j].y, 2.0 * j, 10.0);
            const Vec3& n = drawNormals[i][j];
            ASSERT_NEAR(n.x * n.x + n.y * n.y + n.z * n.z, 1.0, 1e-12);
            ASSERT_GT(drawNormals[i][j].z, 0.0);
            largestHeight = std::max(largestHeight, std::fabs(drawVertices[i][j].z));
        }
    }
    // A real sea: waves, but waves of sane size (the drawing scales heights by 0.1).
    EXPECT_GT(largestHeight, 0.5);
    EXPECT_LT(largestHeight, 100.0);
}

} // namespace
