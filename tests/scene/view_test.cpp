// Field of view and the culling cone: 132 units behind the viewer, opening 90 degrees about the view
// direction, which turns with the heading.
#include "scene/view.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(View, VerticalFieldOfViewKeepsNinetyDegreesAcross) {
    EXPECT_NEAR(verticalFieldOfView(1280.0f / 1024.0f), 2 * std::atan(0.8) * 180 / M_PI, 1e-4);
    EXPECT_NEAR(verticalFieldOfView(1280.0f / 1024.0f), 77.32, 0.01);
    EXPECT_NEAR(verticalFieldOfView(1.0f), 90.0, 1e-4);
}

TEST(View, ConeFollowsTheHeadingAndThePlace) {
    const struct {
        float heading;
        double x, y, view, edgeA, edgeB; // directions in degrees
    } cases[] = {{40, 127, 127, 50, 95, 5}, {130, 127, 127, -40, 5, -85}, {0, -300, 20, 90, 135, 45}};
    const double degree = M_PI / 180;
    for (const auto& c : cases) {
        cameraHeading = c.heading, camX = c.x, camY = c.y;
        computeViewCone();
        EXPECT_NEAR(viewConeApex[0], c.x - 132 * std::cos(c.view * degree), 1e-3) << c.heading;
        EXPECT_NEAR(viewConeApex[1], c.y - 132 * std::sin(c.view * degree), 1e-3) << c.heading;
        EXPECT_NEAR(std::atan2(viewConeEdgeA[1], viewConeEdgeA[0]) / degree, c.edgeA, 1e-3) << c.heading;
        EXPECT_NEAR(std::atan2(viewConeEdgeB[1], viewConeEdgeB[0]) / degree, c.edgeB, 1e-3) << c.heading;
        EXPECT_NEAR(std::hypot(viewConeEdgeA[0], viewConeEdgeA[1]), 1.0, 1e-6);
    }
    cameraHeading = 40.0f, camX = camY = 127.0;
}
