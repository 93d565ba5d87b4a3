// The per-tick surface: partner layout of the spectrum, choppy displacement, normals, the seam of the
// drawing grid, the normal-map bytes and the whole GL-free tick.
#include "ocean/rounding.h"
#include "ocean/spectrum.h"
#include "ocean/surface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <vector>

namespace {

void fillRandom(Complex (*table)[OCEAN_N], unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    for (int i = 0; i < OCEAN_N; i++)
        for (int j = 0; j < OCEAN_N; j++)
            table[i][j] = {value(generator), value(generator)};
}

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

TEST(EvolveSpectrum, ZeroFrequencyCellHoldsItsPartnerAtEveryTime) {
    seedRandom(6);
    initSpectrum();
    for (double T : {0.0, -0.5, -17.25, -1000.0}) {
        evolveSpectrum(T);
        EXPECT_EQ(heightField[32][32].real, h0[31][31].real) << T;
        EXPECT_EQ(heightField[32][32].imag, -h0[31][31].imag) << T;
    }
}

TEST(ChoppyDisplacement, ZeroFrequencyGivesNoDisplacement) {
    seedRandom(8);
    initSpectrum();
    clear(heightField);
    heightField[32][32] = {3.0, 4.0};
    computeChoppyDisplacement();
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            ASSERT_EQ(displacementX[i][j].imag, 0.0);
            ASSERT_EQ(displacementY[i][j].imag, 0.0);
        }
    }
}

TEST(ChoppyDisplacement, MovesAlongTheWaveVector) {
    seedRandom(8);
    initSpectrum();
    clear(heightField);
    // kx > 0, ky = 0; the real part must not enter.
    heightField[33][32] = {100.0, 1.0};
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
    for (int k = 0; k < OCEAN_N; k++) {
        EXPECT_EQ(std::memcmp(&gridNormals[63][k], &gridNormals[0][k], sizeof(Vec3)), 0) << k;
        EXPECT_EQ(std::memcmp(&gridNormals[k][63], &gridNormals[k][0], sizeof(Vec3)), 0) << k;
    }
}

TEST(Normalize3, ZeroStaysZeroOthersGetUnitLength) {
    Vec3 zero(0, 0, 0);
    normalize3(zero);
    EXPECT_EQ(zero.x, 0.0);
    EXPECT_EQ(zero.y, 0.0);
    EXPECT_EQ(zero.z, 0.0);
    Vec3 v(3, -4, 12);
    normalize3(v);
    EXPECT_DOUBLE_EQ(v.x, 3.0 / 13);
    EXPECT_DOUBLE_EQ(v.y, -4.0 / 13);
    EXPECT_DOUBLE_EQ(v.z, 12.0 / 13);
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
            ASSERT_EQ(drawVertices[i][j].x, positionsXY[i][j].x);
            ASSERT_EQ(drawVertices[i][j].y, positionsXY[i][j].y);
            ASSERT_EQ(drawVertices[i][j].z, heightField[i][j].real);
        }
    }
    for (int k = 0; k <= OCEAN_N; k++) {
        int inner = k == OCEAN_N ? 0 : k;
        double shift = k == OCEAN_N ? PATCH_LENGTH : 0.0; // the corner is shifted along both axes
        EXPECT_EQ(drawVertices[64][k].x, drawVertices[0][inner].x + PATCH_LENGTH) << k;
        EXPECT_EQ(drawVertices[64][k].y, drawVertices[0][inner].y + shift) << k;
        EXPECT_EQ(drawVertices[64][k].z, drawVertices[0][inner].z) << k;
        EXPECT_EQ(drawVertices[k][64].x, drawVertices[inner][0].x + shift) << k;
        EXPECT_EQ(drawVertices[k][64].y, drawVertices[inner][0].y + PATCH_LENGTH) << k;
        EXPECT_EQ(drawVertices[k][64].z, drawVertices[inner][0].z) << k;
        EXPECT_EQ(std::memcmp(&drawNormals[64][k], &drawNormals[0][inner], sizeof(Vec3)), 0) << k;
        EXPECT_EQ(std::memcmp(&drawNormals[k][64], &drawNormals[inner][0], sizeof(Vec3)), 0) << k;
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
        for (int i = 0; i < OCEAN_N; i++)
            for (int j = 0; j < OCEAN_N; j++)
                gridNormals[i][j] = c.normal;
        encodeNormalMap(pixels.data());
        for (int k = 0; k < 64 * 64; k++) {
            ASSERT_EQ(pixels[3 * k], c.r) << k;
            ASSERT_EQ(pixels[3 * k + 1], c.g) << k;
            ASSERT_EQ(pixels[3 * k + 2], c.b) << k;
        }
    }
    // Texel (i, j) sits at byte 192 i + 3 j.
    for (int i = 0; i < OCEAN_N; i++)
        for (int j = 0; j < OCEAN_N; j++)
            gridNormals[i][j] = Vec3(0, 0, 1);
    gridNormals[5][9] = Vec3(1, 0, 0);
    encodeNormalMap(pixels.data());
    EXPECT_EQ(pixels[192 * 5 + 3 * 9], 177);
    EXPECT_EQ(pixels[192 * 9 + 3 * 5], 127);
}

TEST(AdvanceOcean, FlatSeaGivesFlatSurfaceAndPlainGrid) {
    clear(h0);
    seedRandom(1);
    initSpectrum();
    clear(h0);
    advanceOcean(-3.0);
    std::vector<unsigned char> pixels(64 * 64 * 3);
    encodeNormalMap(pixels.data());
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            ASSERT_EQ(drawVertices[i][j].x, 2.0 * i);
            ASSERT_EQ(drawVertices[i][j].y, 2.0 * j);
            ASSERT_EQ(drawVertices[i][j].z, 0.0);
            ASSERT_EQ(pixels[192 * i + 3 * j + 2], 177);
        }
    }
}

TEST(AdvanceOcean, DependsOnlyOnTimeAndStaysNearTheGrid) {
    seedRandom(31337);
    initSpectrum();
    advanceOcean(-12.0);
    std::vector<Vec3> first(&drawVertices[0][0], &drawVertices[0][0] + DRAW_GRID_N * DRAW_GRID_N);
    advanceOcean(-40.0);
    advanceOcean(-12.0);
    EXPECT_EQ(std::memcmp(first.data(), drawVertices, sizeof(drawVertices)), 0);
    double largestHeight = 0.0;
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            ASSERT_NEAR(drawVertices[i][j].x, 2.0 * i, 10.0);
            ASSERT_NEAR(drawVertices[i][j].y, 2.0 * j, 10.0);
            ASSERT_NEAR(drawNormals[i][j].x * drawNormals[i][j].x +
                            drawNormals[i][j].y * drawNormals[i][j].y +
                            drawNormals[i][j].z * drawNormals[i][j].z,
                        1.0, 1e-12);
            ASSERT_GT(drawNormals[i][j].z, 0.0);
            largestHeight = std::max(largestHeight, std::fabs(drawVertices[i][j].z));
        }
    }
    // A real sea: waves, but waves of sane size (the drawing scales heights by 0.1).
    EXPECT_GT(largestHeight, 0.5);
    EXPECT_LT(largestHeight, 100.0);
}

} // namespace
