// The keyframe animation's rules: key times, the 0.004 s step, one key a frame, the clip end and the
// next-clip choice.
#include "model_bytes.h"

namespace {

int moves = 0, lastMoveClip = -1, choices = 0, bonesVisitedAtChoice = -1, nextClip = -1;
void countMove(int clip) {
    ++moves;
    lastMoveClip = clip;
}
void countChoice() {
    ++choices;
    bonesVisitedAtChoice = boneVisitCounter;
    if (nextClip >= 0) strokeState.requestedClip = nextClip;
}

const RotationKey K[3] = {{0, 0.2f, -0.4f, 0.6f}, {5, 1.1f, 0.3f, -0.5f}, {10, -0.7f, 0.9f, 0.1f}};

void expectNear(const Matrix4& a, const Matrix4& b, double tolerance, const char* what) {
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(a.m[k], b.m[k], tolerance) << what << " element " << k;
}

// Three bones in a chain: the root carries the keys under test (clip 1) and an easy clip 0; bone 1
// holds one key; bone 2 has no keys.
class Animation : public testing::Test {
  protected:
    ModelTables tables;
    // Clip 1 is 10 frames at 10 a second; by default the root's keys there are K0, K1 and K2.
    void load(std::vector<DraftKey> rootKeys = {}, int frameCount = 10) {
        if (rootKeys.empty())
            for (const RotationKey& k : K)
                rootKeys.push_back({k.frame, k.angleX, k.angleY, k.angleZ});
        DraftModel d = smallModel();
        d.clips = {{"easy", 20.0f, 40}, {"under test", 10, frameCount}};
        d.nodes = {nodeAt("root", 0, 2, 0, {1}), nodeAt("one key", 0, 1, 0, {2}),
                   nodeAt("no keys", 0, 1, 0, {}, 2)};
        d.nodes[0].tracks = {{{0, 0, 0, 0}, {40, 0, 0, 1}}, rootKeys};
        d.nodes[1].tracks.assign(2, {{0, 0.3f, 0, 0}});
        d.vertices = {vertexAt(0, 0, 0, 1), vertexAt(0, 1, 0, 2), vertexAt(0, 2, 0, 3)};
        ASSERT_EQ(loadDraft(d, [this](BinaryFile& f) { return loadModel(tables.model, f); }), 0);
        setupSkeleton(&tables.model.roots[0]);
        paddlerClips = tables.model.clips;
        paddlerClipCount = tables.model.clipCount;
        moves = choices = 0;
        bonesVisitedAtChoice = lastMoveClip = nextClip = -1;
        startClipAfresh(1, 1);
    }
    void frameAt(double t) {
        testNow = t;
        poseSkeleton();
    }
    // The root's pose this frame: its rest transform, then 'rotation'.
    void expectRootPose(const Matrix4& rotation, double tolerance, const char* what) {
        expectNear(bones[0].animLocal, bones[0].restLocal * rotation, tolerance, what);
    }
    TestAnimationHooks hooks{{testClock, countMove, countChoice}};
};

Matrix4 slerpPose(const RotationKey& a, const RotationKey& b, double alpha) {
    return quaternionToMatrix(slerpQuaternion(eulerToQuaternion(a.angleX, a.angleY, a.angleZ),
                                              eulerToQuaternion(b.angleX, b.angleY, b.angleZ), alpha));
}

TEST_F(Animation, FirstFrameShowsKeyZeroThenKeysStepPast4Milliseconds) {
    load();
    EXPECT_DOUBLE_EQ(clipClock.clipDuration, 1.0);
    frameAt(100);
    expectRootPose(keyPoseMatrix(K[0]), 1e-12, "root");
    EXPECT_DOUBLE_EQ(clipClock.clipStartTime, 100);
    EXPECT_TRUE(moves == 1 && lastMoveClip == 1);
    // The one-key bone shows its key; the keyless bone keeps its rest transform.
    Matrix4 one = bones[1].restLocal * keyPoseMatrix(RotationKey{0, 0.3f, 0, 0});
    expectNear(bones[1].animLocal, one, 1e-12, "one key");
    expectNear(bones[2].animLocal, bones[2].restLocal, 0, "no keys");

    // The key steps only once the next key is passed by 4 milliseconds.
    struct Step {
        double elapsed;
        int key;
        double alpha;
    } steps[] = {
        {0.3, 0, 0.6},
        {0.5035, 0, 1.0}, // between 0.5 and 0.504: segment 0's end
        {0.5045, 1, 0.009},
        {0.999, 1, 0.998},
    };
    for (const Step& s : steps) {
        frameAt(100 + s.elapsed);
        EXPECT_EQ(bones[0].currentKey, s.key) << s.elapsed;
        expectRootPose(slerpPose(K[s.key], K[s.key + 1], s.alpha), 1e-6, "pose");
        // The one-key bone holds its pose; the keyless one never moves its key index.
        EXPECT_TRUE(bones[1].currentKey == 0 && bones[2].currentKey == 0);
    }
    EXPECT_EQ(choices, 0);
}

TEST_F(Animation, SlowFramesCatchUpWithTheClockAndNeverOvershootAKey) {
    load({{0, 0, 0, 0}, {2, 0, 0, 0.2f}, {4, 0, 0, 0.4f}, {6, 0, 0, 0.6f}, {10, 0, 0, 1.0f}});
    // Keys at 0, 0.2, 0.4, 0.6 and 1.0 s. Frames from 3 a second down to one that skips three keys.
    struct Frame {
        double at;
        int key;
        RotationKey from, to;
        double alpha;
    } frames[] = {
        {0.202, 0, {0, 0, 0, 0}, {2, 0, 0, 0.2f}, 1.0},    // 2 ms past key 1: held at its pose, not beyond
        {0.7, 3, {6, 0, 0, 0.6f}, {10, 0, 0, 1.0f}, 0.25}, // three keys passed in one frame
    };
    frameAt(50);
    for (const Frame& f : frames) {
        frameAt(50 + f.at);
        EXPECT_EQ(bones[0].currentKey, f.key) << f.at;
        expectRootPose(slerpPose(f.from, f.to, f.alpha), 1e-6, "slow frame");
    }
}

TEST_F(Animation, LastKeyLandsOnTheClipsEnd) {
    load({{0, 0, 0, 0}, {3, 0, 0, 1.0f}}); // the last key's frame is 3 of 10
    frameAt(7);
    EXPECT_DOUBLE_EQ(bones[0].keyTimes[1], 1.0);
    frameAt(7.5);
    expectRootPose(slerpPose(RotationKey{0, 0, 0, 0}, RotationKey{3, 0, 0, 1.0f}, 0.5), 1e-9, "half");
}

TEST_F(Animation, ClipEndShowsLastKeysAndChoosesOnTheLastBoneOnly) {
    load();
    nextClip = 0;
    frameAt(10);
    frameAt(10.4);
    EXPECT_EQ(moves, 2);
    frameAt(11.2); // past the end
    EXPECT_EQ(choices, 1);
    EXPECT_EQ(bonesVisitedAtChoice, 3); // the last bone's step
    expectRootPose(keyPoseMatrix(K[2]), 1e-12, "last key");
    EXPECT_EQ(strokeState.currentClip, 0);
    EXPECT_DOUBLE_EQ(clipClock.clipDuration, 2.0); // clip 0: 40 frames at 20 per second
    frameAt(15); // a long pause: the new clip starts from its first key, clock restarted here
    EXPECT_DOUBLE_EQ(clipClock.clipStartTime, 15);
    expectRootPose(Matrix4(), 1e-12, "first key of clip 0");
    EXPECT_EQ(choices, 1);
    frameAt(16);
    expectRootPose(slerpPose(RotationKey{0, 0, 0, 0}, RotationKey{40, 0, 0, 1}, 0.5), 1e-6, "clip 0");
}

} // namespace
