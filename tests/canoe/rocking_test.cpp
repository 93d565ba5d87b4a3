// The rocking clock and tables: 20 samples a second for 60 samples, a 3-second cycle, a level first
// frame, and no division by a zero count.
#include "canoe/rocking.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

void setUpRocking(int n) {
    strokeSamples.sampleCount = n;
    rockLastTime = 0.0;
    rockPosition = 0.0;
    rockIndex = 0;
    initRocking();
}

TEST(Rocking, TablesFollowHalfASine) {
    setUpRocking(60);
    EXPECT_EQ(rockMode, 1);
    EXPECT_DOUBLE_EQ(rockRate, 20.0);
    EXPECT_DOUBLE_EQ(rockPitchTable[0], 0.0);
    EXPECT_NEAR(rockPitchTable[30], -1.0, 1e-9); // the middle of the cycle
    EXPECT_NEAR(rockRollTable[30], -10.0, 1e-8);
    EXPECT_NEAR(rockRollTable[15], -10.0 * std::sin(M_PI / 4), 1e-6);
    EXPECT_DOUBLE_EQ(rockPitchTable[60], 0.0); // beyond the count: untouched
}

TEST(Rocking, SixtySamplesStepTwentyASecondAndWrapAfterThreeSeconds) {
    setUpRocking(60);
    const double start = 1024.0; // times that doubles hold exactly
    struct Step {
        double time;
        int index;
    } steps[] = {
        {start, 0}, // the first frame only starts the clock: level
        {start + 0.125, 2},   {start + 0.5, 10},  {start + 1.0, 20},
        {start + 2.9375, 58}, {start + 3.0, 0},   // a whole cycle
        {start + 3.5, 10},    {start + 10.0, 20}, // 200 samples: 3 cycles and 20
    };
    for (const Step& s : steps) {
        advanceRockingAt(s.time);
        EXPECT_EQ(rockIndex, s.index) << s.time - start;
        EXPECT_GE(rockPosition, 0.0);
        EXPECT_LT(rockPosition, 60.0);
    }
}

TEST(Rocking, FractionsCarryOverBetweenFrames) {
    setUpRocking(60);
    advanceRockingAt(500.0);
    for (int i = 1; i <= 10; i++)
        advanceRockingAt(500.0 + 0.01 * i); // 0.2 samples per frame
    EXPECT_EQ(rockIndex, 2);
}

TEST(Rocking, ClockGoingBackwardsStaysInsideTheTable) {
    setUpRocking(60);
    advanceRockingAt(500.0);
    advanceRockingAt(499.0); // -20 samples
    EXPECT_GE(rockIndex, 0);
    EXPECT_LT(rockIndex, 60);
    EXPECT_EQ(rockIndex, 40);
}

TEST(Rocking, WithoutSamplesTheCanoeHoldsLevel) {
    for (int n : {0, -3, 5000}) {
        setUpRocking(n);
        advanceRockingAt(100.0);
        advanceRockingAt(101.5);
        EXPECT_EQ(rockIndex, 0) << n;
        EXPECT_DOUBLE_EQ(rockPitchTable[0], 0.0);
        EXPECT_DOUBLE_EQ(rockRollTable[0], 0.0);
    }
}

TEST(Rocking, OneSampleIsAlwaysSampleZero) {
    setUpRocking(1);
    advanceRockingAt(10.0);
    advanceRockingAt(12.7);
    EXPECT_EQ(rockIndex, 0);
}

} // namespace
