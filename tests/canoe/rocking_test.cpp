// The rocking's tables and its sample by the scene's time: 20 samples a second for 60 samples, a 3-second
// cycle from sample 0, and no division by a zero count.
#include "canoe/rocking.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

void setUpRocking(int n) {
    strokeSamples.sampleCount = n;
    rockIndex = 0;
    initRocking();
}

TEST(Rocking, TablesFollowHalfASineAndTheSampleTheScenesTime) {
    setUpRocking(60);
    EXPECT_TRUE(rockMode == 1 && rockRate == 20.0);
    EXPECT_DOUBLE_EQ(rockPitchTable[0], 0.0);
    EXPECT_NEAR(rockPitchTable[30], -1.0, 1e-9); // the middle of the cycle
    EXPECT_NEAR(rockRollTable[30], -10.0, 1e-8);
    EXPECT_NEAR(rockRollTable[15], -10.0 * std::sin(M_PI / 4), 1e-6);
    EXPECT_DOUBLE_EQ(rockPitchTable[60], 0.0); // beyond the count: untouched
    const struct {
        const char* what;
        int n;
        double t;
        int index;
    } cases[] = {
        {"the first frame", 60, 0, 0},
        {"20 samples a second", 60, 0.125, 2},
        {"end of the cycle", 60, 2.9375, 58},
        {"a whole cycle", 60, 3.0, 0},
        {"200 samples: 3 cycles and 20", 60, 10.0, 20},
        {"no samples", 0, 1.5, 0},
        {"too many samples", 5000, 1.5, 0},
    };
    for (const auto& c : cases) {
        setUpRocking(c.n);
        advanceRockingAt(c.t);
        EXPECT_EQ(rockIndex, c.index) << c.what;
    }
}

} // namespace
