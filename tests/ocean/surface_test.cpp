// The per-tick surface: known values of a whole tick of a known sea, the seams that close the grids, and
// the normal map's bytes.
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
