// The per-tick surface: the spectrum of the moment and its partner layout, choppy displacement,
// normals, the drawing grid's seam, the normal-map bytes, and known values of a whole tick.
#include "ocean/spectrum.h"
#include "ocean/surface.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

bool near(const Vec3& a, const Vec3& b) {
    return std::fabs(a.x - b.x) < 1e-12 && std::fabs(a.y - b.y) < 1e-12 && std::fabs(a.z - b.z) < 1e-12;
}

// A lone amplitude, in the cell's own h0 or its partner's (63 - i, 63 - j), turns at the deep-water
// frequency sqrt(g |k|): each of the four terms with its own sign. The partner cell holds the value swapped.
TEST(EvolveSpectrum, ALoneAmplitudeTurnsAtTheDeepWaterFrequency) {
    const struct {
        bool partner;
        Complex h;
        double cRe, sRe, cIm, sIm; // the value is (cRe cos + sRe sin, cIm cos + sIm sin) of omega T
    } terms[] = {{false, {1, 0}, 1, 0, 0, 1},
                 {false, {0, 1}, 0, 1, 1, 0},
                 {true, {1, 0}, 1, 0, 0, -1},
                 {true, {0, 1}, 0, -1, -1, 0}};
    const struct { int i, j; } cells[] = {{0, 0}, {5, 7}, {17, 63}, {30, 9}, {32, 40}};
    seedRandom(5);
    initSpectrum();
    for (auto [i, j] : cells)
        for (const auto& t : terms) {
            std::memset(h0, 0, sizeof h0);
            (t.partner ? h0[63 - i][63 - j] : h0[i][j]) = t.h;
            double omega = std::sqrt(waveVectors[i][j].length * GRAVITY);
            for (double turn : {0.0, -0.25, -0.125}) { // of a period, as elapsed time
                double T = turn * 2 * M_PI / omega, c = std::cos(omega * T), s = std::sin(omega * T);
                fillRandom(heightField, 9); // nothing of the previous tick may survive
                evolveSpectrum(T);
                const Complex &h = heightField[i][j], &p = heightField[63 - i][63 - j];
                EXPECT_TRUE(std::fabs(h.real - (t.cRe * c + t.sRe * s)) < 1e-12 &&
                            std::fabs(h.imag - (t.cIm * c + t.sIm * s)) < 1e-12)
                    << "cell " << i << "," << j << " turn " << turn;
                // Row 32 is its own partner row, and row 31's partner writes land in it.
                if (i < 31) {
                    EXPECT_TRUE(p.real == h.imag && p.imag == h.real) << i << "," << j;
                }
            }
        }
}

TEST(ChoppyDisplacement, MovesAlongTheWaveVectorOnly) {
    seedRandom(8);
    initSpectrum();
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
            ASSERT_NEAR(displacementX[i][j].imag, -std::cos(2 * M_PI * i / 64) * CHOPPINESS, 1e-12)
                << i << "," << j;
        }
    }
}

// The plane z = 0.1 (10 x - 30 y) / 2 (heights step 10 along i and -30 along j, 2 units apart) has the
// normal (-0.5, 1.5, 1); the last row and column copy the first.
TEST(GridNormals, APlaneGivesItsNormalAndTheSeamCopiesRowAndColumnZero) {
    for (int k = 0; k < OCEAN_N * OCEAN_N; k++)
        heightField[k / OCEAN_N][k % OCEAN_N] = {10.0 * (k / OCEAN_N) - 30.0 * (k % OCEAN_N), 0.0};
    computeGridNormals(heightField);
    double length = std::sqrt(0.25 + 2.25 + 1);
    for (int k = 0; k < 63 * 63; k++)
        ASSERT_TRUE(near(gridNormals[k / 63][k % 63], Vec3(-0.5 / length, 1.5 / length, 1 / length))) << k;
    fillRandom(heightField, 3);
    computeGridNormals(heightField);
    for (int k = 0; k < OCEAN_N; k++)
        ASSERT_TRUE(sameBits(gridNormals[63][k], gridNormals[0][k]) &&
                    sameBits(gridNormals[k][63], gridNormals[k][0]))
            << k;
}

TEST(DrawGrid, TheSeamRepeatsRowAndColumnZeroOnePatchOn) {
    fillRandom(positionsXY, 4);
    fillRandom(heightField, 5);
    fillRandom(gridNormals, 6);
    buildDrawGrid();
    for (int k = 0; k < OCEAN_N * OCEAN_N; k += 37) {
        const Vec3& v = drawVertices[k / OCEAN_N][k % OCEAN_N];
        const PositionXY& p = positionsXY[k / OCEAN_N][k % OCEAN_N];
        EXPECT_TRUE(v.x == p.x && v.y == p.y && v.z == heightField[k / OCEAN_N][k % OCEAN_N].real) << k;
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

// A whole tick of a known sea, at a known time: the steps in their order, the height's sign correction,
// the displaced positions and the bytes, as they came out when the sea was first drawn.
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
    for (const auto& c : cells) {
        EXPECT_TRUE(near(drawVertices[c.i][c.j], c.vertex) && near(drawNormals[c.i][c.j], c.normal))
            << c.i << "," << c.j;
    }
    static unsigned char pixels[64 * 64 * 3];
    encodeNormalMap(pixels);
    long sum = 0;
    for (unsigned char byte : pixels)
        sum += byte;
    EXPECT_EQ(sum, 1760906);
}

} // namespace
