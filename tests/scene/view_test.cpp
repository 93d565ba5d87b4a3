// The vertical field of view (the culling cone is tried through the tiles it keeps, in tests/water).
#include "scene/view.h"

#include <cmath>
#include <gtest/gtest.h>

TEST(View, VerticalFieldOfViewKeepsNinetyDegreesAcross) {
    EXPECT_NEAR(verticalFieldOfView(1280.0f / 1024.0f), 77.32, 0.01);
    EXPECT_NEAR(verticalFieldOfView(1.0f), 90.0, 1e-4);
}
