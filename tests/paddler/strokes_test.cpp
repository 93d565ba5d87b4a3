// The stroke machine as a player meets it: the clips a request plays, through the real keyframe clock and
// the frame's update step (which carries out the change of hands); and one step of the canoe's motion.
#include "model_bytes.h"

#include <cmath>

namespace {

// Every clip is 3 frames at 30 a second; frames come every 0.05 s, so a clip lasts two frames.
class Strokes : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(loadDraft(paddlerShapedModel(42, STROKE_CLIP_COUNT, 3), loadPaddlerModel));
        preparePaddler(noBmpTexture, noTgaTexture);
        BinaryReadFile noPaddle("");
        loadPaddleModel(noPaddle);
    }

    struct Press {
        int atStart; // pressed on the first frame of the clip with this place in the sequence
        int stroke, hand;
    };
    // Starts the idle clip of 'side', presses as told and returns the clips started and the paddle's hand
    // on each one's first frame.
    void play(int side, const std::vector<Press>& presses, size_t starts, std::vector<int>& clips,
              std::vector<int>& sides) {
        resetFrameState();
        startClipAfresh(SIDE_CLIPS[side].idle, side);
        double now = 0, started = -1;
        updateFrame(now);
        for (int frame = 0; frame < 200 && clips.size() < starts; ++frame) {
            if (clipClock.clipStartTime != started) {
                started = clipClock.clipStartTime;
                clips.push_back(strokeState.currentClip);
                sides.push_back(strokeState.paddleSide);
                for (const Press& p : presses)
                    if (p.atStart == int(clips.size()) - 1) requestStroke(p.stroke, p.hand);
            }
            updateFrame(now += 0.05);
        }
    }
};

TEST_F(Strokes, RequestsPlayThroughChangesOfHandsAndHolds) {
    struct Case {
        const char* what;
        int side;
        std::vector<Press> presses;
        std::vector<int> clips, sides;
    } cases[] = {
        {"forward on the other side", 1, {{0, 6, 0}}, {1, 24, 26, 6, 6, 6}, {1, 1, 0, 0, 0, 0}},
        {"forward from hand 0", 0, {{0, 0, 1}}, {5, 23, 25, 0, 0}, {0, 0, 1, 1, 1}},
        {"hold, then a stroke", 1, {{0, 7, 1}, {3, 0, 1}}, {1, 7, 8, 8, 9, 0, 0}, {1, 1, 1, 1, 1, 1, 1}},
        {"hold, then the other side",
         1,
         {{0, 7, 1}, {2, 6, 0}},
         {1, 7, 8, 9, 24, 26, 6},
         {1, 1, 1, 1, 1, 0, 0}},
        {"a key in the entry keeps the hold", 1, {{0, 7, 1}, {1, 0, 1}}, {1, 7, 8, 9, 0}, {1, 1, 1, 1, 1}},
        {"the same on hand 0", 0, {{0, 11, 0}, {1, 10, 0}}, {5, 11, 12, 13, 10}, {0, 0, 0, 0, 0}},
        {"idle on hand 0 keeps the hand", 0, {{0, 6, 0}, {1, 5, 0}}, {5, 6, 5, 5}, {0, 0, 0, 0}},
        {"a second key is lost", 1, {{0, 6, 0}, {0, 0, 1}}, {1, 24, 26, 6, 6}, {1, 1, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        std::vector<int> clips, sides;
        play(c.side, c.presses, c.clips.size(), clips, sides);
        EXPECT_EQ(clips, c.clips) << c.what;
        EXPECT_EQ(sides, c.sides) << c.what;
        EXPECT_EQ(strokeState.sideChangeStep, SIDE_CHANGE_NONE) << c.what;
    }
}

TEST(CanoeMotionStep, SpeedAndTurnRateChangePerStep) {
    // One step each: the clip's push, the bounds, the decay of 0.1 and 0.2, and the snap below 0.3 taken
    // before the decay (forward speed, negative turn) or after it (backward speed, positive turn).
    struct Case {
        const char* what;
        float speed, turn;
        int clip;
        float expectSpeed, expectTurn;
    } cases[] = {
        {"forward", 0, 0, 0, 1.9f, 0},
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
        {"negative turn snapped before its decay", 0, -0.35f, 1, 0, float(double(-0.35f) + 0.2)},
    };
    for (const Case& c : cases) {
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
    auto expectTranslation = [](double x, double z, const char* what) {
        EXPECT_NEAR(sceneMatrix.m[12], x, 1e-6) << what;
        EXPECT_NEAR(sceneMatrix.m[13], 0, 1e-12) << what;
        EXPECT_NEAR(sceneMatrix.m[14], z, 1e-6) << what;
    };
    // Half a second at 10 units a second, with the canoe turned 90 degrees: its z is the world's x.
    sceneMatrix = rotationY(90);
    canoeMotion = CanoeMotion{10, 0};
    moveCanoe(0.5);
    expectTranslation(5, 0, "own z");

    // A positive turn rate turns the bow (+z) toward +x, bending this frame's path with it.
    sceneMatrix = Matrix4();
    canoeMotion = CanoeMotion{10, 10};
    moveCanoe(1);
    Vec3 bow(0, 0, 1);
    sceneMatrix.transformDirection(bow);
    EXPECT_NEAR(bow.x, std::sin(10 * M_PI / 180), 1e-6);
    expectTranslation(10 * std::sin(20 * M_PI / 180), 10 * std::cos(20 * M_PI / 180), "bent");
    sceneMatrix = Matrix4();
    canoeMotion = CanoeMotion();
}

} // namespace
