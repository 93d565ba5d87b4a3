// View drags: eight pixels a degree, pitch held within its limits, heading never wrapped.
#include "app/controls.h"
#include "app/view.h"

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
        EXPECT_EQ(cameraPitch, c.expectPitch);
        EXPECT_EQ(cameraHeading, c.expectHeading);
        EXPECT_EQ(lastMouseX, static_cast<float>(c.toX));
        EXPECT_EQ(lastMouseY, static_cast<float>(c.toY));
    }
    cameraPitch = 0;
    cameraHeading = 40;
}
