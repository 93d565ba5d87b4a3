// The program's frame as a person sees it: a quiet start with the generated models, the window, the
// counters, Esc. (The drag that turns the view is in paddling.cpp and sea.cpp.)
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

    // The window fills the screen: none of Xvfb's black root shows at the corners.
    e2e::Screenshot before = session.screenshot("foundation-start");
    ASSERT_TRUE(before.width == 1280 && before.height == 1024);
    auto black = [](Rgb c) { return c.r < 16 && c.g < 16 && c.b < 16; };
    for (int corner = 0; corner < 4; corner++) {
        int x = corner % 2 * 1270, y = corner / 2 * 1014;
        EXPECT_LT(before.fraction(x, y, x + 10, y + 10, black), 0.5) << "corner " << corner;
    }

    // The counters: two lines of white text with a black shadow in the lower left corner,
    // baselines 75 and 55 pixels above the bottom edge.
    session.key("c");
    session.sleep(1.5);
    e2e::Screenshot shown = session.screenshot("foundation-counters");
    const int x0 = 10, x1 = 200, y0 = 1024 - 95, y1 = 1024 - 45;
    auto white = [](Rgb c) { return c.r > 240 && c.g > 240 && c.b > 240; };
    EXPECT_GT(shown.fraction(x0, y0, x1, y1, white), 0.02);
    EXPECT_GT(shown.fraction(x0, y0, x1, y1, black), 0.02);
    // Both lines hold text: the fps line around y = 1024 - 75, the tiles line around 1024 - 55.
    EXPECT_GT(shown.fraction(x0, 1024 - 90, x1, 1024 - 72, white), 0.01);
    EXPECT_GT(shown.fraction(x0, 1024 - 70, x1, 1024 - 52, white), 0.01);

    session.key("c");
    session.sleep(1.0);
    e2e::Screenshot hidden = session.screenshot();
    EXPECT_LT(hidden.fraction(x0, y0, x1, y1, white), shown.fraction(x0, y0, x1, y1, white));

    session.key("Escape");
    ASSERT_TRUE(session.waitForExit(10));
    EXPECT_EQ(session.exitStatus(), 0);
}
