// The canoe's look: the cylindrical texture coordinates of the ribs and the inner hull, the material lists
// that may set their shininess, and the rocking's tables and sampling by the scene's time.
#include "canoe/cylinder_tex_coords.h"
#include "canoe/materials.h"
#include "canoe/rocking.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(CylinderTexCoords, Cases) {
    const double x0 = CYLINDER_X, y0 = CYLINDER_Y;
    // Points at 0.9 and -0.9 degrees about the axis, one unit to the side.
    const float y09 = static_cast<float>(y0 - std::tan(0.9 * M_PI / 180)),
                y45 = static_cast<float>(y0 - 10.0);
    const float left1 = static_cast<float>(x0 - 1), right1 = static_cast<float>(x0 + 1);
    const float right10 = static_cast<float>(x0 + 10.0001);
    const struct {
        const char* what;
        float x, y, z;
        double offset, s, t; // s < 0, t < 0: not checked
    } cases[] = {
        {"on the axis's x below it: atan(+inf) = 90", CYLINDER_X, 0.0f, CYLINDER_Z0, 0, 0.5, 0.0},
        {"on the axis's x above it: atan(-inf) = -90", CYLINDER_X, 20.0f, CYLINDER_Z1, 90, 1.0, 1.0},
        {"0.9 degrees truncates to 0", left1, y09, 0.0f, 0, 0.0, -1},
        {"-0.9 degrees truncates to 0 as well", right1, y09, 0.0f, 90, 0.5, -1},
        {"-45 degrees gives the same s", right10, y45, 0.0f, 90, 134.0 / 180, -1},
        {"level with the axis", 10.0f, CYLINDER_Y, 0.0f, 90, 0.5, -1},
        {"beyond z1 the texture repeats", 3.0f, 0.0f, 2 * CYLINDER_Z1 - CYLINDER_Z0, 0, -1, 2.0},
        {"on the axis itself", CYLINDER_X, CYLINDER_Y, 0.0f, 90, 0.5, -1},
    };
    static ShapeFile shape;
    shape.vertexCount = sizeof cases / sizeof cases[0];
    shape.texCoords[shape.vertexCount][0] = 7.0f; // beyond the count: never written
    for (int i = 0; i < shape.vertexCount; i++) {
        shape.vertices[i][0] = cases[i].x, shape.vertices[i][1] = cases[i].y,
        shape.vertices[i][2] = cases[i].z;
        cylinderTexCoords(shape, cases[i].offset);
        if (cases[i].s >= 0) {
            EXPECT_NEAR(shape.texCoords[i][0], cases[i].s, 1e-6) << cases[i].what;
        }
        if (cases[i].t >= 0) {
            EXPECT_NEAR(shape.texCoords[i][1], cases[i].t, 1e-5) << cases[i].what;
        }
    }
    EXPECT_FLOAT_EQ(shape.texCoords[shape.vertexCount][0], 7.0f);
}

// OpenGL refuses a shininess above 128 and keeps the one in force, so a list with such a value must leave
// the call out rather than raise an error every frame.

TEST(Materials, ShininessOutsideOpenGLsRangeIsLeftOut) {
    EXPECT_TRUE(shininessAccepted(0) && shininessAccepted(128) && !shininessAccepted(128.5f) &&
                !shininessAccepted(-1));
    // Only list 3 (the ribs, rib ends, seat nets and axe handle) keeps the shininess before it.
    for (int i = 0; i < CANOE_MATERIAL_COUNT; i++)
        EXPECT_EQ(shininessAccepted(canoeMaterials[i].shininess), i != 2) << "list " << i + 1;
}

// 20 samples a second for 60 samples, a 3-second cycle from sample 0, and no division by a zero count.

void setUpRocking(int n) {
    strokeSamples.sampleCount = n;
    rockIndex = 0;
    initRocking();
}

TEST(Rocking, TablesFollowHalfASineAndTheSampleTheScenesTime) {
    setUpRocking(60);
    EXPECT_TRUE(rockMode == 1 && rockRate == 20.0);
    EXPECT_DOUBLE_EQ(rockPitchTable[0], 0.0);
    EXPECT_NEAR(rockPitchTable[30], -1.0, 1e-9); // the middle of the cycle
    EXPECT_NEAR(rockRollTable[30], -10.0, 1e-8);
    EXPECT_DOUBLE_EQ(rockPitchTable[60], 0.0); // beyond the count: untouched
    const struct {
        const char* what;
        int n;
        double t;
        int index;
    } cases[] = {
        {"the first frame", 60, 0, 0},
        {"20 samples a second", 60, 0.125, 2},
        {"end of the cycle", 60, 2.9375, 58},
        {"a whole cycle", 60, 3.0, 0},
        {"200 samples: 3 cycles and 20", 60, 10.0, 20},
        {"no samples", 0, 1.5, 0},
        {"too many samples", 5000, 1.5, 0},
    };
    for (const auto& c : cases) {
        setUpRocking(c.n);
        advanceRockingAt(c.t);
        EXPECT_EQ(rockIndex, c.index) << c.what;
    }
}

} // namespace
