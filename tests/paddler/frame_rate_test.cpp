// The generated paddler at the frame rates people get, from a software renderer's 3 a second to 60: on
// every frame of every clip the strokes play, the free hand stays on the paddle's shaft.
#include "paddler/placement.h"
#include "model_bytes.h"

#include <cmath>

namespace {

void replay() {}

TEST(FrameRates, FreeHandStaysOnTheShaftOnEveryFrame) {
    BinaryReadFile file((std::string(CANOE_RUN_DIR) + "/K.man").c_str());
    ASSERT_TRUE(loadPaddlerModel(file)) << "the build writes the run folder before the tests";
    preparePaddler(noBmpTexture, noTgaTexture);
    TestAnimationHooks hooks({testClock, canoeStaysPut, replay});
    // Each clip with the hand that holds the paddle while it plays.
    const int clips[][2] = {{0, 1}, {1, 1}, {3, 1},  {4, 1},  {7, 1},  {8, 1},  {9, 1},  {24, 1}, {25, 1},
                            {5, 0}, {6, 0}, {10, 0}, {11, 0}, {12, 0}, {13, 0}, {14, 0}, {23, 0}, {26, 0}};
    for (double fps : {3.0, 6.0, 10.0, 30.0, 60.0})
        for (double phase : {0.0, 0.5}) // frames on and between the keys' times
            for (const auto& c : clips) {
                startClipAfresh(c[0], c[1]);
                testNow = 1000;
                poseSkeleton();
                double worst = 0;
                for (testNow += phase / fps; bones[0].clipState == 1; testNow += 1 / fps) {
                    poseSkeleton();
                    Matrix4 toPaddle = invertMatrix(paddlePlacement(c[1], bones));
                    const Matrix4& free = bones[c[1] == 1 ? PADDLE_BONE_SIDE0 : PADDLE_BONE_SIDE1].animGlobal;
                    Vec3 hand(free.m[12], free.m[13], free.m[14]);
                    toPaddle.transformPoint(hand); // the shaft is the paddle's z axis
                    worst = std::fmax(worst, std::hypot(hand.x, hand.y));
                }
                EXPECT_LT(worst, 2.5) << "clip " << c[0] << " at " << fps << " frames a second";
            }
}

} // namespace
