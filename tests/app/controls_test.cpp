// Controls and counters: the stroke keys, view drags (eight pixels a degree, pitch held within its limits,
// heading never wrapped), and the frames-per-second figure.
#include "app/controls.h"
#include "app/counters.h"
#include "scene/view.h"
#include "paddler/strokes.h"

#include <GL/freeglut.h>

#include <gtest/gtest.h>

TEST(Controls, DragTurnsTheViewAndHoldsThePitch) {
    struct Case {
        float pitch, heading;
        int fromX, fromY, toX, toY;
        float expectPitch, expectHeading;
    } cases[] = {
        {0, 40, 100, 100, 180, 140, 5, 50},                // right and down: both rise
        {0, 40, 500, 500, 180, 500, 0, 0},                 // 320 pixels left: 40 degrees
        {-85, 40, 0, 100, 0, 20, -89.99999237060547f, 40}, // would reach -95: held short of -90
        {85, 40, 0, 0, 0, 80, 90, 40},                     // would reach 95: held at 90
        {0, 350, 0, 0, 160, 0, 0, 370},                    // the heading is never wrapped
    };
    for (const Case& c : cases) {
        cameraPitch = c.pitch;
        cameraHeading = c.heading;
        lastMouseX = static_cast<float>(c.fromX);
        lastMouseY = static_cast<float>(c.fromY);
        turnView(c.toX, c.toY);
        EXPECT_TRUE(cameraPitch == c.expectPitch && cameraHeading == c.expectHeading)
            << cameraPitch << ", " << cameraHeading;
        EXPECT_TRUE(lastMouseX == float(c.toX) && lastMouseY == float(c.toY));
    }
    cameraPitch = 0;
    cameraHeading = 40;
}

int redisplays = 0;

// Each stroke key queues its clip and asks for a frame; a key for the hand without the paddle marks a
// change of hands; upper case and other keys queue nothing. While a stroke waits, a second key is lost.
TEST(Controls, StrokeKeysQueueTheirClipsForTheirHands) {
    strokeRedisplay = [] { ++redisplays; };
    struct Case {
        const char* what;
        int key; // a letter, or a special key when 'special'
        bool special;
        int side, expectStroke, expectChange;
    } cases[] = {{"w", 'w', false, 1, 6, -5},
                 {"w on hand 0", 'w', false, 0, 6, -1},
                 {"s", 's', false, 0, 10, -1},
                 {"a", 'a', false, 0, 14, -1},
                 {"d", 'd', false, 1, 11, -5},
                 {"up", GLUT_KEY_UP, true, 1, 0, -1},
                 {"up on hand 0", GLUT_KEY_UP, true, 0, 0, -5},
                 {"down", GLUT_KEY_DOWN, true, 1, 4, -1},
                 {"left", GLUT_KEY_LEFT, true, 1, 7, -1},
                 {"right", GLUT_KEY_RIGHT, true, 0, 3, -5},
                 {"space on hand 1", ' ', false, 1, 1, -1},
                 {"space on hand 0", ' ', false, 0, 5, -1},
                 {"W", 'W', false, 1, -1, -1},
                 {"x", 'x', false, 0, -1, -1},
                 {"page up", GLUT_KEY_PAGE_UP, true, 1, -1, -1}};
    for (const Case& c : cases) {
        strokeState = StrokeState();
        strokeState.paddleSide = c.side;
        redisplays = 0;
        for (int press = 0; press < 2; press++) // the second press must change nothing
            if (c.special)
                specialKeyPressed(c.key);
            else
                keyPressed(static_cast<unsigned char>(c.key));
        EXPECT_EQ(strokeState.queuedStroke, c.expectStroke) << c.what;
        EXPECT_EQ(strokeState.sideChangeStep, c.expectChange) << c.what;
        EXPECT_EQ(redisplays, c.expectStroke >= 0 ? 1 : 0) << c.what;
    }
    strokeState = StrokeState();
    strokeRedisplay = [] {};
}

// The figure is the frames of the last interval of at least a second, not divided by it.
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
    } cases[] = {{"the first frame shows one", {}, 1, 1},
                 {"at most one change a second", nine, 1, 1},
                 {"a frame exactly a second on counts", {0.5, 1.0}, 2, 2},
                 {"ten frames over 2.5 s show 10, not 4", then(nine, {2.5}), 10, 10},
                 {"and keep it for the next frame", then(nine, {2.5, 2.6}), 10, 10},
                 {"sixty a second settle at 60 or 61", sixtyASecond, 60, 61}};
    for (const auto& c : cases) {
        frameCounter = shownFps = 0;
        lastFpsTime = 0.0;
        countFrame(1.7e9);
        EXPECT_EQ(lastFpsTime, 1.7e9) << c.what;
        for (double t : c.frames)
            countFrame(1.7e9 + t);
        EXPECT_TRUE(shownFps >= c.low && shownFps <= c.high) << c.what << ": " << shownFps;
    }
}
