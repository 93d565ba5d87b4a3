// Cylindrical texture coordinates of the ribs and the inner hull.
#include "canoe/cylinder_tex_coords.h"

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

} // namespace
