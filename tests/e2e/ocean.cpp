// The ocean as a person sees it over several seconds: the waves keep moving from tick to tick, the
// water never breaks up into black or clear-colour holes, and no transform or buffer fault is reported.
#include "e2e/harness.h"

#include <gtest/gtest.h>

#include <string>

using e2e::Rgb;

namespace {

// Open water at the start: the right third of the lower screen (the canoe lies at the left edge).
const int X0 = 880, X1 = 1280, Y0 = 600, Y1 = 1024;

bool black(Rgb c) {
    return c.r < 6 && c.g < 6 && c.b < 6;
}

} // namespace

TEST(Ocean, WavesKeepMovingForSecondsWithoutAFault) {
    e2e::Session session;
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow()) << session.console();
    session.sleep(1.0);
    e2e::Screenshot previous = session.screenshot("ocean-1");
    ASSERT_TRUE(previous.valid());
    for (int shot = 2; shot <= 4; shot++) {
        session.sleep(0.7);
        e2e::Screenshot next = session.screenshot("ocean-" + std::to_string(shot));
        ASSERT_TRUE(next.valid());
        // Every interval shows new waves: the sea follows the wall clock, not a single frame.
        EXPECT_GT(e2e::meanDifference(previous, next, X0, Y0, X1, Y1), 1.0) << "shot " << shot;
        // Broken heights or normals (NaN, a half-done transform) show as black water.
        EXPECT_LT(next.fraction(X0, Y0, X1, Y1, black), 0.001) << "shot " << shot;
        previous = next;
    }
    ASSERT_TRUE(session.running());
    for (const char* fault : {"false on DXFFT", "false on DYFFT", "failure to malloc"})
        EXPECT_EQ(session.console().find(fault), std::string::npos) << session.console();
    session.key("Escape");
    ASSERT_TRUE(session.waitForExit(10));
    EXPECT_EQ(session.exitStatus(), 0);
}
