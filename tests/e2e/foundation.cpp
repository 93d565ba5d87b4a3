// The program's frame as a person sees it: a quiet start with the generated models, the window, the
// counters, Esc, and a drag that turns the view.
#include "e2e/harness.h"

#include <gtest/gtest.h>

using e2e::Rgb;

TEST(Foundation, OpensFullWindowShowsCountersAndEndsOnEsc) {
    e2e::Session session;
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow()) << session.console();
    EXPECT_EQ(session.console().rfind("program is loading.. \n", 0), 0u) << session.console();
    // The generated models and textures are taken without a word.
    for (const char* complaint : {"K.man", "K.pad", "bad tga", "paddle texture"})
        EXPECT_EQ(session.console().find(complaint), std::string::npos) << session.console();

    int width = 0, height = 0;
    ASSERT_TRUE(session.windowSize(width, height));
    EXPECT_EQ(width, 1280);
    EXPECT_EQ(height, 1024);

    e2e::Screenshot before = session.screenshot("foundation-start");
    ASSERT_TRUE(before.valid());
    EXPECT_EQ(before.width, 1280);
    EXPECT_EQ(before.height, 1024);

    // The counters: two lines of white text with a black shadow in the lower left corner,
    // baselines 75 and 55 pixels above the bottom edge.
    session.key("c");
    session.sleep(1.5);
    e2e::Screenshot shown = session.screenshot("foundation-counters");
    const int x0 = 10, x1 = 200, y0 = 1024 - 95, y1 = 1024 - 45;
    auto white = [](Rgb c) { return c.r > 240 && c.g > 240 && c.b > 240; };
    auto black = [](Rgb c) { return c.r < 16 && c.g < 16 && c.b < 16; };
    EXPECT_GT(shown.fraction(x0, y0, x1, y1, white), 0.02);
    EXPECT_GT(shown.fraction(x0, y0, x1, y1, black), 0.02);
    EXPECT_LT(before.fraction(x0, y0, x1, y1, white), shown.fraction(x0, y0, x1, y1, white));
    // Both lines hold text: the fps line around y = 1024 - 75, the tiles line around 1024 - 55.
    EXPECT_GT(shown.fraction(x0, 1024 - 90, x1, 1024 - 72, white), 0.01);
    EXPECT_GT(shown.fraction(x0, 1024 - 70, x1, 1024 - 52, white), 0.01);
    // Nothing of it far to the right.
    EXPECT_EQ(shown.fraction(400, y0, 600, y1, white), before.fraction(400, y0, 600, y1, white));

    session.key("c");
    session.sleep(1.0);
    e2e::Screenshot hidden = session.screenshot();
    EXPECT_LT(hidden.fraction(x0, y0, x1, y1, white), shown.fraction(x0, y0, x1, y1, white));

    session.key("Escape");
    ASSERT_TRUE(session.waitForExit(10));
    EXPECT_EQ(session.exitStatus(), 0);
}

// Bark-coloured pixels: warm, with red well above blue (sea and sky are the other way round).
static bool bark(Rgb c) {
    return c.r > 100 && c.r - c.b > 70 && c.g > c.b;
}

TEST(Foundation, DraggingLeftTurnsTheViewTowardTheCanoe) {
    e2e::Session session;
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow()) << session.console();
    // At the start heading the canoe lies 40 degrees left of centre, its stern near x = 210.
    e2e::Screenshot before = session.screenshot("drag-before");
    EXPECT_GT(before.fraction(0, 480, 220, 580, bark), 0.2);
    EXPECT_LT(before.fraction(480, 470, 800, 560, bark), 0.01);

    // 320 pixels left is 40 degrees: the canoe comes to the middle of the screen.
    session.drag(960, 512, 640, 512, 16);
    session.sleep(1.5);
    e2e::Screenshot after = session.screenshot("drag-after");
    EXPECT_GT(after.fraction(480, 470, 800, 560, bark), 0.08);
    EXPECT_LT(after.fraction(0, 480, 220, 580, bark), 0.05);

    session.key("Escape");
    ASSERT_TRUE(session.waitForExit(10));
    EXPECT_EQ(session.exitStatus(), 0);
}
