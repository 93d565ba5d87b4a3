// The skin and its drawing: bindings, face flags, blending, the keyframe pose by the clip clock, and what
// the paddler's frame hands to the renderer, recorded without a window (pre-order bones: generated_paddler).
#include "model_bytes.h"
#include "paddler/paddler_frame.h"
#include "paddler/placement.h"

#include <cmath>

namespace {

// Loads 'd' into 'tables' the way start-up does, up to the face records.
void prepare(ModelTables& tables, const DraftModel& d) {
    ASSERT_EQ(loadDraft(d, into(tables.model)), 0);
    tables.vertexCount = tables.model.vertexCount;
    tables.faceCount = tables.model.faceCount;
    tables.records = new TriangleDrawRecord[tables.faceCount];
    tables.slotCount = 1;
    buildFaceRecords(tables);
}

TEST(Skinning, BindingExamplesAndTheCornerWalk) {
    DraftModel d = smallModel();
    setChain(d, 10, 1);
    d.vertices = {blended(0.3f, 1.0f, 0.0f, 4, 7, 0), // 0: the 1.0 in slot 1 wins
                  blended(0.6f, 0.4f, 0.0f, 4, 7, 0), // 1: two bones
                  blended(0.5f, 0.3f, 0.3f, 2, 3, 9), // 2: three bones, as stored
                  blended(0.2f, 0.2f, 1.0f, 1, 2, 8), // 3: the 1.0 in slot 2 wins
                  blended(0.7f, 0.0f, 0.0f, 6, 0, 0), // 4: no second bone: rigid on its first
                  blended(0.7f, 0.0f, 0.0f, 0, 0, 0), // 5: no bone at all: rigid on the root
                  blended(1.0f, 0.0f, 0.0f, 5, 0, 0)};
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
        EXPECT_TRUE(t.records[f].reloadMatrix == reload[f] && t.records[f].rigid == rigid[f]) << f;
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
    ASSERT_EQ(loadDraft(d, into(tables.model)), 0);
    setupSkeleton(&tables.model.roots[0]);
    paddlerClips = tables.model.clips;
    paddlerClipCount = tables.model.clipCount;
    startClipAfresh(1, 1);
    EXPECT_TRUE(clipClock.clipDuration == 1.0 && bones[0].keyTimes[2] == 1.0);
    const struct {
        double elapsed;
        int key;
        double alpha;
    } rows[] = {{0, 0, 0},     {0.3, 0, 0.6}, {0.5, 1, 0}, {0.75, 1, 0.5},   {1.0, 1, 1},
                {0.1, 0, 0.2}, {-0.2, 0, 0},  {1.3, 1, 1}, {0.999, 1, 0.998}};
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

struct Drawn {
    Matrix4 matrix;
    bool alphaTest, textured;
    uint32_t texture;
    Vec3 first; // the first corner under the matrix it was drawn with
};
struct Recording {
    Drawn now{}; // what is in force
    int loads = 0;
    std::vector<Drawn> triangles;
    std::vector<size_t> materialAt; // triangles drawn when a material was set
} rec;

const PaddlerRenderer recorder = {
    [](const Matrix4& m) { rec.now.matrix = m, ++rec.loads; },
    [](const TriangleDrawRecord&) { rec.materialAt.push_back(rec.triangles.size()); },
    [](bool on, uint32_t id) { rec.now.textured = on, rec.now.texture = id; },
    [](bool on) { rec.now.alphaTest = on; },
    [](const SkinVertex* const c[3], bool skinned) {
        rec.triangles.push_back(rec.now);
        rec.triangles.back().first = skinned ? c[0]->skinnedPosition : c[0]->restPosition;
        rec.now.matrix.transformPoint(rec.triangles.back().first);
    },
    [] {}};
const auto bmpId = [](const char*) -> unsigned int { return 7; };
const auto tgaId = [](const char*) -> int { return 9; };

DraftVertex vertex(float x, float y, float z, float w0, int b0, int b1 = 0) {
    return DraftVertex{{x, y, z}, {w0, 1 - w0, 0}, {uint8_t(b0), uint8_t(b1), 0}};
}

class PaddlerFrame : public testing::Test {
  protected:
    Matrix4 placement = translationMatrix(3, -2, -400) * rotationY(35);
    double now = 10;
    // A 42-bone chain whose root turns in clip 1, with faces that exercise every drawing decision.
    void SetUp() override {
        DraftModel d = paddlerShapedModel();
        d.nodes[0].tracks[1] = {{0, 0.3f, 0.2f, 0.1f}, {30, 0.6f, -0.4f, 0.2f}};
        d.nodes[5].tracks[1] = {{0, 0, 0.5f, 0}, {30, 0.4f, 0, 0}};
        d.vertices = {vertex(1, 5, 0, 1, 6),       vertex(0, 6, 1, 1, 6), vertex(1, 6, 0, 1, 6),
                      vertex(0, 6, 2, 0.5f, 6, 7), vertex(1, 7, 0, 1, 7), vertex(0, 7, 1, 1, 7),
                      vertex(1, 7, 1, 1, 7)};
        d.textures = {{"bark", 1, "bark.bmp"}, {"skin", 2, "skin.tga"}};
        d.materials = {{"textured", 0xFF8080FF, 0, 0, 5, {1}},
                       {"alpha-tested", 0xFF80FF80, 0, 0, 5, {2}},
                       {"plain", 0xFFFF8080, 0, 0, 5, {}}};
        d.faces = {faceOf(0, 0, 1, 2),  // rigid on bone 6: the first load
                   faceOf(0, 0, 2, 1),  // the same bone: no load
                   faceOf(0, 0, 1, 3),  // a blended corner: skinned, under the placement
                   faceOf(0, 0, 1, 2),  // rigid after skinned: its bone again, though its flag says keep
                   faceOf(1, 4, 5, 6),  // rigid on bone 7, alpha-tested
                   faceOf(2, 4, 5, 3),  // skinned, plain: alpha test off
                   faceOf(0, 0, 4, 3),  // skinned, with single-bone corners done on the processor
                   faceOf(1, 4, 5, 6)}; // alpha-tested last: the test is switched off after the body
        ASSERT_TRUE(loadDraft(d, loadPaddlerModel));
        preparePaddler(bmpId, tgaId);
        DraftModel p = smallModel();
        p.textures = {{"wood", 5, "wood.bmp"}};
        ASSERT_TRUE(loadDraft(p, loadPaddleModel, "K.pad"));
        preparePaddle(bmpId);
        resetFrameState();
        strokeState = StrokeState();
        startAnimation();
        updateFrame(now);
    }
    void frame() {
        rec = Recording();
        updateFrame(now += 0.3);
        drawPaddlerFrame(placement, recorder);
    }
};

TEST_F(PaddlerFrame, MatricesMaterialsAndAlphaTestPerTriangle) {
    for (int f = 0; f < 2; ++f) {
        frame();
        ASSERT_EQ(rec.triangles.size(), 9u); // the paddle's one, then the body's eight
        const struct {
            int bone; // 0: the placement alone
            bool alphaTest, textured;
        } expect[] = {{6, false, true}, {6, false, true},  {0, false, true}, {6, false, true},
                      {7, true, true},  {0, false, false}, {0, false, true}, {7, true, true}};
        for (int t = 0; t < 8; ++t) {
            const Drawn& body = rec.triangles[t + 1];
            std::string what = "frame " + std::to_string(f) + ", triangle " + std::to_string(t);
            expectNear(body.matrix,
                       placement * (expect[t].bone ? bones[expect[t].bone - 1].skinMatrix : Matrix4()), 1e-12,
                       what);
            EXPECT_TRUE(body.alphaTest == expect[t].alphaTest && body.textured == expect[t].textured) << what;
        }
        EXPECT_TRUE(rec.triangles[1].texture == 7u && rec.triangles[5].texture == 9u);
        // The paddle's material, then the body's at its first triangle of every frame and at each group.
        EXPECT_EQ(rec.materialAt, (std::vector<size_t>{0, 1, 5, 6, 7, 8}));
        EXPECT_EQ(rec.loads, 7); // the paddle's, then one per run of triangles on one matrix
        EXPECT_FALSE(rec.now.alphaTest);
    }
    // Vertex 0 (one bone) in the rigid first triangle and in the skinned third lands in one place, which
    // the bone has moved from where the vertex rests.
    Vec3 atRest(1, 5, 0);
    placement.transformPoint(atRest);
    EXPECT_TRUE(length(rec.triangles[1].first - rec.triangles[3].first) < 1e-9 &&
                length(rec.triangles[1].first - atRest) > 0.5);
}

// In the hand's animated frame the paddle sits at the grip less the hand's rest position (bone b of this
// chain rests b + 1 units up), turned 2 degrees clockwise about its shaft (z), and half round more on side 0.
TEST_F(PaddlerFrame, PaddleFollowsTheHoldingHand) {
    for (int side : {1, 0}) {
        strokeState.paddleSide = side;
        frame();
        expectNear(rec.triangles[0].matrix, placement * paddlePlacement(side, bones), 1e-12, "paddle");
        EXPECT_TRUE(rec.triangles[0].textured && rec.triangles[0].texture == 7u);
        int hand = side == 1 ? PADDLE_BONE_SIDE1 : PADDLE_BONE_SIDE0;
        Matrix4 inHand = invertMatrix(bones[hand].animGlobal) * paddlePlacement(side, bones);
        Matrix4 expected = translationMatrix(side == 1 ? 23.1557 : -22.8511, 41.1324 - (hand + 1), 2.42493) *
                           rotationZ(side == 1 ? -2 : 178);
        expectNear(inHand, expected, 1e-9, "paddle in hand " + std::to_string(side));
    }
}

} // namespace
