// The keyframe animation's rules: key times and the pose as a function of the clip clock.
#include "model_bytes.h"

namespace {

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
        startClipAfresh(1, 1);
    }
    void poseAt(double elapsed) {
        clipClock.clipElapsed = elapsed;
        updateHierarchy();
    }
    // The root's pose this frame: its rest transform, then 'rotation'.
    void expectRootPose(const Matrix4& rotation, double tolerance, const char* what) {
        expectNear(bones[0].animLocal, bones[0].restLocal * rotation, tolerance, what);
    }
};

Matrix4 slerpPose(const RotationKey& a, const RotationKey& b, double alpha) {
    return quaternionToMatrix(slerpQuaternion(eulerToQuaternion(a.angleX, a.angleY, a.angleZ),
                                              eulerToQuaternion(b.angleX, b.angleY, b.angleZ), alpha));
}

TEST_F(Animation, PoseIsTheSlerpOfTheKeysAroundTheClipClock) {
    load();
    EXPECT_DOUBLE_EQ(clipClock.clipDuration, 1.0);
    // Keys at 0, 0.5 and 1 s. Times out of the clip hold its first or last pose; a clock that goes back
    // finds its segment again.
    struct Row {
        double elapsed;
        int key;
        double alpha;
    } rows[] = {
        {0, 0, 0},     {0.3, 0, 0.6}, {0.5, 1, 0}, {0.75, 1, 0.5},    {1.0, 1, 1},
        {0.1, 0, 0.2}, {-0.2, 0, 0},  {1.3, 1, 1}, {0.999, 1, 0.998},
    };
    for (const Row& r : rows) {
        poseAt(r.elapsed);
        expectRootPose(slerpPose(K[r.key], K[r.key + 1], r.alpha), 1e-9, "pose");
    }
    // The one-key bone shows its key; the keyless bone keeps its rest transform.
    Matrix4 one = bones[1].restLocal * keyPoseMatrix(RotationKey{0, 0.3f, 0, 0});
    expectNear(bones[1].animLocal, one, 1e-12, "one key");
    expectNear(bones[2].animLocal, bones[2].restLocal, 0, "no keys");
    // The hierarchy: each bone's animated matrix is its parent's times its own.
    expectNear(bones[2].animGlobal, bones[0].animLocal * bones[1].animLocal * bones[2].animLocal, 1e-12,
               "chain");
}

TEST_F(Animation, LastKeyLandsOnTheClipsEnd) {
    load({{0, 0, 0, 0}, {3, 0, 0, 1.0f}}); // the last key's frame is 3 of 10
    EXPECT_DOUBLE_EQ(bones[0].keyTimes[1], 1.0);
    poseAt(0.5);
    expectRootPose(slerpPose(RotationKey{0, 0, 0, 0}, RotationKey{3, 0, 0, 1.0f}, 0.5), 1e-9, "half");
}

} // namespace
