// The stroke machine as a player meets it, through the real keyframe clock and the frame's update step;
// the canoe's motion step by step; and the update step on a fake clock with the generated paddler's clips:
// motion alike from 3 to 240 frames a second, clips in their rhythm, no harm from a clock that misbehaves.
#include "model_bytes.h"

#include <cmath>

namespace {

// From the idle clip of a side, the keys pressed on the first frame of the clip with a given place in the
// sequence; the clips started, each with the paddle's hand on its first frame. Every clip is 3 frames at
// 30 a second and frames come every 0.05 s, so a clip lasts two frames.
TEST(Strokes, RequestsPlayThroughChangesOfHandsAndHolds) {
    ASSERT_TRUE(loadDraft(paddlerShapedModel(42, STROKE_CLIP_COUNT, 3), loadPaddlerModel));
    preparePaddler(noBmpTexture, noTgaTexture);
    BinaryReadFile noPaddle("");
    loadPaddleModel(noPaddle);
    struct Press {
        int atStart, stroke, hand;
    };
    const struct {
        const char* what;
        int side;
        std::vector<Press> presses;
        std::vector<int> clips, sides;
    } cases[] = {
        {"forward on the other side", 1, {{0, 6, 0}}, {1, 24, 26, 6, 6, 6}, {1, 1, 0, 0, 0, 0}},
        {"forward from hand 0", 0, {{0, 0, 1}}, {5, 23, 25, 0, 0}, {0, 0, 1, 1, 1}},
        {"hold, then a stroke", 1, {{0, 7, 1}, {3, 0, 1}}, {1, 7, 8, 8, 9, 0, 0}, {1, 1, 1, 1, 1, 1, 1}},
        {"hold, then hand 0", 1, {{0, 7, 1}, {2, 6, 0}}, {1, 7, 8, 9, 24, 26, 6}, {1, 1, 1, 1, 1, 0, 0}},
        {"a key in the entry keeps the hold", 1, {{0, 7, 1}, {1, 0, 1}}, {1, 7, 8, 9, 0}, {1, 1, 1, 1, 1}},
        {"the same on hand 0", 0, {{0, 11, 0}, {1, 10, 0}}, {5, 11, 12, 13, 10}, {0, 0, 0, 0, 0}},
        {"idle on hand 0 keeps the hand", 0, {{0, 6, 0}, {1, 5, 0}}, {5, 6, 5, 5}, {0, 0, 0, 0}},
        {"a second key is lost", 1, {{0, 6, 0}, {0, 0, 1}}, {1, 24, 26, 6, 6}, {1, 1, 0, 0, 0}}};
    for (const auto& c : cases) {
        std::vector<int> clips, sides;
        resetFrameState();
        startClipAfresh(SIDE_CLIPS[c.side].idle, c.side);
        double now = 0, started = -1;
        updateFrame(now);
        for (int frame = 0; frame < 200 && clips.size() < c.clips.size(); ++frame) {
            if (clipClock.clipStartTime != started) {
                started = clipClock.clipStartTime;
                clips.push_back(strokeState.currentClip);
                sides.push_back(strokeState.paddleSide);
                for (const Press& p : c.presses)
                    if (p.atStart == int(clips.size()) - 1) requestStroke(p.stroke, p.hand);
            }
            updateFrame(now += 0.05);
        }
        EXPECT_EQ(clips, c.clips) << c.what;
        EXPECT_EQ(sides, c.sides) << c.what;
        EXPECT_EQ(strokeState.sideChangeStep, SIDE_CHANGE_NONE) << c.what;
    }
}

TEST(CanoeMotionStep, SpeedAndTurnRateChangePerStep) {
    // One step each: the clip's push, the bounds, the decay of 0.1 and 0.2, and the snap below 0.3 taken
    // before the decay (forward speed, negative turn) or after it (backward speed, positive turn).
    const struct {
        const char* what;
        float speed, turn;
        int clip;
        float expectSpeed, expectTurn;
    } cases[] = {{"forward", 0, 0, 0, 1.9f, 0},
                 {"top speed", 19.5f, 0, 6, 20, 0},
                 {"backward to the bound", -19.5f, 0, 10, -20, 0},
                 {"positive turns", 0, 19, 3, 0, 20},
                 {"positive hold", 0, 1, 12, 0, 2.8f},
                 {"negative turns", 0, -19, 14, 0, -20},
                 {"negative hold", 0, 0, 8, 0, -1.8f},
                 {"decay", 5, 5, 1, 4.9f, 4.8f},
                 {"decay below zero", -5, -5, 5, -4.9f, -4.8f},
                 {"speed snapped before its decay", 0.35f, 0, 4, float(double(0.35f - 0.1f) - 1.9), 0},
                 {"small speeds stop", 0.35f, 0, 1, 0, 0},
                 {"small backward speeds stop", -0.35f, 0, 1, 0, 0},
                 {"turn decayed before its snap", 0, 0.35f, 8, 0, -1.8f},
                 {"negative turn snapped before its decay", 0, -0.35f, 1, 0, float(double(-0.35f) + 0.2)}};
    for (const auto& c : cases) {
        canoeMotion = CanoeMotion{c.speed, c.turn};
        changeCanoeRates(c.clip);
        EXPECT_FLOAT_EQ(canoeMotion.canoeSpeed, c.expectSpeed) << c.what;
        EXPECT_FLOAT_EQ(canoeMotion.canoeTurnRate, c.expectTurn) << c.what;
    }
    // Only the last case's small negative turn survives one step; the next takes it to 0.
    changeCanoeRates(1);
    EXPECT_EQ(canoeMotion.canoeTurnRate, 0);
    canoeMotion = CanoeMotion();
}

TEST(CanoeMotionStep, MovesAlongAndTurnsAboutTheCanoesOwnAxes) {
    auto place = [] { return Vec3(sceneMatrix.m[12], sceneMatrix.m[13], sceneMatrix.m[14]); };
    // Half a second at 10 units a second, with the canoe turned 90 degrees: its z is the world's x.
    sceneMatrix = rotationY(90);
    canoeMotion = CanoeMotion{10, 0};
    moveCanoe(0.5);
    EXPECT_LT(length(place() - Vec3(5, 0, 0)), 1e-6);

    // A positive turn rate turns the bow (+z) toward +x, bending this frame's path with it.
    sceneMatrix = Matrix4();
    canoeMotion = CanoeMotion{10, 10};
    moveCanoe(1);
    Vec3 bow(0, 0, 1);
    sceneMatrix.transformDirection(bow);
    EXPECT_NEAR(bow.x, std::sin(10 * M_PI / 180), 1e-6);
    EXPECT_LT(length(place() - Vec3(10 * std::sin(20 * M_PI / 180), 0, 10 * std::cos(20 * M_PI / 180))),
              1e-6);
    sceneMatrix = Matrix4();
    canoeMotion = CanoeMotion();
}

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

// Five forward strokes of 1.6 s end at 8 s and two turning strokes of 1.5 s at 3 s, on a frame at every
// rate. The frame that shows the k-th repeat of the stroke comes within a frame of k lengths, and shows it
// from the time it began. A 60 fps frame is one rate step: 11 frames to top speed (1.9 a frame); 197
// frames of glide, each 0.1 slower, from 19.9 to 0; 99 of drift, each 0.2 degrees a second slower. Other
// rates come within 3 %.
TEST_F(FrameUpdate, StrokesGlideAndDriftAreTheSameAtEveryFrameRate) {
    const double glide60 = (196 * 20 - 0.1 * 196 * 197 / 2) / 60,
                 drift60 = (98 * 20 - 0.2 * 98 * 99 / 2) / 60;
    for (double rate : {60, 3, 7, 15, 30, 144, 240}) {
        SCOPED_TRACE(testing::Message() << rate << " fps");
        begin(RIGHT.forward, 0, rate);
        double stroke = clipClock.clipDuration, started = clipClock.clipStartTime, topSpeedAt = -1;
        int k = 1;
        while (now() < 7) {
            next();
            if (topSpeedAt < 0 && canoeMotion.canoeSpeed == 20) topSpeedAt = now();
            if (clipClock.clipStartTime == started) continue;
            started = clipClock.clipStartTime;
            EXPECT_TRUE(now() >= k * stroke - 1e-9 && now() < k * stroke + 1 / rate) << now();
            EXPECT_NEAR(started, k * stroke, 1e-9);
            EXPECT_NEAR(clipClock.clipElapsed, now() - k * stroke, 1e-9);
            ++k;
        }
        EXPECT_EQ(k, 5) << "four repeats by 7 s";
        requestStroke(RIGHT.idle, 0);
        runUntil(8);
        EXPECT_EQ(strokeState.currentClip, RIGHT.idle) << "the fifth stroke ends at 8 s";
        Vec3 stopped = canoePlace();
        double stopTime = now();
        ASSERT_TRUE(runToRest());
        double glide = length(canoePlace() - stopped), glideTime = now() - stopTime;

        begin(LEFT.turningStroke, 1, rate);
        runUntil(2);
        requestStroke(LEFT.idle, 1);
        runUntil(3);
        double turned = headingDegrees();
        ASSERT_TRUE(runToRest());
        double drift = headingDegrees() - turned;

        EXPECT_TRUE(rate != 60 || std::fabs(topSpeedAt - 11 / 60.0) < 1e-9) << "top speed at " << topSpeedAt;
        EXPECT_NEAR(glideTime, 197 / 60.0, rate == 60 ? 1e-9 : 1 / 60.0 + 1 / rate);
        EXPECT_NEAR(glide, glide60, rate == 60 ? 1e-3 : 0.03 * glide60);
        EXPECT_NEAR(drift, drift60, rate == 60 ? 1e-3 : 0.03 * drift60);
    }
}

TEST_F(FrameUpdate, AClockThatStepsBackOrStallsDoesNoHarm) {
    begin(RIGHT.forward, 0, 60);
    runUntil(3);
    double z = canoePlace().z, scene = frameClock.sceneTime;
    // Ten seconds back: no time passes, the canoe stays, and the pose stays within the clip.
    updateFrame(1000 + 3 - 10);
    EXPECT_TRUE(canoePlace().z == z && frameClock.sceneTime == scene);
    EXPECT_TRUE(clipClock.clipElapsed >= 0 && clipClock.clipElapsed <= clipClock.clipDuration);
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
