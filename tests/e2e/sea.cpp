// The sea under the sky, as a person sees it: sky above, moving water below that brightens toward
// the horizon, no gaps between tiles or black water; and a scene that still comes up without its
// shader or images.
#include "e2e/harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using e2e::Rgb;

namespace {

double brightness(Rgb c) {
    return (c.r + c.g + c.b) / 3.0;
}

// The clear colour (0, 0, 128) shows only where nothing at all was drawn.
bool clearColour(Rgb c) {
    return c.r < 8 && c.g < 8 && c.b > 110 && c.b < 146;
}

// At the start the canoe lies at the left edge and the sun's path in the middle; the right third
// of the lower screen is open water.
const int WATER_X0 = 880, WATER_X1 = 1280;

} // namespace

TEST(Sea, SkyAboveMovingFresnelWaterBelow) {
    e2e::Session session;
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow()) << session.console();
    session.sleep(2.0);
    e2e::Screenshot first = session.screenshot("sea-first");
    session.sleep(1.0);
    e2e::Screenshot second = session.screenshot("sea-second");
    ASSERT_TRUE(first.valid() && second.valid());

    // Sky: light and blue over the upper part of the screen.
    Rgb sky = first.mean(0, 0, 1280, 420);
    EXPECT_GT(sky.b, sky.r) << "sky mean " << sky.r << "," << sky.g << "," << sky.b;
    EXPECT_GT(brightness(sky), 120);
    EXPECT_LT(first.fraction(0, 0, 1280, 420, clearColour), 0.001);

    // Water: blue-green, darker than the sky straight overhead, and drawn over every pixel below the
    // horizon (no seams between tiles, where the clear colour would show).
    Rgb water = first.mean(WATER_X0, 600, WATER_X1, 1024);
    EXPECT_GT(water.b, water.r) << "water mean " << water.r << "," << water.g << "," << water.b;
    EXPECT_EQ(first.fraction(0, 540, 1280, 1024, clearColour), 0.0);

    // It moves: a second later the water differs, the sky does not.
    EXPECT_GT(e2e::meanDifference(first, second, WATER_X0, 600, WATER_X1, 1024), 2.0);
    // (The paddler, kneeling at the canoe's stern near the left edge, may move; the sky right of it may not.)
    EXPECT_LT(e2e::meanDifference(first, second, 400, 0, 1280, 380), 0.5);

    // Fresnel: the reflection grows toward the horizon, so the far water is brighter than the near.
    double far = brightness(first.mean(WATER_X0, 545, WATER_X1, 600));
    double near = brightness(first.mean(WATER_X0, 900, WATER_X1, 1024));
    EXPECT_GT(far, near + 15) << "far " << far << ", near " << near;

    // Broken heights or normals (NaN, a half-done transform) show as black water.
    EXPECT_LT(second.fraction(WATER_X0, 600, WATER_X1, 1024, [](Rgb c) { return c.r + c.g + c.b < 18; }),
              0.001);
    for (const char* fault : {"does not compile", "do not link", "false on DXFFT", "false on DYFFT"})
        EXPECT_EQ(session.console().find(fault), std::string::npos) << session.console();

    session.key("Escape");
    EXPECT_TRUE(session.waitForExit(10));
}

TEST(Sea, ABrokenShaderAndMissingImagesAreReportedAndTheSceneStillDrawn) {
    e2e::Session session;
    for (const char* name : {"cloudy1.jpg", "bottom.jpg", "iyneg.bmp"})
        std::remove((session.folder() + "/" + name).c_str());
    FILE* file = std::fopen((session.folder() + "/f.cg").c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("#version 120\nvoid frag() { this is not a program }\n", file);
    std::fclose(file);
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow()) << session.console();
    session.sleep(1.0);
    e2e::Screenshot shot = session.screenshot("sea-broken-shader-missing-images");
    ASSERT_TRUE(session.running());
    for (const char* message : {"f.cg: the fragment program does not compile", "can't open cloudy1.jpg\n",
                                "can't open bottom.jpg\n", "Failed to open DIB file iyneg.bmp."})
        EXPECT_NE(session.console().find(message), std::string::npos) << message << "\n" << session.console();
    // A plain grey sky dome; the water, unshaded, still mirrors the sky faces of the cube (only the
    // face below the horizon is plain) over every pixel below the horizon.
    Rgb sky = shot.mean(0, 0, 1280, 300);
    EXPECT_NEAR(sky.r, 128, 6);
    EXPECT_NEAR(sky.b, 128, 6);
    EXPECT_EQ(shot.fraction(0, 540, 1280, 1024, clearColour), 0.0);
    Rgb water = shot.mean(WATER_X0, 600, WATER_X1, 1024);
    EXPECT_GT(water.b, water.r + 10) << "water mean " << water.r << "," << water.g << "," << water.b;
    session.key("Escape");
    EXPECT_TRUE(session.waitForExit(10));
}
