// The skeleton and its pose: the bone array's pre-order and rest-pose skinning, the keyframe animation's key
// times and pose as a function of the clip clock, the skin bindings, the face flags and the blending.
#include "model_bytes.h"

#include <cmath>

namespace {

// Loads 'd' into 'tables' the way start-up does, up to the face records.
void prepare(ModelTables& tables, const DraftModel& d) {
    ASSERT_EQ(loadDraft(d, [&](BinaryFile& f) { return loadModel(tables.model, f); }), 0);
    tables.vertexCount = tables.model.vertexCount;
    tables.faceCount = tables.model.faceCount;
    tables.records = new TriangleDrawRecord[tables.faceCount];
    tables.slotCount = 1;
    buildFaceRecords(tables);
}

// Root -> (A -> C, B): bones in pre-order with their parents, rest transforms accumulated down the tree,
// and at rest every skinning matrix is the identity.
TEST(Skeleton, PreOrderAndIdentitySkinningAtRest) {
    ModelTables t;
    prepare(t, smallModel());
    setupSkeleton(&t.model.roots[0]);
    ASSERT_EQ(boneCount, 4);
    const int parent[4] = {-1, 0, 1, 0};
    for (int i = 0; i < boneCount; ++i)
        EXPECT_EQ(bones[i].parentIndex, parent[i]);
    EXPECT_STREQ(bones[2].node->name, "node-C");
    EXPECT_TRUE(bones[2].restGlobal.m[12] == 1 && bones[2].restGlobal.m[13] == 1 &&
                bones[3].restGlobal.m[14] == 1);
    animationOn = false;
    updateHierarchy();
    for (int i = 0; i < boneCount; ++i)
        for (int k = 0; k < 16; ++k)
            EXPECT_NEAR(bones[i].skinMatrix.m[k], k % 5 == 0 ? 1 : 0, 1e-12) << i;
}

TEST(Skinning, BindingExamplesAndTheCornerWalk) {
    DraftModel d = smallModel();
    setChain(d, 10, 1);
    d.vertices = {
        blended(0.3f, 1.0f, 0.0f, 4, 7, 0), // 0: the 1.0 in slot 1 wins
        blended(0.6f, 0.4f, 0.0f, 4, 7, 0), // 1: two bones
        blended(0.5f, 0.3f, 0.3f, 2, 3, 9), // 2: three bones, as stored
        blended(0.2f, 0.2f, 1.0f, 1, 2, 8), // 3: the 1.0 in slot 2 wins
        blended(0.7f, 0.0f, 0.0f, 6, 0, 0), // 4: no second bone: rigid on its first
        blended(0.7f, 0.0f, 0.0f, 0, 0, 0), // 5: no bone at all: rigid on the root
        blended(1.0f, 0.0f, 0.0f, 5, 0, 0),
    };
    d.faces.assign(10, faceOf(0, 1, 0, 2)); // ten faces share vertex 1
    d.faces.push_back(faceOf(0, 3, 4, 5));
    d.faces.push_back(faceOf(0, 6, 1, 0));
    d.faces.back().uv[4] = 0.75f; // a later corner (2, vertex 0) sets its coordinates and normal
    d.faces.back().normal[6] = 1;
    ModelTables t;
    prepare(t, d);
    BlendList list;
    weightPaddlerSkin(t, list);
    struct Expect {
        uint32_t type;
        double w[3];
        uint32_t id[3];
    } expect[] = {{1, {1, 0, 0}, {7, 0, 0}}, {2, {0.6, 0.4, 0}, {4, 7, 0}}, {3, {0.5, 0.3, 0.3}, {2, 3, 9}},
                  {1, {1, 0, 0}, {8, 0, 0}}, {1, {1, 0, 0}, {6, 0, 0}},     {1, {1, 0, 0}, {1, 0, 0}},
                  {1, {1, 0, 0}, {5, 0, 0}}};
    for (int v = 0; v < 7; ++v) {
        const SkinVertex& s = t.skin[v];
        EXPECT_TRUE(s.weighted == 1u && s.bindingType == expect[v].type) << v;
        for (uint32_t j = 0; j < expect[v].type; ++j) {
            EXPECT_FLOAT_EQ(float(s.boneWeight[j]), float(expect[v].w[j])) << v;
            EXPECT_EQ(s.boneId[j], expect[v].id[j]) << v;
        }
    }
    ASSERT_EQ(list.count, 2); // vertex 1 once, however many faces share it
    EXPECT_TRUE(list.vertex[0] == 1 && list.vertex[1] == 2);
    EXPECT_TRUE(t.skin[0].texU == 0.75f && t.skin[0].restNormal.x == 1.0);
    EXPECT_FLOAT_EQ(t.skin[1].texU, 0.1f); // corner 1 of the later face, corner 0 before
}

TEST(Skinning, FaceFlagsForRunsOfRigidFaces) {
    DraftModel d = smallModel();
    setChain(d, 6, 1);
    d.vertices = {vertexAt(0, 0, 0, 5),           vertexAt(1, 0, 0, 5), vertexAt(0, 1, 0, 5),
                  vertexAt(0, 0, 1, 6),           vertexAt(1, 0, 1, 6), vertexAt(0, 1, 1, 6),
                  blended(0.5f, 0.5f, 0, 5, 6, 0)};
    d.faces = {faceOf(0, 0, 1, 2), faceOf(0, 2, 1, 0), faceOf(0, 1, 2, 0), faceOf(0, 3, 4, 5),
               faceOf(0, 0, 3, 6), faceOf(0, 0, 3, 6), faceOf(0, 0, 3, 4)};
    ModelTables t;
    prepare(t, d);
    weightPaddlerSkin(t, blendList);
    markFaceBindings(t);
    const uint32_t reload[] = {1, 0, 0, 1, 1, 1, 1}, rigid[] = {1, 1, 1, 1, 0, 0, 0};
    for (int f = 0; f < 7; ++f) {
        EXPECT_EQ(t.records[f].reloadMatrix, reload[f]) << f;
        EXPECT_EQ(t.records[f].rigid, rigid[f]) << f;
    }
}

TEST(Skinning, PaddleVertexWithoutFullFirstWeightIsReported) {
    DraftModel d = smallModel();
    d.vertices[1] = blended(0.5f, 0.5f, 0, 1, 2, 0);
    ModelTables t;
    prepare(t, d);
    testing::internal::CaptureStdout();
    weightPaddleSkin(t);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "bad texture weighting for paddle   =   0.5\n");
    EXPECT_TRUE(t.skin[1].weighted == 1u && t.skin[1].bindingType == 0u && t.skin[0].bindingType == 1u);
}

TEST(Skinning, BlendingWeighsTheBonesMatricesAndRigidUsesTheFirstBone) {
    static Bone three[3];
    three[0].skinMatrix.m[12] = 10; // translate x
    three[1].skinMatrix.setRotationZ(90);
    three[2].skinMatrix.m[13] = -4;
    SkinVertex skin[3];
    const uint32_t type[3] = {2, 3, 1};
    for (int v = 0; v < 3; ++v) {
        skin[v].restPosition = skin[v].restNormal = Vec3(1, 0, 0);
        skin[v].bindingType = type[v];
        skin[v].boneWeight[0] = 0.25, skin[v].boneWeight[1] = 0.75, skin[v].boneWeight[2] = 0.5; // as stored
        skin[v].boneId[0] = v == 2 ? 2 : 1, skin[v].boneId[1] = 2, skin[v].boneId[2] = 3;
    }
    BlendList list;
    list.count = 2;
    list.vertex[0] = 0, list.vertex[1] = 1;
    skinVertices(skin, list, three);
    skinRigidVertex(skin[2], three);
    const double x[3] = {0.25 * 11, 0.25 * 11 + 0.5, 0}, y[3] = {0.75, 0.75 - 2, 1};
    for (int v = 0; v < 3; ++v)
        EXPECT_TRUE(std::fabs(skin[v].skinnedPosition.x - x[v]) < 1e-6 &&
                    std::fabs(skin[v].skinnedPosition.y - y[v]) < 1e-6)
            << v;
    EXPECT_NEAR(skin[0].skinnedNormal.x, 0.25, 1e-6); // directions ignore the translation
}

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
