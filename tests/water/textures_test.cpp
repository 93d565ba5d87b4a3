// Water and sky textures without GL: the normalisation cube's texels and the sky dome's rings.
#include "water/cube_maps.h"
#include "water/sky.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

typedef std::vector<unsigned char> Bytes;

TEST(NormalizeCube, TexelsOfPlusXAndTheFaceAxes) {
    Bytes face(32 * 32 * 3);
    computeNormalizeCubeFace(32, 0, face.data());
    const struct {
        int row, column;
        Bytes rgb;
    } plusX[] = {{0, 0, {201, 199, 199}}, {15, 15, {253, 130, 130}}, {31, 31, {201, 54, 54}}};
    for (const auto& t : plusX) {
        const unsigned char* p = &face[(t.row * 32 + t.column) * 3];
        EXPECT_EQ(Bytes(p, p + 3), t.rgb) << t.row << "," << t.column;
    }
    // Faces +X, -X, +Y, -Y, +Z, -Z: the centre texel points (almost) straight along the face's axis.
    for (int f = 0; f < 6; ++f) {
        computeNormalizeCubeFace(32, f, face.data());
        EXPECT_EQ(face[(16 * 32 + 16) * 3 + f / 2], f % 2 == 0 ? 253 : 0) << "face " << f;
    }
}

TEST(SkyDome, RingsRunFromThePoleToTheHorizon) {
    static float dome[SKY_RINGS][SKY_RING_POINTS][3];
    buildSkyDome(SKY_RADIUS, dome);
    for (int r = 0; r < SKY_RINGS; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(dome[r][0][c], dome[r][SKY_RING_POINTS - 1][c], 1e-2) << "ring " << r << " closes";
    EXPECT_NEAR(dome[0][3][2], SKY_RADIUS, 1e-3) << "the pole";
    EXPECT_NEAR(dome[SKY_RINGS - 1][3][2], 0, 1e-2) << "the horizon";
    // Point 5 of the horizon ring lies at 60 degrees.
    EXPECT_NEAR(dome[7][5][0], 500.0, 1e-2);
    EXPECT_NEAR(dome[7][5][1], 866.025, 1e-2);
}

} // namespace
