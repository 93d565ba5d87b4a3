// Water tiles: the float matrix helpers, the shader's model-to-world matrix and the cone test.
#include "water/tiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace {

const float TO_RADIANS = 0.017453293f;

// The cone values for a heading and viewer position, as the display callback computes them.
struct Cone {
    float apex[2], edgeA[2], edgeB[2];
};
Cone coneFor(float heading, double x, double y) {
    Cone c;
    float a = 90.0f - heading;
    c.apex[0] = static_cast<float>(x - 132.0 * std::cos(a * TO_RADIANS));
    c.apex[1] = static_cast<float>(y - 132.0 * std::sin(a * TO_RADIANS));
    c.edgeA[0] = std::cos((135.0f - heading) * TO_RADIANS);
    c.edgeA[1] = std::sin((135.0f - heading) * TO_RADIANS);
    c.edgeB[0] = std::cos((45.0f - heading) * TO_RADIANS);
    c.edgeB[1] = std::sin((45.0f - heading) * TO_RADIANS);
    return c;
}

TEST(WaterMatrix, ModelToWorldHoldsTheTurnAndTheLift) {
    float m[16];
    std::memset(m, 0x7F, sizeof m);
    buildWaterModelToWorld(m);
    float c = std::cos(-90.0f * TO_RADIANS);
    const float expected[16] = {1, 0, 0, 0, 0, c, 1, 120, 0, -1, c, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(m[i], expected[i]) << "element " << i;
    EXPECT_NEAR(c, -4.4e-8, 1e-8);
    EXPECT_FALSE(std::signbit(m[3])) << "a zero translation is +0.0";
    EXPECT_FALSE(std::signbit(m[11]));
    // Local (x, y, height) goes to (x, height + 120, -y).
    const float p[4] = {3, 5, 2, 1};
    float q[4];
    for (int r = 0; r < 4; ++r)
        q[r] = m[4 * r] * p[0] + m[4 * r + 1] * p[1] + m[4 * r + 2] * p[2] + m[4 * r + 3];
    EXPECT_NEAR(q[0], 3, 1e-5);
    EXPECT_NEAR(q[1], 122, 1e-5);
    EXPECT_NEAR(q[2], -5, 1e-5);
}

TEST(WaterMatrix, HelpersFollowTheirRules) {
    float a[16], b[16];
    identityMatrixf(a);
    for (int i = 0; i < 16; ++i)
        b[i] = static_cast<float>(i + 1);
    multiplyMatrixf(a, b);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(a[i], b[i]);
    // a x b with a on the left: row-major.
    float left[16] = {0, 1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; // swaps rows 0 and 1
    multiplyMatrixf(left, b);
    EXPECT_EQ(left[0], 5);
    EXPECT_EQ(left[4], 1);
    // A zero angle is skipped, so the matrix keeps its exact values.
    float keep[16];
    std::memcpy(keep, b, sizeof b);
    rotateMatrixf(keep, 0, 0);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(keep[i], b[i]);
    // About z by 90: [0][0] = c, [0][1] = -s, [1][0] = s.
    float r[16];
    identityMatrixf(r);
    rotateMatrixf(r, 0, 90);
    EXPECT_NEAR(r[1], -1, 1e-6);
    EXPECT_NEAR(r[4], 1, 1e-6);
    setTranslationf(r, -0.0f, 2, 3);
    EXPECT_FALSE(std::signbit(r[3]));
    EXPECT_EQ(r[7], 2);
    EXPECT_EQ(r[11], 3);
}

TEST(ViewCone, TilesAtTheStartingHeadingAreTheSixteenAheadAndRight) {
    // Heading 40 from (127, 127): apex near (42.2, 25.9), edges at 95 and 5 degrees, so the centres
    // with x from 64 to 448 and y from 64 to 448 lie inside; those at x = -64 lie beyond the 95
    // degree edge and those at y = -64 behind the 5 degree one.
    Cone c = coneFor(40, 127, 127);
    for (int tx = -4; tx <= 3; ++tx)
        for (int ty = -4; ty <= 3; ++ty)
            EXPECT_EQ(tileInViewCone(tx, ty, c.apex, c.edgeA, c.edgeB), tx >= 0 && ty >= 0)
                << tx << "," << ty;
    EXPECT_EQ(countVisibleTiles(127, 127, c.apex, c.edgeA, c.edgeB), 16);
}

TEST(ViewCone, CasesOfTheRule) {
    struct Case {
        const char* what;
        float heading;
        int tx, ty;
        bool drawn;
    };
    const Case cases[] = {
        {"straight ahead at heading 0", 0, 0, 2, true},
        {"straight behind the apex at heading 0", 0, 0, -3, false},
        {"beside the apex, outside the 45 degree edge", 0, -3, 0, false},
        {"on the far diagonal at heading 0", 0, 3, 3, true},
        {"ahead at heading 90 (toward +x)", 90, 3, 0, true},
        {"behind at heading 90", 90, -3, 0, false},
        {"heading 400 acts as heading 40", 400, 0, 2, true},
        {"heading 180 looks toward -y", 180, 0, -3, true},
    };
    for (const Case& k : cases) {
        Cone c = coneFor(k.heading, 127, 127);
        EXPECT_EQ(tileInViewCone(k.tx, k.ty, c.apex, c.edgeA, c.edgeB), k.drawn) << k.what;
    }
}

TEST(ViewCone, CountStaysWithinTheBlockAndFollowsTheViewer) {
    for (float heading = -720; heading <= 720; heading += 7.5f) {
        Cone c = coneFor(heading, 127, 127);
        int count = countVisibleTiles(127, 127, c.apex, c.edgeA, c.edgeB);
        EXPECT_GE(count, 1) << heading; // the viewer's own tile or a neighbour is always ahead
        EXPECT_LE(count, 64) << heading;
    }
    // A cone far from the block, looking away from it, keeps nothing.
    Cone away = coneFor(180, 127, -5000);
    EXPECT_EQ(countVisibleTiles(127, 127, away.apex, away.edgeA, away.edgeB), 0);
    // (-1, -1) truncates to the same block as (127, 127).
    Cone c = coneFor(40, 127, 127);
    EXPECT_EQ(countVisibleTiles(-1, -1, c.apex, c.edgeA, c.edgeB), 16);
}

} // namespace
