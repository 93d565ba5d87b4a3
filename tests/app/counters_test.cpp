// The frames-per-second figure: frames of the last interval of at least a second.
#include "app/counters.h"

#include <gtest/gtest.h>

static void resetCounters() {
    frameCounter = 0;
    shownFps = 0;
    lastFpsTime = 0.0;
}

TEST(Counters, FirstFrameShowsOne) {
    resetCounters();
    countFrame(1.7e9);
    EXPECT_EQ(shownFps, 1);
    EXPECT_EQ(frameCounter, 0);
    EXPECT_EQ(lastFpsTime, 1.7e9);
}

TEST(Counters, SixtyFramesASecondSettleAtSixtyOrSixtyOne) {
    resetCounters();
    double start = 1.7e9;
    countFrame(start);
    for (int frame = 1; frame <= 600; ++frame) {
        countFrame(start + frame / 60.0);
        if (frame > 70) {
            EXPECT_GE(shownFps, 60);
            EXPECT_LE(shownFps, 61);
        }
    }
}

TEST(Counters, FigureChangesAtMostOnceASecondAndIsNotDividedByTheInterval) {
    resetCounters();
    double start = 1000.0;
    countFrame(start);
    // Ten frames over 2.5 seconds: the update at 2.5 s shows 10, not 4.
    for (int frame = 1; frame <= 9; ++frame)
        countFrame(start + 0.1 * frame);
    EXPECT_EQ(shownFps, 1);
    countFrame(start + 2.5);
    EXPECT_EQ(shownFps, 10);
    countFrame(start + 2.6);
    EXPECT_EQ(shownFps, 10);
}
