// The rocking clock and tables: 20 samples a second for 60 samples, a 3-second cycle, a level first
// frame, and no division by a zero count.
#include "canoe/rocking.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

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

// Each row starts the clock afresh at 'times[0]' (that first frame only starts it: level) and steps
// through the rest; the index after the last step must be 'index'.
TEST(Rocking, StepsByTheClockAndWraps) {
    const double start = 1024.0; // times that doubles hold exactly
    const struct {
        const char* what;
        int n;
        std::vector<double> times;
        int index;
    } cases[] = {
        {"20 samples a second", 60, {0, 0.125}, 2},
        {"end of the cycle", 60, {0, 2.9375}, 58},
        {"a whole cycle", 60, {0, 3.0}, 0},
        {"200 samples: 3 cycles and 20", 60, {0, 10.0}, 20},
        {"fractions carry over (7 x 0.3125)",
         60,
         {0, .015625, .03125, .046875, .0625, .078125, .09375, .109375},
         2},
        {"the clock going backwards", 60, {0, -1.0}, 40},
        {"no samples", 0, {0, 1.5}, 0},
        {"too many samples", 5000, {0, 1.5}, 0},
    };
    for (const auto& c : cases) {
        setUpRocking(c.n);
        for (double t : c.times)
            advanceRockingAt(start + t);
        EXPECT_EQ(rockIndex, c.index) << c.what;
        EXPECT_GE(rockPosition, 0.0) << c.what;
        EXPECT_LT(rockPosition, std::max(c.n, 1)) << c.what;
    }
}

} // namespace
