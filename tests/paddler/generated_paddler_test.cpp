// The generated "K.man" and "K.pad" of the run folder: they load, and their skeleton and clips fit
// where the scene puts the paddler (rest hands, kneeling height) and keep both hands on the paddle.
#include "scene/clock.h"
#include "paddler/animation.h"
#include "paddler/model_tables.h"
#include "paddler/placement.h"
#include "paddler/skeleton.h"
#include "paddler/strokes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

double clock = 0;
double now() {
    return clock;
}
void noMove(int) {}
void keepClip() {}

class GeneratedPaddler : public testing::Test {
  protected:
    void SetUp() override {
        BinaryReadFile file((std::string(CANOE_RUN_DIR) + "/K.man").c_str());
        if (!file.isOpen()) GTEST_SKIP() << "no generated run folder at " << CANOE_RUN_DIR;
        ASSERT_TRUE(loadPaddlerModel(file));
        setupSkeleton(&paddler.model.roots[0]);
        buildFaceRecords(paddler);
        weightPaddlerSkin(paddler, blendList);
        markFaceBindings(paddler);
        paddlerClips = paddler.model.clips;
        paddlerClipCount = paddler.model.clipCount;
        animationHooks = AnimationHooks{now, noMove, keepClip};
    }
    void TearDown() override { animationHooks = AnimationHooks{wallClockSeconds, moveCanoe, chooseNextClip}; }

    // Plays 'clip' from its start up to 'fraction' of its length.
    void poseAt(int clip, double fraction) {
        strokeState = StrokeState();
        strokeState.currentClip = strokeState.requestedClip = clip;
        clipClock = ClipClock();
        for (int i = 0; i < boneCount; ++i)
            bones[i].clipState = -1;
        startAnimation();
        clock = 1000;
        poseSkeleton();
        // Frames of 1/100 s: the key index moves at most one key a frame.
        double end = 1000 + fraction * clipClock.clipDuration;
        while (clock < end) {
            clock = std::fmin(end, clock + 0.01);
            poseSkeleton();
        }
    }
    Matrix4 paddlePlacement(int side) { return ::paddlePlacement(side, bones); }
};

// Lowest and highest rest position of the model's vertices along 'axis' (0, 1, 2: x, y, z).
void range(const ModelTables& t, int axis, double& low, double& high) {
    low = 1e9, high = -1e9;
    for (int v = 0; v < t.vertexCount; ++v) {
        const Vec3& p = t.skin[v].restPosition;
        double c = axis == 0 ? p.x : axis == 1 ? p.y : p.z;
        low = std::fmin(low, c), high = std::fmax(high, c);
    }
}

TEST_F(GeneratedPaddler, ModelsFitTheScene) {
    EXPECT_EQ(boneCount, 54);
    EXPECT_EQ(paddlerClipCount, 27);
    const double left[3] = {23.1557, 41.1324, 2.42493}, right[3] = {-22.8511, 41.1324, 2.42493};
    poseAt(1, 0);
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(bones[41].restGlobal.m[12 + k], left[k], 1e-4);
        EXPECT_NEAR(bones[22].restGlobal.m[12 + k], right[k], 1e-4);
    }
    double low, high;
    range(paddler, 1, low, high);
    EXPECT_NEAR(low, 14.5, 1.0);  // the shins rest on the hull floor
    EXPECT_NEAR(high, 66.0, 1.0); // the top of the head
    EXPECT_GT(blendList.count, 50);
    int rigid = 0;
    for (int f = 0; f < paddler.faceCount; ++f)
        rigid += paddler.records[f].rigid;
    EXPECT_GT(rigid, paddler.faceCount / 3);

    BinaryReadFile file((std::string(CANOE_RUN_DIR) + "/K.pad").c_str());
    ASSERT_TRUE(loadPaddleModel(file));
    buildFaceRecords(paddle);
    testing::internal::CaptureStdout();
    weightPaddleSkin(paddle);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    ASSERT_EQ(paddle.model.textureCount, 1);
    EXPECT_TRUE(pathEndsWith(paddle.model.textures[0].path, ".bmp"));
    range(paddle, 2, low, high);
    EXPECT_LT(low, -25); // the blade toward -z
    EXPECT_GT(high, 19); // the grip toward +z
}

// With the paddle drawn in the lower hand, the other hand stays on the shaft between the blade and
// the grip, at the keys and between them.
TEST_F(GeneratedPaddler, BothHandsStayOnThePaddle) {
    struct Clip {
        int clip, side;
    } clips[] = {{0, 1}, {1, 1}, {3, 1},  {4, 1},  {7, 1},  {8, 1},  {9, 1},  {24, 1}, {25, 1},
                 {5, 0}, {6, 0}, {10, 0}, {11, 0}, {12, 0}, {13, 0}, {14, 0}, {23, 0}, {26, 0}};
    for (const Clip& c : clips) {
        for (int step = 0; step <= 40; ++step) {
            poseAt(c.clip, step / 40.0 * 0.999);
            Matrix4 inverse = invertMatrix(paddlePlacement(c.side));
            const Matrix4& hand = bones[c.side == 1 ? 22 : 41].animGlobal;
            Vec3 other(hand.m[12], hand.m[13], hand.m[14]);
            inverse.transformPoint(other); // in paddle space: the shaft is the z axis
            double offShaft = std::sqrt(other.x * other.x + other.y * other.y);
            EXPECT_LT(offShaft, 2.5) << "clip " << c.clip << " at " << step / 40.0;
            EXPECT_GT(other.z, -1.0) << "clip " << c.clip;
            EXPECT_LT(other.z, 20.0) << "clip " << c.clip;
        }
    }
}

TEST_F(GeneratedPaddler, ClipsJoinWithoutJumps) {
    // Each side's clips start and end in its ready pose; the change of hands meets at the switch.
    struct Join {
        int endClip, endSide, startClip, startSide;
    } joins[] = {{0, 1, 1, 1},   {1, 1, 0, 1}, {3, 1, 1, 1},  {4, 1, 1, 1},  {9, 1, 1, 1},  {25, 1, 1, 1},
                 {6, 0, 5, 0},   {5, 0, 6, 0}, {14, 0, 5, 0}, {13, 0, 5, 0}, {26, 0, 5, 0}, {24, 1, 26, 0},
                 {23, 0, 25, 1}, {7, 1, 8, 1}, {8, 1, 9, 1},  {1, 1, 24, 1}, {5, 0, 23, 0}};
    for (const Join& j : joins) {
        poseAt(j.endClip, 0.99999);
        Matrix4 end = paddlePlacement(j.endSide);
        poseAt(j.startClip, 0);
        Matrix4 start = paddlePlacement(j.startSide);
        for (int k = 0; k < 16; ++k)
            EXPECT_NEAR(end.m[k], start.m[k], 0.05) << j.endClip << " -> " << j.startClip;
    }
}

} // namespace
