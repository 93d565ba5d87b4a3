// Water tiles: the shader's model-to-world matrix, and the cone test on the cone the frame computes from
// the view (with its vertical field of view).
#include "scene/view.h"
#include "water/tiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

TEST(WaterMatrix, ModelToWorldHoldsTheTurnAndTheLift) {
    float m[16];
    std::memset(m, 0x7F, sizeof m);
    buildWaterModelToWorld(m);
    float c = std::cos(-90.0f * DEGREES_TO_RADIANS_F); // about -4.4e-8, not 0
    const float expected[16] = {1, 0, 0, 0, 0, c, 1, 120, 0, -1, c, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(m[i], expected[i]) << "element " << i;
    EXPECT_FALSE(std::signbit(m[3]) || std::signbit(m[11])) << "a zero translation is +0.0";
}

int visibleFrom(float heading, double x = 127, double y = 127) {
    cameraHeading = heading, camX = x, camY = y;
    computeViewCone();
    return countVisibleTiles(127, 127, viewConeApex, viewConeEdgeA, viewConeEdgeB);
}

TEST(ViewCone, TilesKeptByTheConeOfTheView) {
    EXPECT_NEAR(verticalFieldOfView(1280.0f / 1024.0f), 77.32, 0.01);
    EXPECT_NEAR(verticalFieldOfView(1.0f), 90.0, 1e-4);
    // Heading 40 from (127, 127): apex near (42.2, 25.9), edges at 95 and 5 degrees, so the centres with x
    // and y from 64 to 448 lie inside; those at x = -64 lie beyond the 95 degree edge, those at y = -64
    // behind the 5 degree one.
    EXPECT_EQ(visibleFrom(40), 16);
    for (int tx = -4; tx <= 3; ++tx)
        for (int ty = -4; ty <= 3; ++ty)
            EXPECT_EQ(tileInViewCone(tx, ty, viewConeApex, viewConeEdgeA, viewConeEdgeB), tx >= 0 && ty >= 0)
                << tx << "," << ty;
    EXPECT_EQ(countVisibleTiles(-1, -1, viewConeApex, viewConeEdgeA, viewConeEdgeB), 16)
        << "(-1, -1) truncates to the same block as (127, 127)";
    EXPECT_EQ(visibleFrom(0), 19) << "heading 0, as the tile counter shows it";
    EXPECT_EQ(visibleFrom(180, 127, -5000), 0) << "a cone far away, looking away";
    const struct {
        const char* what;
        float heading;
        int tx, ty;
        bool drawn;
    } cases[] = {
        {"straight ahead at heading 0", 0, 0, 2, true},
        {"beside the apex, outside the 45 degree edge", 0, -3, 0, false},
        {"on the far diagonal at heading 0", 0, 3, 3, true},
        {"behind at heading 90", 90, -3, 0, false},
        {"heading 400 acts as heading 40", 400, 0, 2, true},
        {"heading 180 looks toward -y", 180, 0, -3, true},
    };
    for (const auto& k : cases) {
        visibleFrom(k.heading);
        EXPECT_EQ(tileInViewCone(k.tx, k.ty, viewConeApex, viewConeEdgeA, viewConeEdgeB), k.drawn) << k.what;
    }
}

} // namespace
