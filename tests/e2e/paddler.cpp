// The paddler's models at start-up: the program runs with the generated "K.man" and "K.pad" (their
// damage is in the damaged-file table).
#include "e2e/harness.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

TEST(PaddlerModels, ProgramStartsWithTheGeneratedModels) {
    e2e::Session session;
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow()) << session.console();
    session.sleep(3.0);
    e2e::Screenshot shot = session.screenshot("paddler-start");
    EXPECT_TRUE(shot.valid());
    EXPECT_TRUE(session.running()) << session.console();
    std::string console = session.console();
    EXPECT_EQ(console.find("K.man"), std::string::npos) << console;
    EXPECT_EQ(console.find("K.pad"), std::string::npos) << console;
    EXPECT_EQ(console.find("bad tga"), std::string::npos) << console;
    EXPECT_EQ(console.find("paddle texture"), std::string::npos) << console;
    session.key("Escape");
    ASSERT_TRUE(session.waitForExit(10));
    EXPECT_EQ(session.exitStatus(), 0);
}
