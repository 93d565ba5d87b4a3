// The frames-per-second figure: frames of the last interval of at least a second, not divided by it.
#include "app/counters.h"

#include <gtest/gtest.h>

#include <vector>

TEST(Counters, FigureIsTheFramesOfTheLastIntervalOfAtLeastASecond) {
    std::vector<double> sixtyASecond, nine = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9};
    for (int frame = 1; frame <= 600; ++frame)
        sixtyASecond.push_back(frame / 60.0);
    auto then = [](std::vector<double> frames, std::vector<double> more) {
        frames.insert(frames.end(), more.begin(), more.end());
        return frames;
    };
    const struct {
        const char* what;
        std::vector<double> frames; // seconds after a first frame at 1.7e9
        int low, high;              // the figure after the last frame
    } cases[] = {
        {"the first frame shows one", {}, 1, 1},
        {"at most one change a second", nine, 1, 1},
        {"a frame exactly a second on counts", {0.5, 1.0}, 2, 2},
        {"ten frames over 2.5 s show 10, not 4", then(nine, {2.5}), 10, 10},
        {"and keep it for the next frame", then(nine, {2.5, 2.6}), 10, 10},
        {"sixty a second settle at 60 or 61", sixtyASecond, 60, 61},
    };
    for (const auto& c : cases) {
        frameCounter = shownFps = 0;
        lastFpsTime = 0.0;
        countFrame(1.7e9);
        EXPECT_EQ(lastFpsTime, 1.7e9) << c.what;
        for (double t : c.frames)
            countFrame(1.7e9 + t);
        EXPECT_GE(shownFps, c.low) << c.what;
        EXPECT_LE(shownFps, c.high) << c.what;
    }
}
