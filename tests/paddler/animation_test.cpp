// The keyframe animation's rules: key times and the pose as a function of the clip clock.
#include "model_bytes.h"

namespace {

// Three bones in a chain: the root's keys under test in clip 1 (10 frames at 10 a second, keys at frames 0,
// 5 and 8, and an easy clip 0); bone 1 holds one key, bone 2 none. The last key lands on the clip's end, so
// the keys stand at 0, 0.5 and 1 s. Times out of the clip hold its first or last pose; a clock that goes back
// finds its segment again.
TEST(Animation, PoseIsTheSlerpOfTheKeysAroundTheClipClock) {
    const RotationKey K[3] = {{0, 0.2f, -0.4f, 0.6f}, {5, 1.1f, 0.3f, -0.5f}, {8, -0.7f, 0.9f, 0.1f}};
    static ModelTables tables;
    DraftModel d = smallModel();
    d.clips = {{"easy", 20.0f, 40}, {"under test", 10, 10}};
    d.nodes = {nodeAt("root", 0, 2, 0, {1}), nodeAt("one key", 0, 1, 0, {2}),
               nodeAt("no keys", 0, 1, 0, {}, 2)};
    d.nodes[0].tracks = {{{0, 0, 0, 0}, {40, 0, 0, 1}}, {}};
    for (const RotationKey& k : K)
        d.nodes[0].tracks[1].push_back({k.frame, k.angleX, k.angleY, k.angleZ});
    d.nodes[1].tracks.assign(2, {{0, 0.3f, -0.2f, 0.5f}});
    d.vertices = {vertexAt(0, 0, 0, 1), vertexAt(0, 1, 0, 2), vertexAt(0, 2, 0, 3)};
    ASSERT_EQ(loadDraft(d, [](BinaryFile& f) { return loadModel(tables.model, f); }), 0);
    setupSkeleton(&tables.model.roots[0]);
    paddlerClips = tables.model.clips;
    paddlerClipCount = tables.model.clipCount;
    startClipAfresh(1, 1);
    EXPECT_DOUBLE_EQ(clipClock.clipDuration, 1.0);
    EXPECT_DOUBLE_EQ(bones[0].keyTimes[2], 1.0);
    const struct {
        double elapsed;
        int key;
        double alpha;
    } rows[] = {
        {0, 0, 0},     {0.3, 0, 0.6}, {0.5, 1, 0}, {0.75, 1, 0.5},    {1.0, 1, 1},
        {0.1, 0, 0.2}, {-0.2, 0, 0},  {1.3, 1, 1}, {0.999, 1, 0.998},
    };
    for (const auto& r : rows) {
        clipClock.clipElapsed = r.elapsed;
        updateHierarchy();
        const RotationKey &a = K[r.key], &b = K[r.key + 1];
        Quaternion q = slerpQuaternion(eulerToQuaternion(a.angleX, a.angleY, a.angleZ),
                                       eulerToQuaternion(b.angleX, b.angleY, b.angleZ), r.alpha);
        expectNear(bones[0].animLocal, bones[0].restLocal * quaternionToMatrix(q), 1e-9, "pose");
    }
    // The one-key bone shows its key; the keyless bone keeps its rest transform; each bone's animated
    // matrix is its parent's times its own.
    expectNear(bones[1].animLocal,
               bones[1].restLocal * quaternionToMatrix(eulerToQuaternion(0.3f, -0.2f, 0.5f)), 1e-6,
               "one key");
    expectNear(bones[2].animLocal, bones[2].restLocal, 0, "no keys");
    expectNear(bones[2].animGlobal, bones[0].animLocal * bones[1].animLocal * bones[2].animLocal, 1e-12,
               "chain");
}

} // namespace
