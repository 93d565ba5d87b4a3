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
            EXPECT_TRUE(heightField[i][j].real == re && heightField[i][j].imag == im) << i << "," << j;
            // Row 32 is its own step's; row 31's partner writes there are overwritten by it.
            if (i < 31) {
                EXPECT_TRUE(heightField[63 - i][63 - j].real == im && heightField[63 - i][63 - j].imag == re)
                    << i << "," << j;
            }
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
    for (int i = 0; i < OCEAN_N; i++) {
        for (int j = 0; j < OCEAN_N; j++) {
            ASSERT_EQ(displacementY[i][j].imag, 0.0) << i << "," << j;
            // The single coefficient -i at (33, 32) gives -i (-1)^(x+y) e^{+2 pi i x / 64}: after the checker
            // correction its imaginary part is -cos(2 pi x / 64), times the choppiness.
            double expected = -std::cos(2 * 3.141592653589793 * i / 64) * CHOPPINESS;
            ASSERT_NEAR(displacementX[i][j].imag, expected, 1e-12) << i << "," << j;
        }
    }
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
        Vec3 e(-0.2 * c.slopeI, -0.2 * c.slopeJ, 4.0);
        normalize3(e);
        for (int k = 0; k < OCEAN_N * OCEAN_N; k++) {
            const Vec3& n = gridNormals[k / OCEAN_N][k % OCEAN_N];
            ASSERT_TRUE(std::fabs(n.x - e.x) < 1e-15 && std::fabs(n.y - e.y) < 1e-15 &&
                        std::fabs(n.z - e.z) < 1e-15)
                << k;
        }
    }
}

TEST(Normalize3, ZeroStaysZeroOthersGetUnitLength) {
    Vec3 zero(0, 0, 0), v(3, -4, 12);
    normalize3(zero);
    normalize3(v);
    EXPECT_TRUE(zero.x == 0.0 && zero.y == 0.0 && zero.z == 0.0);
    EXPECT_TRUE(v.x == 3.0 / 13 && v.y == -4.0 / 13 && v.z == 12.0 / 13) << v.x << " " << v.y << " " << v.z;
}

TEST(DrawGrid, SeamRepeatsRowAndColumnZeroOnePatchOn) {
    fillRandom(positionsXY, 4);
    fillRandom(heightField, 5);
    fillRandom(gridNormals, 6);
    buildDrawGrid();
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
}

TEST(AdvanceOcean, FlatSeaGivesFlatSurfaceAndPlainGrid) {
    seedRandom(1);
    initSpectrum();
    clear(h0);
    advanceOcean(-3.0);
    std::vector<unsigned char> pixels(64 * 64 * 3);
    encodeNormalMap(pixels.data());
    for (int k = 0; k < OCEAN_N * OCEAN_N; k++) {
        const Vec3& v = drawVertices[k / OCEAN_N][k % OCEAN_N];
        const unsigned char* texel = &pixels[3 * k];
        ASSERT_TRUE(v.x == 2.0 * (k / OCEAN_N) && v.y == 2.0 * (k % OCEAN_N) && v.z == 0.0) << k;
        ASSERT_TRUE(texel[0] == 127 && texel[1] == 127 && texel[2] == 177) << k;
    }
}

} // namespace
