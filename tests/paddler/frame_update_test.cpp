// The frame's update step on a fake clock, with the generated paddler's clips: the strokes, the glide and
// the turns come out alike from 3 to 240 frames a second, clips keep their rhythm, and the clock's
// misbehaviour (a step back, a stall) does no harm.
#include "model_bytes.h"

#include <cmath>
#include <cstdio>

namespace {

const SideClips& RIGHT = SIDE_CLIPS[0];
const SideClips& LEFT = SIDE_CLIPS[1];

double headingDegrees() {
    Vec3 bow(0, 0, 1);
    sceneMatrix.transformDirection(bow);
    return std::atan2(bow.x, bow.z) / DEGREES_TO_RADIANS;
}
Vec3 canoePlace() {
    return Vec3(sceneMatrix.m[12], sceneMatrix.m[13], sceneMatrix.m[14]);
}
double distance(const Vec3& a, const Vec3& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.z - b.z) * (a.z - b.z));
}

class FrameUpdate : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        BinaryReadFile file((std::string(CANOE_RUN_DIR) + "/K.man").c_str());
        ASSERT_TRUE(loadPaddlerModel(file)) << "the build writes the run folder before the tests";
        preparePaddler(noBmpTexture, noTgaTexture);
    }
    // Frames come at exact multiples of 1 / fps from a clock reading of 1000; clip 'clip' starts at the
    // first frame with the paddle in 'side's hand.
    double fps = 60;
    int frame = 0;
    void begin(int clip, int side, double rate) {
        resetFrameState();
        startClipAfresh(clip, side);
        fps = rate;
        frame = 0;
        updateFrame(1000);
    }
    double now() const { return frame / fps; }
    void next() { updateFrame(1000 + ++frame / fps); }
    void runUntil(double t) {
        while (now() < t - 1e-9)
            next();
    }
    // Frames until the canoe has stopped moving and turning; false if it never does within 30 s.
    bool runToRest() {
        for (double end = now() + 30; now() < end;) {
            next();
            if (canoeMotion.canoeSpeed == 0 && canoeMotion.canoeTurnRate == 0) return true;
        }
        return false;
    }
};

// Five forward strokes of 1.6 s end at 8 s, and two turning strokes of 1.5 s at 3 s: times that fall on
// a frame at every rate below, so the glide and the drift are measured from the strokes' very end.
TEST_F(FrameUpdate, GlideAndDriftAreTheSameAtEveryFrameRate) {
    const double rates[] = {60, 3, 7, 15, 30, 144, 240};
    double glide60 = 0, glideTime60 = 0, drift60 = 0;
    std::printf("%8s %12s %14s %14s\n", "fps", "top speed at", "glide", "drift");
    for (double rate : rates) {
        begin(RIGHT.forward, 0, rate);
        double topSpeedAt = -1;
        while (now() < 7) {
            next();
            if (topSpeedAt < 0 && canoeMotion.canoeSpeed == 20) topSpeedAt = now();
        }
        requestStroke(RIGHT.idle, 0);
        runUntil(8);
        EXPECT_EQ(strokeState.currentClip, RIGHT.idle) << rate << " fps: the fifth stroke ends at 8 s";
        Vec3 stopped = canoePlace();
        double stopTime = now();
        ASSERT_TRUE(runToRest()) << rate;
        double glide = distance(canoePlace(), stopped), glideTime = now() - stopTime;

        begin(LEFT.turningStroke, 1, rate);
        runUntil(2);
        requestStroke(LEFT.idle, 1);
        runUntil(3);
        double turned = headingDegrees();
        ASSERT_TRUE(runToRest()) << rate;
        double drift = headingDegrees() - turned;

        std::printf("%8.0f %10.3f s %8.2f in %.2f s %12.2f deg\n", rate, topSpeedAt, glide, glideTime, drift);
        if (rate == 60) {
            // A 60 fps frame is one rate step, as the motion rules count them: 11 frames to top speed
            // (1.9 a frame); 197 frames of glide, each 0.1 slower, the first at 19.9 and the last at 0;
            // 99 of drift, each 0.2 degrees a second slower.
            EXPECT_NEAR(topSpeedAt, 11 / 60.0, 1e-9);
            EXPECT_NEAR(glideTime, 197 / 60.0, 1e-9);
            EXPECT_NEAR(glide, (196 * 20 - 0.1 * 196 * 197 / 2) / 60, 1e-3);
            EXPECT_NEAR(drift, (98 * 20 - 0.2 * 98 * 99 / 2) / 60, 1e-3);
            glide60 = glide;
            glideTime60 = glideTime;
            drift60 = drift;
        } else {
            EXPECT_NEAR(glide, glide60, 0.03 * glide60) << rate << " fps";
            EXPECT_NEAR(drift, drift60, 0.03 * drift60) << rate << " fps";
            EXPECT_NEAR(glideTime, glideTime60, 1 / 60.0 + 1 / rate) << rate << " fps";
        }
    }
}

TEST_F(FrameUpdate, StrokesRepeatAtTheirOwnLength) {
    for (double rate : {3.0, 7.0, 15.0, 30.0, 60.0, 144.0, 240.0}) {
        begin(RIGHT.forward, 0, rate);
        double length = clipClock.clipDuration, started = clipClock.clipStartTime;
        for (int k = 1; k <= 4; ++k) {
            while (clipClock.clipStartTime == started)
                next();
            started = clipClock.clipStartTime;
            // The frame that shows the k-th repeat comes within one frame of k lengths, and shows it
            // from the time it began, not from that frame.
            EXPECT_GE(now(), k * length - 1e-9) << rate << " fps";
            EXPECT_LT(now(), k * length + 1 / rate) << rate << " fps";
            EXPECT_NEAR(started, k * length, 1e-9) << rate << " fps";
            EXPECT_NEAR(clipClock.clipElapsed, now() - k * length, 1e-9) << rate << " fps";
        }
    }
}

TEST_F(FrameUpdate, AClockThatStepsBackOrStallsDoesNoHarm) {
    begin(RIGHT.forward, 0, 60);
    runUntil(3);
    double z = canoePlace().z, scene = frameClock.sceneTime;
    // Ten seconds back: no time passes, the canoe stays, and the pose stays within the clip.
    updateFrame(1000 + 3 - 10);
    EXPECT_EQ(canoePlace().z, z);
    EXPECT_EQ(frameClock.sceneTime, scene);
    EXPECT_GE(clipClock.clipElapsed, 0);
    EXPECT_LE(clipClock.clipElapsed, clipClock.clipDuration);
    // From there the clock runs on as before.
    updateFrame(1000 + 3 - 10 + 1 / 60.0);
    EXPECT_GT(canoePlace().z, z);
    EXPECT_NEAR(frameClock.sceneTime, scene + 1 / 60.0, 1e-9);
    // A stall of 10 s counts as half a second: at 20 units a second, 10 units.
    z = canoePlace().z;
    scene = frameClock.sceneTime;
    updateFrame(1000 + 3 - 10 + 1 / 60.0 + 10);
    EXPECT_NEAR(frameClock.sceneTime, scene + LONGEST_FRAME_GAP, 1e-9);
    EXPECT_NEAR(canoePlace().z - z, 20 * LONGEST_FRAME_GAP, 0.01);
}

} // namespace
