// The paddler's models at start-up: the program runs with the generated "K.man" and "K.pad", stops
// with status 1 without a usable paddler, and runs on without the paddle.
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

TEST(PaddlerModels, MissingOrDamagedPaddlerEndsStartUpWithStatus1) {
    for (int damaged = 0; damaged < 2; ++damaged) {
        e2e::Session session;
        std::string path = session.folder() + "/K.man";
        if (damaged) {
            std::ofstream(path, std::ios::binary | std::ios::trunc) << "arg00 is not enough";
        } else {
            std::remove(path.c_str());
        }
        ASSERT_TRUE(session.start());
        ASSERT_TRUE(session.waitForExit(30)) << session.console();
        EXPECT_EQ(session.exitStatus(), 1);
        EXPECT_NE(session.console().find("K.man"), std::string::npos) << session.console();
    }
}

TEST(PaddlerModels, MissingPaddleLeavesItOut) {
    e2e::Session session;
    std::remove((session.folder() + "/K.pad").c_str());
    ASSERT_TRUE(session.start());
    ASSERT_TRUE(session.waitForWindow()) << session.console();
    session.sleep(2.0);
    EXPECT_TRUE(session.running());
    EXPECT_NE(session.console().find("K.pad"), std::string::npos) << session.console();
    session.key("Escape");
    ASSERT_TRUE(session.waitForExit(10));
    EXPECT_EQ(session.exitStatus(), 0);
}
