// Field of view and the culling cone at the initial heading.
#include "scene/view.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(View, VerticalFieldOfViewKeepsNinetyDegreesAcross) {
    EXPECT_NEAR(verticalFieldOfView(1280.0f / 1024.0f), 2 * std::atan(0.8) * 180 / M_PI, 1e-4);
    EXPECT_NEAR(verticalFieldOfView(1280.0f / 1024.0f), 77.32, 0.01);
    EXPECT_NEAR(verticalFieldOfView(1.0f), 90.0, 1e-4);
}

TEST(View, ConeAtInitialHeadingOpensNinetyDegreesAroundTheViewDirection) {
    cameraHeading = 40.0f;
    camX = camY = 127.0;
    computeViewCone();
    const double toRadians = M_PI / 180;
    EXPECT_NEAR(viewConeApex[0], 127 - 132 * std::cos(50 * toRadians), 1e-4);
    EXPECT_NEAR(viewConeApex[1], 127 - 132 * std::sin(50 * toRadians), 1e-4);
    EXPECT_NEAR(std::hypot(viewConeApex[0] - 127.0, viewConeApex[1] - 127.0), 132.0, 1e-4);
    EXPECT_NEAR(std::atan2(viewConeEdgeA[1], viewConeEdgeA[0]) / toRadians, 95.0, 1e-4);
    EXPECT_NEAR(std::atan2(viewConeEdgeB[1], viewConeEdgeB[0]) / toRadians, 5.0, 1e-4);
    EXPECT_NEAR(std::hypot(viewConeEdgeA[0], viewConeEdgeA[1]), 1.0, 1e-6);
}

TEST(View, ConeFollowsTheHeading) {
    cameraHeading = 130.0f; // 90 degrees further: the view direction turns from 50 to -40 degrees
    computeViewCone();
    const double toRadians = M_PI / 180;
    EXPECT_NEAR(viewConeApex[0], 127 - 132 * std::cos(-40 * toRadians), 1e-3);
    EXPECT_NEAR(viewConeApex[1], 127 - 132 * std::sin(-40 * toRadians), 1e-3);
    EXPECT_NEAR(std::atan2(viewConeEdgeB[1], viewConeEdgeB[0]) / toRadians, -85.0, 1e-3);
    cameraHeading = 40.0f;
}
